#include "engines/ace_engine.h"

#include "archives/naming.h"
#include "engines/engine_conventions.h"
#include "engines/password_protocol.h"
#include "extract/reporting.h"
#include "extract/run_state.h"

#include <QDir>
#include <QMessageBox>
#include <array>
#include <string>
#include <unacev2.h>

namespace {

constexpr std::size_t kFileListSize = 40960;
constexpr std::uint32_t kFolderAttribute = ACE_ATTRIBUTE_DIRECTORY;

using InitDll = int32_t (*)(const AceInitRecord*);
using ReadArchiveData = int32_t (*)(const char*, AceArchiveInfo*);
using ListArchive = int32_t (*)(const char*, const AceListRecord*);
using TestArchive = int32_t (*)(const char*, const AceTestRecord*);
using ExtractArchive = int32_t (*)(const char*, const AceExtractRecord*);

struct EntryPoints {
    InitDll init = nullptr;
    ReadArchiveData readArchiveData = nullptr; // required, never called
    ListArchive list = nullptr;
    TestArchive test = nullptr;
    ExtractArchive extract = nullptr;
};

// Process-wide, as the library calls back into it on the worker thread during one operation.
EntryPoints entryPoints;
const std::array<char, kFileListSize> fileList{}; // empty: every entry
std::string temporaryFolder;
PasswordCache acePasswords;
std::string passwordBytes; // what the library's password pointer points into
QString aceDestination;
int fileCount = 0;
int excludedCount = 0;

QString Utf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

bool IsFile(const AceEntryData* entry) {
    return (entry->attributes & ~kFolderAttribute) != 0;
}

QString ResultText(int32_t result) {
    switch (result) {
    case ACE_RESULT_NO_MEMORY:
        return "Insufficient memory";
    case ACE_RESULT_NO_FILES:
        return "No files specified";
    case ACE_RESULT_NOT_FOUND:
        return "Cannot find archive";
    case ACE_RESULT_DISK_FULL:
        return "Disk full";
    case ACE_RESULT_CANNOT_OPEN:
        return "Cannot open archive";
    case ACE_RESULT_READ_ERROR:
        return "Read error";
    case ACE_RESULT_WRITE_ERROR:
        return "Write error";
    case ACE_RESULT_INVALID_CALL:
        return "Invalid command";
    case ACE_RESULT_CRC_ERROR:
        return "CRC Error";
    case ACE_RESULT_OTHER:
        return "Other error";
    case ACE_RESULT_FILE_EXISTS:
        return "File already exists";
    case ACE_RESULT_USER_BREAK:
        return "User break";
    default:
        return {};
    }
}

bool Finish(int32_t result) {
    if (result != ACE_RESULT_OK)
        ReportError("", ResultText(result));
    return result == ACE_RESULT_OK;
}

int32_t InfoRoutine(AceCallbackRecord*) {
    return StopRequested ? ACE_ANSWER_CANCEL : ACE_ANSWER_OK;
}

// Errors the routine reports, by record type and code, and the answer it gives.
int32_t ErrorRoutine(AceCallbackRecord* record) {
    const auto unknown = [] {
        ReportError("", "Unknown error");
        return ACE_ANSWER_CANCEL;
    };
    const auto report = [](const QString& subject, const char* message, int32_t answer) {
        ReportError(subject, message);
        return answer;
    };
    switch (record->type) {
    case ACE_RECORD_GLOBAL:
        if (StopRequested)
            return ACE_ANSWER_CANCEL;
        if (record->code == ACE_ERROR_MEMORY)
            return report("", "Not enough memory", ACE_ANSWER_OK);
        if (record->code == ACE_ERROR_SPACE)
            return report("", "Not enough space", ACE_ANSWER_OK);
        return unknown();
    case ACE_RECORD_ARCHIVE:
        if (StopRequested)
            return ACE_ANSWER_CANCEL;
        switch (record->code) {
        case ACE_ERROR_AV:
            return report("", "Invalid AV?", ACE_ANSWER_CANCEL);
        case ACE_ERROR_ARCHIVE_MISSING:
            return report(
                FileNameOf(Utf8(record->archive ? record->archive->archiveName : nullptr)),
                "Cannot find archive", ACE_ANSWER_CANCEL);
        case ACE_ERROR_READ:
            return report("", "File read error", ACE_ANSWER_CANCEL);
        case ACE_ERROR_BROKEN:
            return report("", "Archive broken", ACE_ANSWER_CANCEL);
        case ACE_ERROR_NO_FILES:
            return report("", "No files specified", ACE_ANSWER_CANCEL);
        case ACE_ERROR_NOT_ACE:
            return report("", "Not an ACE file", ACE_ANSWER_CANCEL);
        case ACE_ERROR_VERSION:
            return report("", "Wrong DLL version", ACE_ANSWER_CANCEL);
        default:
            return unknown();
        }
    case ACE_RECORD_ENTRY:
        switch (record->code) {
        case ACE_ERROR_DESTINATION:
            return report("", "Cannot extract into folder", ACE_ANSWER_OK);
        case ACE_ERROR_WRITE:
            return report("", "File write error", ACE_ANSWER_OK);
        case ACE_ERROR_OPEN:
            return report("", "File open error", ACE_ANSWER_OK);
        case ACE_ERROR_METHOD:
            return report("", "Wrong DLL version", ACE_ANSWER_OK);
        case ACE_ERROR_DISK_SPACE:
            return report("", "Not enough space", ACE_ANSWER_OK);
        case ACE_ERROR_CREATE:
            return report("", "Cannot create file", ACE_ANSWER_OK);
        default:
            return unknown();
        }
    case 3:
    case 4:
    case 5:
        return record->code == 0 ? ACE_ANSWER_OK : unknown();
    default:
        return ACE_ANSWER_CANCEL;
    }
}

int32_t EntryRequest(AceCallbackRecord* record) {
    const QString target = Utf8(record->entry ? record->entry->targetPath : nullptr);
    const QString name = target.mid(aceDestination.size());
    if (record->code == ACE_REQUEST_OVERWRITE) {
        if (OverwriteEnabled())
            return ACE_ANSWER_OK;
        ReportError(name, "File already exists");
        return ACE_ANSWER_NO;
    }
    if (record->code == ACE_REQUEST_PASSWORD) {
        const QString archive = Utf8(record->archive ? record->archive->archiveName : nullptr);
        if (const auto password = acePasswords.Obtain(archive)) {
            passwordBytes = password->toStdString();
            if (record->global)
                record->global->password = passwordBytes.c_str();
        }
        return ACE_ANSWER_OK;
    }
    ReportError("", "Unknown request");
    return ACE_ANSWER_CANCEL;
}

int32_t RequestRoutine(AceCallbackRecord* record) {
    switch (record->type) {
    case ACE_RECORD_GLOBAL:
        if (record->code != 0)
            ReportError("", "Unknown request");
        return ACE_ANSWER_CANCEL;
    case ACE_RECORD_ARCHIVE:
        if (record->code == ACE_REQUEST_VOLUME) {
            ReportArchive(Utf8(record->archive ? record->archive->archiveName : nullptr), "");
            return ACE_ANSWER_OK;
        }
        ReportError("", "Unknown request");
        return ACE_ANSWER_CANCEL;
    case ACE_RECORD_ENTRY:
        return EntryRequest(record);
    case 3:
        if (record->code == 0)
            return ACE_ANSWER_OK;
        ReportError("", "Unknown request");
        return ACE_ANSWER_CANCEL;
    default:
        return ACE_ANSWER_CANCEL;
    }
}

void ExtractingEntry(const QString& name) {
    if (FileExists(aceDestination + name)) {
        // A kept target is reported by the overwrite request.
        if (OverwriteEnabled())
            ReportItem(name);
    } else if (IsExtractAllowed(name)) {
        ReportItem(name);
    } else {
        ReportError(name, "Matched masks not to extract");
        ++excludedCount;
        return;
    }
    AdvanceArchiveProgress(1);
}

int32_t EntryBegins(AceCallbackRecord* record) {
    if (StopRequested)
        return ACE_ANSWER_CANCEL;
    if (!record->entry || !IsFile(record->entry))
        return ACE_ANSWER_OK;
    const QString name = Utf8(record->entry->name);
    switch (record->operation) {
    case ACE_OPERATION_LIST:
        if (!IsExtractAllowed(name))
            ++excludedCount;
        ++fileCount;
        break;
    case ACE_OPERATION_TEST:
        AdvanceArchiveProgress(1);
        break;
    case ACE_OPERATION_EXTRACT:
        if (IsUnsafeEntryName(name)) {
            ReportError("", "Unsafe path not extracted: " + name);
            return ACE_ANSWER_NO;
        }
        ExtractingEntry(name);
        break;
    default:
        break;
    }
    return ACE_ANSWER_OK;
}

int32_t StateRoutine(AceCallbackRecord* record) {
    if (record->type == ACE_RECORD_ENTRY && record->code == ACE_STATE_ENTRY_BEGIN)
        return EntryBegins(record);
    return ACE_ANSWER_OK;
}

AceFileSelection Selection(const char* excludeList) {
    return AceFileSelection{"", fileList.data(), excludeList, 0};
}

} // namespace

