#pragma once

#include <cstdint>

namespace unacev2 {

// Blowfish's initial state as ACE uses it: the standard table except for three words of S0.
extern const std::uint32_t kBlowfishInitialP[18];
extern const std::uint32_t kBlowfishInitialS0[256];
extern const std::uint32_t kBlowfishInitialS1[256];
extern const std::uint32_t kBlowfishInitialS2[256];
extern const std::uint32_t kBlowfishInitialS3[256];

} // namespace unacev2
