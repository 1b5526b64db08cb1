#include "extraction_loop.h"

#include "central_directory.h"
#include "entry_processor.h"
#include "run_context.h"
#include "zip_reader.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <sys/stat.h>

namespace unzip32 {
namespace {

// Each reopen after libarchive gave up costs a walk over the headers before the damage; a few
// are worth it, a hostile archive damaged in every entry must not make that quadratic.
constexpr int kMaxReopens = 16;

std::uint32_t Clamp32(std::uint64_t value) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

// Saving in tenths of a percent, as the records report it.
std::uint32_t SavingPermille(std::uint64_t compressed, std::uint64_t size) {
    if (size == 0 || compressed >= size)
        return 0;
    return static_cast<std::uint32_t>((size - compressed) * 1000 / size);
}

const char* MethodName(const CentralRecord* record, const EntryInfo& entry) {
    if (record == nullptr)
        return entry.method.c_str();
    switch (record->method) {
    case 0:
        return "Stored";
    case 8:
        return "Deflate";
    case 9:
        return "Deflate64";
    case 12:
        return "BZip2";
    case 14:
        return "LZMA";
    case 93:
        return "Zstd";
    case 95:
        return "XZ";
    case 98:
        return "PPMd";
    default:
        return "Unknown";
    }
}

bool IsReadableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

class ArchiveWalk {
public:
    ArchiveWalk(RunContext& run, const CentralDirectory& directory)
        : run_(run), index_(directory) {}

    // Walks every entry; when libarchive gives up inside an entry's data, reopens the archive
    // and goes on after that entry.
    void Walk();
    std::uint64_t EntriesSeen() const { return seen_; }
    std::uint64_t ListedSize() const { return listedSize_; }
    std::uint64_t ListedEntries() const { return listedEntries_; }
    bool StructureDamaged() const { return structureDamaged_; }

private:
    enum class Step { Next, Reopen, Stop };
    bool Skip(ZipReader& reader, std::uint64_t count);
    Step Handle(ZipReader& reader, const EntryInfo& entry);
    void List(const EntryInfo& entry, const CentralRecord* record);
    bool ServiceSaysStop(const EntryInfo& entry);
    void Damaged(const std::string& reason);

