#include "operation.h"

#include "archive_reader.h"
#include "entry_decoder.h"
#include "file_selection.h"
#include "twlib/codepage.h"
#include "twlib/destination_folder.h"
#include "twlib/exclude_mask.h"
#include "twlib/safe_path.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

namespace unacev2 {
namespace {

constexpr std::uint64_t kProgressStep = 1 << 20;

std::string EntryName(const std::string& raw) {
    std::string name = twlib::Cp850ToUtf8(raw);
    for (char& c : name) {
        if (c == '\\')
            c = '/';
    }
    return name;
}

// Passwords come as UTF-8; ACE keys are made from the OEM bytes, so text that CP850 can hold
// is turned back into it. Anything else is used as given.
std::string PasswordBytes(const char* utf8) {
    if (utf8 == nullptr)
        return {};
    const std::string text(utf8);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out.push_back(text[i++]);
            continue;
        }
        bool found = false;
        for (int b = 0x80; b < 0x100 && !found; ++b) {
            const std::string enc = twlib::Cp850ToUtf8(std::string(1, static_cast<char>(b)));
            if (!enc.empty() && text.compare(i, enc.size(), enc) == 0) {
                out.push_back(static_cast<char>(b));
                i += enc.size();
                found = true;
            }
        }
        if (!found)
            return text;
    }
    return out;
}

std::time_t DosTimeToUnix(std::uint32_t dos) {
    std::tm tm{};
    tm.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
    tm.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
    tm.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
    tm.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
    tm.tm_min = static_cast<int>((dos >> 5) & 0x3F);
    tm.tm_sec = static_cast<int>(dos & 0x1F) * 2;
    tm.tm_isdst = -1;
    if (tm.tm_mon < 0)
        tm.tm_mon = 0;
    if (tm.tm_mday < 1)
        tm.tm_mday = 1;
    return std::mktime(&tm);
}

// Writes decoded bytes to the output file; a failure is remembered and the rest only counted,
// so that decoding goes on (a solid archive needs every file decoded).
class FileWriter final : public ByteSink {
public:
    explicit FileWriter(twlib::OutputFile* file) : file_(file) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (file_ != nullptr && error_ == 0)
            error_ = file_->Write(data, size);
        return true;
    }
    int Error() const { return error_; }

private:
    twlib::OutputFile* file_;
    int error_ = 0;
};

class Operation;

// Calls the information routine every so often, so that a stop takes effect inside big files.
class ProgressSink final : public ByteSink {
public:
    ProgressSink(Operation& op, ByteSink& next) : op_(op), next_(next) {}
    bool Write(const std::uint8_t* data, std::size_t size) override;

private:
    Operation& op_;
    ByteSink& next_;
    std::uint64_t done_ = 0;
    std::uint64_t reported_ = 0;
};

class Operation final : public VolumeEvents {
public:
    Operation(const LibrarySettings& settings, const OperationRequest& request)
        : settings_(settings), request_(request), reader_(std::make_unique<ArchiveReader>(*this)),
          selection_(request.files ? request.files->sourceFolder : nullptr,
                     request.files ? request.files->fileList : nullptr,
                     request.files && request.files->fullPathMatching != 0) {
        if (request.kind == OperationKind::Extract && request.files && request.files->excludeList)
            excludeMasks_ = twlib::SplitMasks(request.files->excludeList, '\r');
        if (request.password != nullptr && request.password[0] != '\0')
            global_.password = request.password;
    }

    std::int32_t Run();
    bool Progress(std::uint64_t done);

    bool EnterVolume(const std::string& path) override {
        SetArchiveName(path);
        return Call(settings_.request, ACE_RECORD_ARCHIVE, ACE_REQUEST_VOLUME) == ACE_ANSWER_OK;
    }
    void VolumeMissing(const std::string& path) override {
        SetArchiveName(path);
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_ARCHIVE_MISSING);
    }

