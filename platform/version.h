#pragma once

#include <string>

namespace platform {

// "ProductVersion" of the program's version resource, block 040904B0 ("2, 7, 0, 0").
std::string ProductVersionResource();

// The version text by the program's rule: "." after the first character, then every "," and
// blank removed, then the first four characters ("2, 7, 0, 0" gives "2.70"; "" stays "").
std::string DeriveVersionText(const std::string& productVersion);

// DeriveVersionText(ProductVersionResource()).
std::string ProgramVersion();

} // namespace platform
