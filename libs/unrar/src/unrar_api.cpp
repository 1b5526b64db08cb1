// The C interface: no exception crosses it, every failure is a result code.
#include "archive_comment.h"
#include "archive_handle.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

using unrar::ArchiveHandle;

namespace {

ArchiveHandle* HandleOf(void* handle) {
    return static_cast<ArchiveHandle*>(handle);
}

void CopyComment(RAROpenArchiveData& data, const std::string& volume) {
    if (data.CmtBuf == nullptr || data.CmtBufSize == 0)
        return;
    // One byte more than fits tells a cut comment from one that fills the buffer exactly.
    const auto comment = unrar::ReadArchiveComment(volume, data.CmtBufSize);
    if (!comment)
        return;
    const std::size_t length = std::min<std::size_t>(comment->size(), data.CmtBufSize - 1);
    std::memcpy(data.CmtBuf, comment->data(), length);
    data.CmtBuf[length] = 0;
    data.CmtSize = static_cast<unsigned>(length + 1);
    data.CmtState = length < comment->size() ? ERAR_SMALL_BUF : 1;
}

template <typename Call> int Guarded(Call call) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return ERAR_NO_MEMORY;
    } catch (...) {
        return ERAR_UNKNOWN;
    }
}

} // namespace

extern "C" {

void* RAROpenArchive(struct RAROpenArchiveData* data) {
    if (data == nullptr)
        return nullptr;
    data->CmtSize = 0;
    data->CmtState = 0;
    if (data->ArcName == nullptr || data->OpenMode > RAR_OM_LIST_INCSPLIT) {
        data->OpenResult = ERAR_EOPEN;
        return nullptr;
    }
    ArchiveHandle* handle = nullptr;
    const int result = Guarded([&] {
        auto created = std::make_unique<ArchiveHandle>(data->OpenMode);
        if (const int opened = created->Open(data->ArcName))
            return opened;
        CopyComment(*data, created->FirstVolume());
        handle = created.release();
        return ERAR_SUCCESS;
    });
    data->OpenResult = static_cast<unsigned>(result);
    return handle;
}

int RARCloseArchive(void* handle) {
    if (handle == nullptr)
        return ERAR_ECLOSE;
    delete HandleOf(handle);
    return ERAR_SUCCESS;
}

int RARReadHeader(void* handle, struct RARHeaderData* record) {
    if (handle == nullptr || record == nullptr)
        return ERAR_UNKNOWN;
    return Guarded([&] { return HandleOf(handle)->ReadHeader(*record); });
}

int RARProcessFile(void* handle, int operation, char* destPath, char* destName) {
    if (handle == nullptr)
        return ERAR_UNKNOWN;
    return Guarded([&] { return HandleOf(handle)->ProcessFile(operation, destPath, destName); });
}

void RARSetChangeVolProc(void* handle, CHANGEVOLPROC callback) {
    if (handle != nullptr)
        HandleOf(handle)->SetVolumeCallback(callback);
}

void RARSetProcessDataProc(void* handle, PROCESSDATAPROC callback) {
    if (handle != nullptr)
        HandleOf(handle)->SetDataCallback(callback);
}

void RARSetPassword(void* handle, char* password) {
    if (handle != nullptr)
        Guarded([&] {
            HandleOf(handle)->SetPassword(password);
            return ERAR_SUCCESS;
        });
}

int RARGetDllVersion(void) {
    return RAR_DLL_VERSION;
}

} // extern "C"