private:
    enum class Next { Go, Stop };

    std::int32_t Call(AceCallbackRoutine routine, std::uint32_t type, std::uint32_t code) {
        if (routine == nullptr)
            return ACE_ANSWER_OK;
        AceCallbackRecord record{};
        record.type = type;
        record.code = code;
        record.operation = operationCode_;
        record.archive = &archive_;
        if (type == ACE_RECORD_ENTRY || type == ACE_RECORD_PROGRESS) {
            record.global = &global_;
            record.entry = &entry_;
        }
        if (type == ACE_RECORD_PROGRESS)
            record.progress = &progress_;
        return routine(&record);
    }
    void Fail(std::int32_t result) {
        if (result_ == ACE_RESULT_OK)
            result_ = result;
    }
    void SetArchiveName(const std::string& path) {
        archivePath_ = path;
        archive_.archiveName = archivePath_.c_str();
    }
    void FillArchiveData();
    void FillEntryData(const FileHeader& e);
    // An archive-level failure: reported, and the operation ends.
    Next ArchiveError(ReadStatus st);
    // An entry error; the operation goes on unless the routine cancels.
    Next EntryError(std::uint32_t code, std::int32_t result) {
        Fail(result);
        return Call(settings_.error, ACE_RECORD_ENTRY, code) == ACE_ANSWER_CANCEL ? Next::Stop
                                                                                  : Next::Go;
    }
    std::string Password(const FileHeader& e);
    // Decodes the entry into sink; reports what goes wrong. crcOk tells whether the contents
    // are right.
    Next Decode(const FileHeader& e, ByteSink& sink, bool quiet, bool& crcOk);
    Next Process(const FileHeader& e);
    Next TestEntry(const FileHeader& e);
    Next ExtractEntry(const FileHeader& e);
    Next SkipEntry(const FileHeader& e);

    const LibrarySettings& settings_;
    const OperationRequest& request_;
    std::unique_ptr<ArchiveReader> reader_;
    EntryDecoder decoder_;
    FileSelection selection_;
    std::vector<std::string> excludeMasks_;
    std::unique_ptr<twlib::DestinationFolder> destination_;
    std::string destinationPrefix_;
    bool solid_ = false;
    std::uint32_t operationCode_ = ACE_OPERATION_LIST;
    std::int32_t result_ = ACE_RESULT_OK;
    bool selectedAny_ = false;

    std::string archivePath_;
    std::string entryName_;
    std::string targetPath_;
    std::string passwordBytes_;
    AceGlobalData global_{};
    AceArchiveData archive_{};
    AceEntryData entry_{};
    AceProgressData progress_{};
};

bool ProgressSink::Write(const std::uint8_t* data, std::size_t size) {
    done_ += size;
    if (done_ - reported_ >= kProgressStep) {
        reported_ = done_;
        if (!op_.Progress(done_))
            return false;
    }
    return next_.Write(data, size);
}

bool Operation::Progress(std::uint64_t done) {
    progress_.entryDone = done;
    return Call(settings_.info, ACE_RECORD_PROGRESS, 0) != ACE_ANSWER_CANCEL;
}

void Operation::FillArchiveData() {
    const MainHeader& m = reader_->Main();
    archive_.flags = m.flags;
    archive_.volumeNumber = m.volumeNumber;
    archive_.versionToExtract = m.versionToExtract;
    archive_.versionCreated = m.versionCreated;
    archive_.hostOs = m.host;
    archive_.created = m.created;
}

void Operation::FillEntryData(const FileHeader& e) {
    entry_ = AceEntryData{};
    entry_.name = entryName_.c_str();
    entry_.targetPath = targetPath_.c_str();
    entry_.packedSize = e.packedSize;
    entry_.size = e.size;
    entry_.crc32 = e.crc;
    entry_.dosTime = e.dosTime;
    entry_.method = e.method;
    entry_.quality = e.quality;
    entry_.dictionaryBits = e.DictionaryBits();
    entry_.attributes = e.attributes;
    entry_.flags = e.flags;
    progress_ = AceProgressData{};
    progress_.entrySize = e.size;
}

Operation::Next Operation::ArchiveError(ReadStatus st) {
    switch (st) {
    case ReadStatus::Ok:
    case ReadStatus::End:
        return Next::Go;
    case ReadStatus::NotFound:
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_ARCHIVE_MISSING);
        Fail(ACE_RESULT_NOT_FOUND);
        break;
    case ReadStatus::CannotOpen:
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_READ);
        Fail(ACE_RESULT_CANNOT_OPEN);
        break;
    case ReadStatus::NotAce:
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_NOT_ACE);
        Fail(ACE_RESULT_CANNOT_OPEN);
        break;
    case ReadStatus::Broken:
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_BROKEN);
        Fail(ACE_RESULT_CRC_ERROR);
        break;
    case ReadStatus::ReadError:
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_READ);
        Fail(ACE_RESULT_READ_ERROR);
        break;
    case ReadStatus::VolumeMissing: // reported when it was found missing
        Fail(ACE_RESULT_NOT_FOUND);
        break;
    case ReadStatus::Cancelled:
        Fail(ACE_RESULT_USER_BREAK);
        break;
    }
    return Next::Stop;
}

std::string Operation::Password(const FileHeader& e) {
    if (!(e.flags & kFileEncrypted))
        return {};
    if (global_.password == nullptr || global_.password[0] == '\0')
        Call(settings_.request, ACE_RECORD_ENTRY, ACE_REQUEST_PASSWORD);
    return PasswordBytes(global_.password);
}

