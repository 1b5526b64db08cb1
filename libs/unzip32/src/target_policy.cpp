#include "target_policy.h"

#include <vector>

namespace unzip32 {
namespace {

// DOS times have a two-second grain; a file written from the same entry must not look older.
constexpr std::time_t kTimeGrain = 2;

bool ReplaceConfirmed(USERFUNCTIONS* functions, const std::string& entryName) {
    if (functions == nullptr || functions->replace == nullptr)
        return false;
    std::vector<char> name(entryName.begin(), entryName.end());
    name.push_back('\0');
    return functions->replace(name.data()) != 0;
}

} // namespace

TargetDecision DecideTarget(const RunOptions& options, const twlib::DestinationFolder& destination,
                            const std::string& outputPath, std::time_t entryModified,
                            USERFUNCTIONS* functions, const std::string& entryName) {
    const std::time_t existing = destination.ModificationTime(outputPath);
    if (existing == -1)
        return options.freshen ? TargetDecision::SkipQuietly : TargetDecision::Write;
    if (options.onlyNewer || options.freshen)
        return entryModified != -1 && entryModified >= existing + kTimeGrain
                   ? TargetDecision::Replace
                   : TargetDecision::KeepNewer;
    if (options.alwaysOverwrite)
        return TargetDecision::Replace;
    if (options.promptToOverwrite && ReplaceConfirmed(functions, entryName))
        return TargetDecision::Replace;
    return TargetDecision::KeepExisting;
}

} // namespace unzip32
