#include "options.h"

namespace unzip32 {
namespace {

bool ReadNames(int count, char** names, std::vector<std::string>& out) {
    if (count <= 0)
        return true;
    if (names == nullptr)
        return false;
    for (int i = 0; i < count; ++i)
        if (names[i] != nullptr && names[i][0] != '\0')
            out.emplace_back(names[i]);
    return true;
}

} // namespace

std::optional<RunOptions> ReadOptions(int includeCount, char** includeNames, int excludeCount,
                                      char** excludeNames, const UZOPTIONS* options) {
    if (options == nullptr || options->archivePath == nullptr || options->writeToStdout != 0)
        return std::nullopt;
    RunOptions run;
    run.mode = options->test ? Mode::Test : (options->list ? Mode::List : Mode::Extract);
    run.onlyNewer = options->extractOnlyNewer != 0;
    run.spaceToUnderscore = options->spaceToUnderscore != 0;
    run.promptToOverwrite = options->promptToOverwrite != 0;
    run.quiet = options->quietLevel != 0;
    run.freshen = options->freshen != 0;
    run.showComment = options->showComment != 0;
    run.recreateFolders = options->recreateFolders != 0;
    run.alwaysOverwrite = options->alwaysOverwrite != 0;
    run.caseInsensitive = options->caseInsensitive != 0;
    run.archivePath = options->archivePath;
    if (options->destination != nullptr)
        run.destination = options->destination;
    if (!ReadNames(includeCount, includeNames, run.includeNames) ||
        !ReadNames(excludeCount, excludeNames, run.excludeNames))
        return std::nullopt;
    return run;
}

} // namespace unzip32