Operation::Next Operation::Decode(const FileHeader& e, ByteSink& sink, bool quiet, bool& crcOk) {
    crcOk = false;
    if (!EntryDecoder::Supports(e)) {
        if (quiet)
            return Next::Go;
        return EntryError(ACE_ERROR_METHOD, ACE_RESULT_OTHER);
    }
    const std::string password = Password(e);
    CrcSink crc(&sink);
    ProgressSink progress(*this, crc);
    const DecodeStatus st = decoder_.Decode(e, solid_, reader_->Data(), password, progress);
    if (st == DecodeStatus::Cancelled) {
        Fail(ACE_RESULT_USER_BREAK);
        return Next::Stop;
    }
    if (st == DecodeStatus::ReadError)
        return ArchiveError(reader_->DataStatus() == ReadStatus::Ok ? ReadStatus::ReadError
                                                                    : reader_->DataStatus());
    const ReadStatus finished = reader_->FinishEntry();
    if (finished != ReadStatus::Ok)
        return ArchiveError(finished);
    if (st == DecodeStatus::Corrupt) {
        if (quiet)
            return Next::Go;
        Fail(ACE_RESULT_CRC_ERROR);
        // Without its window a solid archive cannot go on; others can.
        const bool cancel =
            Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_BROKEN) == ACE_ANSWER_CANCEL;
        return cancel || solid_ ? Next::Stop : Next::Go;
    }
    crcOk = crc.Crc() == reader_->LastPart().crc;
    if (!crcOk && !quiet)
        Fail(ACE_RESULT_CRC_ERROR);
    return Next::Go;
}

Operation::Next Operation::SkipEntry(const FileHeader& e) {
    // Later files of a solid archive refer to this one's contents.
    if (!solid_ || e.IsDirectory() || request_.kind == OperationKind::List)
        return Next::Go;
    FileWriter discard(nullptr);
    bool crcOk = false;
    return Decode(e, discard, true, crcOk);
}

Operation::Next Operation::TestEntry(const FileHeader& e) {
    if (e.IsDirectory())
        return Next::Go;
    FileWriter discard(nullptr);
    bool crcOk = false;
    return Decode(e, discard, false, crcOk);
}

Operation::Next Operation::ExtractEntry(const FileHeader& e) {
    if (twlib::MatchesAnyMask(entryName_, excludeMasks_))
        return SkipEntry(e);
    const auto safe = twlib::SafeRelativePath(entryName_);
    if (!safe) {
        if (EntryError(ACE_ERROR_CREATE, ACE_RESULT_OTHER) == Next::Stop)
            return Next::Stop;
        return SkipEntry(e);
    }
    std::string rel = *safe;
    if (request_.leaveOutPaths) {
        if (e.IsDirectory())
            return Next::Go;
        if (const auto slash = rel.find_last_of('/'); slash != std::string::npos)
            rel.erase(0, slash + 1);
    }
    if (e.IsDirectory()) {
        const int err = destination_->MakeFolders(rel);
        return err == 0 || err == EEXIST ? Next::Go
                                         : EntryError(ACE_ERROR_CREATE, ACE_RESULT_WRITE_ERROR);
    }

    bool overwrite = false;
    if (destination_->Exists(rel)) {
        const std::int32_t answer =
            Call(settings_.request, ACE_RECORD_ENTRY, ACE_REQUEST_OVERWRITE);
        if (answer == ACE_ANSWER_CANCEL) {
            Fail(ACE_RESULT_USER_BREAK);
            return Next::Stop;
        }
        if (answer != ACE_ANSWER_OK)
            return SkipEntry(e);
        overwrite = true;
    }
    if (!EntryDecoder::Supports(e))
        return EntryError(ACE_ERROR_METHOD, ACE_RESULT_OTHER);

    twlib::OutputFile file;
    const int openErr = destination_->BeginFile(rel, overwrite, file);
    if (openErr != 0) {
        const Next next = openErr == ENOSPC ? EntryError(ACE_ERROR_DISK_SPACE, ACE_RESULT_DISK_FULL)
                                            : EntryError(ACE_ERROR_OPEN, ACE_RESULT_WRITE_ERROR);
        return next == Next::Stop ? Next::Stop : SkipEntry(e);
    }
    FileWriter writer(&file);
    bool crcOk = false;
    const Next next = Decode(e, writer, false, crcOk);
    if (writer.Error() != 0) {
        file.Discard();
        if (writer.Error() == ENOSPC)
            return EntryError(ACE_ERROR_DISK_SPACE, ACE_RESULT_DISK_FULL) == Next::Stop ? Next::Stop
                                                                                        : next;
        return EntryError(ACE_ERROR_WRITE, ACE_RESULT_WRITE_ERROR) == Next::Stop ? Next::Stop
                                                                                 : next;
    }
    if (!crcOk) {
        // A damaged file never replaces a good one, nor stays half-written.
        file.Discard();
        return next;
    }
    if (file.Commit(DosTimeToUnix(e.dosTime)) != 0)
        return EntryError(ACE_ERROR_WRITE, ACE_RESULT_WRITE_ERROR);
    return next;
}

