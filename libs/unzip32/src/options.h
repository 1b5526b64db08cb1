#pragma once

#include "unzip32.h"

#include <optional>
#include <string>
#include <vector>

namespace unzip32 {

enum class Mode { List, Test, Extract };

// The caller's records, read once into values the rest of the library can trust.
struct RunOptions {
    Mode mode = Mode::Extract;
    bool onlyNewer = false;
    bool spaceToUnderscore = false;
    bool promptToOverwrite = false;
    bool quiet = false;
    bool freshen = false;
    bool showComment = false;
    bool recreateFolders = true;
    bool alwaysOverwrite = false;
    bool caseInsensitive = false;
    std::string archivePath;
    std::string destination;
    std::vector<std::string> includeNames;
    std::vector<std::string> excludeNames;
};

// Nothing when the records cannot be used (null pointers, unsupported options).
std::optional<RunOptions> ReadOptions(int includeCount, char** includeNames, int excludeCount,
                                      char** excludeNames, const UZOPTIONS* options);

} // namespace unzip32