    RunContext& run_;
    CentralIndex index_;
    std::uint64_t seen_ = 0;
    bool structureDamaged_ = false;
    std::uint64_t listedSize_ = 0;
    std::uint64_t listedEntries_ = 0;
};

void ArchiveWalk::Damaged(const std::string& reason) {
    run_.printer.DamagedStructure(reason);
    run_.result.Note(UZ_BADSTRUCTURE);
    structureDamaged_ = true;
}

bool ArchiveWalk::ServiceSaysStop(const EntryInfo& entry) {
    if (run_.functions == nullptr || run_.functions->service == nullptr)
        return false;
    return run_.functions->service(entry.name.c_str(), Clamp32(entry.size)) != 0;
}

void ArchiveWalk::List(const EntryInfo& entry, const CentralRecord* record) {
    const std::time_t modified = entry.modified == -1 ? 0 : entry.modified;
    run_.printer.ListLine(entry.size, modified, entry.name);
    listedSize_ += entry.size;
    ++listedEntries_;
    if (run_.functions == nullptr || run_.functions->listing == nullptr)
        return;
    std::tm local{};
    localtime_r(&modified, &local);
    const std::uint64_t compressed = record != nullptr ? record->compressedSize : 0;
    run_.functions->listing(
        Clamp32(entry.size), Clamp32(compressed), SavingPermille(compressed, entry.size),
        static_cast<std::uint32_t>(local.tm_mon + 1), static_cast<std::uint32_t>(local.tm_mday),
        static_cast<std::uint32_t>(local.tm_year + 1900), static_cast<std::uint32_t>(local.tm_hour),
        static_cast<std::uint32_t>(local.tm_min), entry.isFolder ? 'd' : (entry.isLink ? 'l' : '-'),
        entry.name.c_str(), MethodName(record, entry), record != nullptr ? record->crc : 0,
        entry.encrypted ? 1 : 0);
}

ArchiveWalk::Step ArchiveWalk::Handle(ZipReader& reader, const EntryInfo& entry) {
    const CentralRecord* record = index_.Take(entry.name);
    if (ServiceSaysStop(entry)) {
        run_.result.Note(UZ_STOPPED);
        return Step::Stop;
    }
    if (!run_.selection.Selected(entry.name))
        return Step::Next;
    if (run_.options.mode == Mode::List) {
        List(entry, record);
        return Step::Next;
    }
    if (run_.options.mode == Mode::Extract && run_.selection.Excluded(entry.name))
        return Step::Next;
    switch (ProcessEntry(run_, reader, entry, record)) {
    case AfterEntry::Reopen:
        return Step::Reopen;
    case AfterEntry::Stop:
        return Step::Stop;
    default:
        return Step::Next;
    }
}

bool ArchiveWalk::Skip(ZipReader& reader, std::uint64_t count) {
    EntryInfo ignored;
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto next = reader.NextEntry(ignored);
        if (next == ZipReader::Next::End || next == ZipReader::Next::Fatal)
            return false;
    }
    return true;
}

void ArchiveWalk::Walk() {
    for (int opening = 0; opening <= kMaxReopens; ++opening) {
        ZipReader reader(run_.options.archivePath, run_.passwords);
        if (!reader.Open() || !Skip(reader, seen_)) {
            if (opening == 0)
                Damaged(reader.Error());
            return;
        }
        std::int64_t lastBadPosition = -1;
        for (;;) {
            EntryInfo entry;
            const auto next = reader.NextEntry(entry);
            if (next == ZipReader::Next::End)
                return;
            if (next == ZipReader::Next::Fatal) {
                Damaged(reader.Error());
                return;
            }
            ++seen_;
            if (next == ZipReader::Next::BadEntry) {
                // A reader that reports the same broken header twice is not moving on.
                const std::int64_t position = reader.HeaderPosition();
                Damaged(reader.Error());
                if (position == lastBadPosition)
                    return;
                lastBadPosition = position;
                continue;
            }
            const Step step = Handle(reader, entry);
            if (step == Step::Stop)
                return;
            if (step == Step::Reopen)
                break;
        }
    }
}

void SetTotals(USERFUNCTIONS* functions, const CentralDirectory& directory) {
    std::uint64_t size = 0;
    std::uint64_t compressed = 0;
    for (const auto& record : directory.records) {
        size += record.size;
        compressed += record.compressedSize;
    }
    functions->TotalSize = Clamp32(size);
    functions->TotalCompressedSize = Clamp32(compressed);
    functions->CompressionFactor = SavingPermille(compressed, size);
    functions->NumMembers = Clamp32(directory.complete ? directory.records.size() : 0);
    functions->CommentLength = static_cast<std::uint16_t>(directory.comment.size());
}

} // namespace

int RunArchive(const RunOptions& options, USERFUNCTIONS* functions) {
    RunContext run(options, functions);
    const CentralDirectory directory = ReadCentralDirectory(options.archivePath);
    SetTotals(functions, directory);
    if (!IsReadableFile(options.archivePath)) {
        run.printer.CannotOpen();
        return UZ_NOTZIP;
    }
    if (!directory.endRecordFound) {
        run.printer.NotZip();
        return UZ_NOTZIP;
    }
    if (options.showComment && !directory.comment.empty())
        run.printer.Comment(directory.comment);
    if (directory.declaredEntries == 0) {
        run.printer.Empty();
        return UZ_OK;
    }
    if (options.mode == Mode::Extract) {
        run.destination = std::make_unique<twlib::DestinationFolder>(options.destination);
        if (const int error = run.destination->OpenError()) {
            run.printer.CannotCreate(options.destination, error);
            return UZ_WRITEFAILED;
        }
    }
    const Utf8LocaleScope utf8Names;
    ArchiveWalk walk(run, directory);
    if (options.mode == Mode::List)
        run.printer.ListHeading();
    walk.Walk();
    if (!directory.complete)
        functions->NumMembers = Clamp32(walk.EntriesSeen());
    if (options.mode == Mode::List)
        run.printer.ListTotals(walk.ListedSize(), walk.ListedEntries());
    if (run.result.Value() == UZ_STOPPED)
        return UZ_STOPPED;
    if (options.mode == Mode::Test)
        run.printer.TestSummary(run.dataErrors || walk.StructureDamaged(), run.incorrectPasswords,
                                run.missingPasswords);
    for (const auto& pattern : run.selection.Unmatched()) {
        run.printer.NotMatched(pattern);
        run.result.Note(UZ_NOMATCH);
    }
    return run.result.Value();
}

} // namespace unzip32
