#include "unrar_client.h"

#include <cstring>

namespace tw::test {
namespace {

// The callbacks are plain functions; one run at a time records through these.
RunResult* current = nullptr;
const RunOptions* currentOptions = nullptr;
std::size_t askIndex = 0;

int OnVolume(char* name, int mode) {
    current->volumeCalls.push_back({name, mode});
    if (mode != RAR_VOL_ASK)
        return 1;
    if (askIndex >= currentOptions->askAnswers.size())
        return 0;
    const auto& [answer, path] = currentOptions->askAnswers[askIndex++];
    if (!path.empty())
        std::strcpy(name, path.c_str());
    return answer;
}

int OnData(unsigned char* data, int size) {
    current->data.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
    return currentOptions->stopData ? 0 : 1;
}

} // namespace

RunResult RunArchive(const std::filesystem::path& archive, const RunOptions& options) {
    RunResult result;
    current = &result;
    currentOptions = &options;
    askIndex = 0;
    std::string name = archive.string();
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = options.openMode;
    void* handle = RAROpenArchive(&open);
    result.openResult = open.OpenResult;
    if (handle == nullptr)
        return result;
    RARSetChangeVolProc(handle, &OnVolume);
    if (options.dataCallback)
        RARSetProcessDataProc(handle, &OnData);
    std::string password = options.password.value_or("");
    if (options.password)
        RARSetPassword(handle, password.data());
    std::string destination = options.destination ? options.destination->string() + "/" : "";
    RARHeaderData header{};
    while ((result.endResult = RARReadHeader(handle, &header)) == ERAR_SUCCESS) {
        ListedEntry entry{
            header.ArcName, header.FileName, header.Flags,    header.PackSize, header.UnpSize,
            header.HostOS,  header.FileCRC,  header.FileTime, header.FileAttr, -1};
        entry.processResult = RARProcessFile(
            handle, options.operation, options.destination ? destination.data() : nullptr, nullptr);
        result.entries.push_back(entry);
    }
    RARCloseArchive(handle);
    current = nullptr;
    return result;
}

std::string RarFormatName(const testing::TestParamInfo<RarFormat>& info) {
    return info.param == RarFormat::Rar4 ? "Rar4" : "Rar5";
}

std::vector<std::string> Names(const RunResult& result) {
    std::vector<std::string> names;
    for (const auto& entry : result.entries)
        names.push_back(entry.name);
    return names;
}

} // namespace tw::test
