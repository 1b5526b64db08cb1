// The library reads archives by path, so every input is written to a file of its own folder;
// volume names derived from it then point at files that do not exist.
#include "unrar.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        char folder[] = "/tmp/fuzz-unrar-XXXXXX";
        if (mkdtemp(folder) == nullptr)
            std::abort();
        return std::string(folder) + "/input.rar";
    }();
    return path;
}

int AnswerVolume(char*, int mode) {
    return mode == RAR_VOL_NOTIFY ? 1 : 0;
}

int TakeData(unsigned char*, int) {
    return 1;
}

void Walk(unsigned mode, int operation) {
    std::string name = InputPath();
    RAROpenArchiveData open{};
    char comment[256];
    open.ArcName = name.data();
    open.OpenMode = mode;
    open.CmtBuf = comment;
    open.CmtBufSize = sizeof comment;
    void* handle = RAROpenArchive(&open);
    if (handle == nullptr)
        return;
    RARSetChangeVolProc(handle, &AnswerVolume);
    RARSetProcessDataProc(handle, &TakeData);
    char password[] = "password";
    RARSetPassword(handle, password);
    RARHeaderData header{};
    // Every header either ends the walk or moves past at least one block, so this terminates.
    while (RARReadHeader(handle, &header) == ERAR_SUCCESS)
        if (RARProcessFile(handle, operation, nullptr, nullptr) != ERAR_SUCCESS &&
            operation == RAR_SKIP)
            break;
    RARCloseArchive(handle);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    Walk(RAR_OM_LIST, RAR_SKIP);
    Walk(RAR_OM_EXTRACT, RAR_TEST);
    return 0;
}