Operation::Next Operation::Process(const FileHeader& e) {
    entryName_ = EntryName(e.rawName);
    targetPath_ =
        request_.kind == OperationKind::Extract ? destinationPrefix_ + entryName_ : entryName_;
    FillEntryData(e);
    if (!selection_.Selects(entryName_))
        return SkipEntry(e);
    selectedAny_ = true;

    const std::int32_t answer = Call(settings_.state, ACE_RECORD_ENTRY, ACE_STATE_ENTRY_BEGIN);
    if (answer == ACE_ANSWER_CANCEL) {
        Fail(ACE_RESULT_USER_BREAK);
        return Next::Stop;
    }
    if (answer == ACE_ANSWER_NO)
        return SkipEntry(e);
    switch (request_.kind) {
    case OperationKind::List:
        return Next::Go;
    case OperationKind::Test:
        return TestEntry(e);
    case OperationKind::Extract:
        return ExtractEntry(e);
    }
    return Next::Go;
}

std::int32_t Operation::Run() {
    operationCode_ = request_.kind == OperationKind::List   ? ACE_OPERATION_LIST
                     : request_.kind == OperationKind::Test ? ACE_OPERATION_TEST
                                                            : ACE_OPERATION_EXTRACT;
    SetArchiveName(request_.archive);
    if (request_.kind == OperationKind::Extract) {
        destinationPrefix_ = request_.destination != nullptr ? request_.destination : "";
        if (!destinationPrefix_.empty() && destinationPrefix_.back() != '/')
            destinationPrefix_ += '/';
        destination_ = std::make_unique<twlib::DestinationFolder>(
            destinationPrefix_.empty() ? std::string(".") : destinationPrefix_);
        if (destination_->OpenError() != 0) {
            Call(settings_.error, ACE_RECORD_ENTRY, ACE_ERROR_DESTINATION);
            return ACE_RESULT_WRITE_ERROR;
        }
    }

    const ReadStatus opened = reader_->Open(request_.archive, settings_.headerSearchSize);
    if (opened != ReadStatus::Ok) {
        ArchiveError(opened);
        return result_;
    }
    FillArchiveData();
    if (reader_->Main().versionToExtract > kHighestVersionToExtract) {
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_VERSION);
        return ACE_RESULT_CANNOT_OPEN;
    }
    solid_ = (reader_->Main().flags & kMainSolid) != 0;

    FileHeader e;
    for (;;) {
        const ReadStatus st = reader_->Next(e);
        FillArchiveData();
        if (st == ReadStatus::End)
            break;
        if (st != ReadStatus::Ok) {
            ArchiveError(st);
            break;
        }
        if (Process(e) == Next::Stop)
            break;
    }
    if (result_ == ACE_RESULT_OK && !selectedAny_ && !selection_.SelectsEverything()) {
        Call(settings_.error, ACE_RECORD_ARCHIVE, ACE_ERROR_NO_FILES);
        Fail(ACE_RESULT_NO_FILES);
    }
    return result_;
}

class SilentVolumes final : public VolumeEvents {
    bool EnterVolume(const std::string&) override { return false; }
    void VolumeMissing(const std::string&) override {}
};

} // namespace

std::int32_t RunOperation(const LibrarySettings& settings, const OperationRequest& request) {
    try {
        Operation op(settings, request);
        return op.Run();
    } catch (const std::bad_alloc&) {
        return ACE_RESULT_NO_MEMORY;
    }
}

std::int32_t ReadArchiveInfo(const LibrarySettings& settings, const std::string& archive,
                             AceArchiveInfo& info) {
    try {
        SilentVolumes volumes;
        auto reader = std::make_unique<ArchiveReader>(volumes);
        switch (reader->Open(archive, settings.headerSearchSize)) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::NotFound:
            return ACE_RESULT_NOT_FOUND;
        case ReadStatus::ReadError:
            return ACE_RESULT_READ_ERROR;
        default:
            return ACE_RESULT_CANNOT_OPEN;
        }
        const MainHeader& m = reader->Main();
        info = AceArchiveInfo{};
        info.flags = m.flags;
        info.volumeNumber = m.volumeNumber;
        info.versionToExtract = m.versionToExtract;
        info.versionCreated = m.versionCreated;
        info.hostOs = m.host;
        info.created = m.created;
        return ACE_RESULT_OK;
    } catch (const std::bad_alloc&) {
        return ACE_RESULT_NO_MEMORY;
    }
}

} // namespace unacev2
