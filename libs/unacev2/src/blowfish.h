#pragma once

#include <cstddef>
#include <cstdint>

namespace unacev2 {

// Blowfish as ACE uses it: 16 rounds and the standard key schedule, but ACE's altered first
// S-box, and blocks read as two little-endian words.
class AceBlowfish {
public:
    // Keys P with the five key words (P[i] ^= key[i mod 5]), then runs the usual schedule.
    explicit AceBlowfish(const std::uint32_t key[5]);

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

private:
    std::uint32_t F(std::uint32_t x) const {
        return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) +
               s_[3][x & 0xFF];
    }

    std::uint32_t p_[18];
    std::uint32_t s_[4][256];
};

// ACE's key derivation: one SHA-1 compression of the padded password with SHA-0's message
// expansion (no rotate), words read little-endian. At most 50 password bytes count.
void AceDeriveKey(const std::uint8_t* password, std::size_t size, std::uint32_t digest[5]);

// CBC decryption with a zero IV that runs on across calls (a split file's parts form one
// chain). Works on whole 8-byte blocks.
class AceCbcDecryptor {
public:
    AceCbcDecryptor(const std::uint8_t* password, std::size_t size);
    void Reset() { ivLeft_ = ivRight_ = 0; }
    // size must be a multiple of 8.
    void Decrypt(std::uint8_t* data, std::size_t size);

private:
    AceBlowfish cipher_;
    std::uint32_t ivLeft_ = 0;
    std::uint32_t ivRight_ = 0;
};

} // namespace unacev2
