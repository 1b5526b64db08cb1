#include "engines/rar_engine.h"

#include "archives/naming.h"
#include "engines/engine_conventions.h"
#include "engines/password_protocol.h"
#include "extract/reporting.h"
#include "extract/run_state.h"

#include <array>
#include <cstring>
#include <string>
#include <unrar.h>

namespace {

constexpr unsigned kCommentBufferSize = 16384;
constexpr unsigned kFolderAttribute = 0x10;

PasswordCache rarPasswords;
std::array<char, kCommentBufferSize> commentBuffer;

QString OpenResultText(unsigned result) {
    switch (result) {
    case ERAR_NO_MEMORY:
        return "Not enough memory";
    case ERAR_BAD_DATA:
        return "Archive header broken";
    case ERAR_BAD_ARCHIVE:
        return "File is not a valid archive";
    case ERAR_EOPEN:
        return "File open error";
    default:
        return {};
    }
}

QString ProcessResultText(int result) {
    switch (result) {
    case ERAR_BAD_DATA:
        return "Archive header broken";
    case ERAR_BAD_ARCHIVE:
        return "File is not a valid archive";
    case ERAR_UNKNOWN_FORMAT:
        return "Unknown archive format";
    case ERAR_EOPEN:
        return "Volume open error";
    case ERAR_ECLOSE:
        return "File close error";
    case ERAR_EREAD:
        return "Read error";
    case ERAR_EWRITE:
        return "Write error";
    default:
        return {};
    }
}

int VolumeRoutine(char* archiveName, int mode) {
    const QString name = QString::fromUtf8(archiveName);
    if (mode == RAR_VOL_ASK) {
        if (FileExists(name))
            return 1;
        ReportError(FileNameOf(name), "Cannot find archive");
        return 0;
    }
    if (mode == RAR_VOL_NOTIFY)
        ReportArchive(name, "");
    return 1;
}

} // namespace

RarEngine& TheRarEngine() {
    static RarEngine engine;
    return engine;
}

bool RarEngine::Load() {
    library_ = platform::LoadLibrary("UNRAR.DLL");
    if (!library_)
        return false;
    setProcessDataProc_ = platform::GetProcAddress(library_, "RARSetProcessDataProc");
    const bool all = platform::ResolveProc(library_, "RAROpenArchive", openArchive_) &
                     platform::ResolveProc(library_, "RARCloseArchive", closeArchive_) &
                     platform::ResolveProc(library_, "RARReadHeader", readHeader_) &
                     platform::ResolveProc(library_, "RARProcessFile", processFile_) &
                     platform::ResolveProc(library_, "RARSetChangeVolProc", setChangeVolProc_) &
                     platform::ResolveProc(library_, "RARSetPassword", setPassword_);
    loaded_ = all;
    return loaded_;
}

void RarEngine::Unload() {
    platform::FreeLibrary(library_);
    library_ = nullptr;
    loaded_ = false;
}

bool RarEngine::Probe(const QString& archive) {
    std::string path = archive.toStdString();
    RAROpenArchiveData open{};
    open.ArcName = path.data();
    open.OpenMode = RAR_OM_LIST;
    open.CmtBuf = commentBuffer.data();
    open.CmtBufSize = kCommentBufferSize;
    if (void* handle = openArchive_(&open))
        closeArchive_(handle);
    return open.OpenResult == ERAR_SUCCESS;
}

bool RarEngine::List(const QString& archive, const QString& destination) {
    return Run(kList, archive, destination);
}

bool RarEngine::Test(const QString& archive, const QString& destination) {
    return Run(kTest, archive, destination);
}

bool RarEngine::Extract(const QString& archive, const QString& destination) {
    return Run(kExtract, archive, destination);
}

int RarEngine::ExtractEntry(void* handle, const QString& name, bool isFile,
                            const QString& destination) {
    int result = ERAR_SUCCESS;
    if (IsUnsafeEntryName(name)) {
        result = processFile_(handle, RAR_SKIP, nullptr, nullptr);
        ReportError("", "Unsafe path not extracted: " + name);
    } else if (!IsExtractAllowed(name)) {
        if (isFile)
            ReportError(name, "Matched mask not to extract");
        result = processFile_(handle, RAR_SKIP, nullptr, nullptr);
    } else if (FileExists(destination + name) && !OverwriteEnabled()) {
        result = processFile_(handle, RAR_SKIP, nullptr, nullptr);
        if (isFile)
            ReportError(name, "File already exists");
    } else {
        std::string folder = destination.toStdString();
        result = processFile_(handle, RAR_EXTRACT, folder.data(), nullptr);
        // Reported once the library has said whether it could write the file.
        if (isFile && result == ERAR_ECREATE)
            ReportError("", "Cannot create file: " + name);
        else if (isFile && result == ERAR_SUCCESS)
            ReportItem(name);
    }
    if (isFile)
        AdvanceArchiveProgress(1);
    return result;
}

bool RarEngine::Run(Step step, const QString& archive, const QString& destination) {
    std::string path = archive.toStdString();
    RAROpenArchiveData open{};
    open.ArcName = path.data();
    open.CmtBuf = commentBuffer.data();
    open.CmtBufSize = kCommentBufferSize;
    // The test step reads the data too, so that a passed test has really checked it.
    open.OpenMode = step == kList ? RAR_OM_LIST : RAR_OM_EXTRACT;
    if (step == kList)
        rarPasswords.Clear();

    void* handle = openArchive_(&open);
    if (open.OpenResult != ERAR_SUCCESS) {
        ReportError("", OpenResultText(open.OpenResult));
        if (handle)
            closeArchive_(handle);
        return false;
    }
    setChangeVolProc_(handle, VolumeRoutine);

    RARHeaderData header{};
    if (step != kExtract) {
        header.CmtBuf = commentBuffer.data();
        header.CmtBufSize = kCommentBufferSize;
    }
    if (step == kList)
        fileCount_ = 0;
    SetArchiveRange(0, fileCount_);
    SetArchivePosition(0);

    int readResult = ERAR_SUCCESS;
    while ((readResult = readHeader_(handle, &header)) == ERAR_SUCCESS) {
        const QString name = QString::fromUtf8(header.FileName);
        const bool isFile = (header.FileAttr & ~kFolderAttribute) != 0;
        if (header.Flags & RHDF_ENCRYPTED) {
            if (const auto password = rarPasswords.Obtain(QString::fromUtf8(header.ArcName))) {
                std::string bytes = password->toStdString();
                setPassword_(handle, bytes.data());
            }
        }
        if (StopRequested) {
            closeArchive_(handle);
            return false;
        }
        int result = ERAR_SUCCESS;
        if (step == kExtract) {
            result = ExtractEntry(handle, name, isFile, destination);
        } else if (step == kTest) {
            result = processFile_(handle, RAR_TEST, nullptr, nullptr);
            if (isFile)
                AdvanceArchiveProgress(1);
        } else {
            result = processFile_(handle, RAR_SKIP, nullptr, nullptr);
            if (isFile)
                ++fileCount_;
        }
        if (result != ERAR_SUCCESS && result != ERAR_ECREATE) {
            if (step == kExtract)
                ReportError("", ProcessResultText(result));
            closeArchive_(handle);
            return false;
        }
    }
    closeArchive_(handle);
    if (readResult == ERAR_BAD_DATA) {
        ReportError("", "Archive header broken");
        return false;
    }
    return true;
}