AceEngine& TheAceEngine() {
    static AceEngine engine;
    return engine;
}

bool AceEngine::Load() {
    library_ = platform::LoadLibrary("UnAceV2.Dll");
    if (!library_)
        return false;
    if (!platform::ResolveProc(library_, "ACEInitDll", entryPoints.init) ||
        !platform::ResolveProc(library_, "ACEReadArchiveData", entryPoints.readArchiveData) ||
        !platform::ResolveProc(library_, "ACEList", entryPoints.list) ||
        !platform::ResolveProc(library_, "ACETest", entryPoints.test) ||
        !platform::ResolveProc(library_, "ACEExtract", entryPoints.extract)) {
        QMessageBox::critical(nullptr, "Error", "\nCould not find function in UnAceV2.Dll!\n\n",
                              QMessageBox::Ok);
        return false;
    }
    // The system's folder for temporary files stands in for the design's fixed one.
    temporaryFolder = QDir::tempPath().toStdString();
    AceInitRecord init{};
    init.headerSearchSize = 0x1FFFF;
    init.bufferSize = 0x2FFFF;
    init.tempFolder = temporaryFolder.c_str();
    init.infoRoutine = InfoRoutine;
    init.errorRoutine = ErrorRoutine;
    init.requestRoutine = RequestRoutine;
    init.stateRoutine = StateRoutine;
    entryPoints.init(&init);
    loaded_ = true;
    return true;
}

