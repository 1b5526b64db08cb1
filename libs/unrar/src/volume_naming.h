#pragma once

#include <string>

namespace unrar {

// The name of the volume after `path`, by the set's numbering. New numbering counts the last
// group of digits in the file name up, keeping its width and growing only past all nines
// (a.part1.rar, a.part2.rar; b.part09.rar, b.part10.rar). Old numbering goes a.rar, a.r00 ...
// a.r99, a.s00. A self-extracting first volume (.exe, .sfx) counts as .rar.
std::string NextVolumeName(const std::string& path, bool newNumbering);

} // namespace unrar