void AceEngine::Unload() {
    platform::FreeLibrary(library_);
    library_ = nullptr;
    entryPoints = {};
    loaded_ = false;
}

bool AceEngine::Probe(const QString& archive) {
    // The probe tests every entry: the previous archive's password would fail the test and
    // make an encrypted archive with another password look like no ACE archive at all.
    acePasswords.Clear();
    const std::string path = archive.toStdString();
    AceTestRecord test{};
    test.files = Selection("");
    test.password = "";
    SetHistoryRecording(false);
    const int32_t result = entryPoints.test(path.c_str(), &test);
    SetHistoryRecording(true);
    return result == ACE_RESULT_OK;
}

bool AceEngine::List(const QString& archive) {
    acePasswords.Clear();
    fileCount = 0;
    excludedCount = 0;
    const std::string path = archive.toStdString();
    AceListRecord list{};
    list.files = Selection("");
    SetArchivePosition(0);
    const int32_t result = entryPoints.list(path.c_str(), &list);
    SetArchiveRange(0, fileCount);
    return Finish(result);
}

bool AceEngine::Test(const QString& archive) {
    const std::string path = archive.toStdString();
    AceTestRecord test{};
    test.files = Selection("");
    test.password = "";
    SetArchivePosition(0);
    return Finish(entryPoints.test(path.c_str(), &test));
}

bool AceEngine::Extract(const QString& archive, const QString& destination) {
    // Each mask goes in front with its "\r", so the list holds them in reverse order.
    QString masks;
    for (const QString& mask : ExclusionMasks())
        masks.prepend(mask + "\r");
    const std::string excludeList = masks.toStdString();
    const std::string path = archive.toStdString();
    const std::string folder = destination.toStdString();
    aceDestination = destination;
    AceExtractRecord extract{};
    extract.files = Selection(excludeList.c_str());
    extract.destination = folder.c_str();
    extract.leaveOutPaths = 0;
    extract.password = "";
    SetArchivePosition(excludedCount);
    return Finish(entryPoints.extract(path.c_str(), &extract));
}
