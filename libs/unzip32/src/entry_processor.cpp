#include "entry_processor.h"

#include "memory_limits.h"
#include "target_policy.h"

#include <cerrno>

namespace unzip32 {
namespace {

bool IsStored(const EntryInfo& entry, const CentralRecord* record) {
    return record != nullptr ? record->method == 0 : entry.method == "uncompressed";
}

bool DiskIsFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

// Whatever ended the data of an entry, once the first block was good.
AfterEntry FinishWithDataError(RunContext& run, ZipReader& reader, ZipReader::Block block) {
    switch (block) {
    case ZipReader::Block::BadCrc:
        run.printer.BadCrc(reader.ActualCrc(), reader.ExpectedCrc());
        break;
    case ZipReader::Block::Memory:
        run.result.Note(UZ_MEMORY);
        return AfterEntry::Stop;
    default:
        run.printer.DataError(reader.Error());
        break;
    }
    run.result.Note(UZ_BADDATA);
    run.dataErrors = true;
    return block == ZipReader::Block::Fatal ? AfterEntry::Reopen : AfterEntry::Continue;
}

// Checks what the entry declares, asks for its password and reads the first block. Returns
// false when the entry is done with: skipped for memory, password or method, or a failure.
bool StartData(RunContext& run, ZipReader& reader, const EntryInfo& entry,
               const CentralRecord* record, ZipReader::Block& first, const void*& data,
               std::size_t& size, AfterEntry& after) {
    after = AfterEntry::Continue;
    if (record != nullptr && !DeclaredMemoryWithinLimits(run.options.archivePath, *record)) {
        run.printer.TooMuchMemory(entry.name);
        run.result.Note(UZ_MEMORY);
        return false;
    }
    if (entry.encrypted && run.passwords.AskFor(entry.name) == PasswordSource::Answer::Refused) {
        run.printer.PasswordSkipped(entry.name, false);
        ++run.missingPasswords;
        run.result.Note(UZ_PASSWORD);
        return false;
    }
    first = reader.ReadBlock(data, size);
    switch (first) {
    case ZipReader::Block::WrongPassword:
        run.printer.PasswordSkipped(entry.name, true);
        ++run.incorrectPasswords;
        run.result.Note(UZ_PASSWORD);
        return false;
    case ZipReader::Block::Unsupported:
        run.printer.Unsupported(entry.name);
        run.result.Note(UZ_SKIPPED);
        return false;
    case ZipReader::Block::Memory:
        run.result.Note(UZ_MEMORY);
        after = AfterEntry::Stop;
        return false;
    default:
        return true;
    }
}

AfterEntry TestFile(RunContext& run, ZipReader& reader, const EntryInfo& entry,
                    const CentralRecord* record) {
    ZipReader::Block block{};
    const void* data = nullptr;
    std::size_t size = 0;
    AfterEntry after{};
    if (!StartData(run, reader, entry, record, block, data, size, after))
        return after;
    run.printer.Testing(entry.name);
    while (block == ZipReader::Block::Data)
        block = reader.ReadBlock(data, size);
    if (block == ZipReader::Block::End) {
        run.printer.Ok();
        return AfterEntry::Continue;
    }
    return FinishWithDataError(run, reader, block);
}

AfterEntry CannotCreate(RunContext& run, const EntryInfo& entry, int error,
                        ZipReader::Block lastBlock) {
    run.printer.CannotCreate(entry.name, error);
    run.result.Note(UZ_WRITEFAILED);
    if (DiskIsFull(error))
        return AfterEntry::Stop;
    return lastBlock == ZipReader::Block::Fatal ? AfterEntry::Reopen : AfterEntry::Continue;
}

AfterEntry ExtractFile(RunContext& run, ZipReader& reader, const EntryInfo& entry,
                       const CentralRecord* record, const std::string& path, bool replace) {
    ZipReader::Block block{};
    const void* data = nullptr;
    std::size_t size = 0;
    AfterEntry after{};
    if (!StartData(run, reader, entry, record, block, data, size, after))
        return after;
    twlib::OutputFile out;
    if (const int error = run.destination->BeginFile(path, replace, out))
        return CannotCreate(run, entry, error, block);
    run.printer.Writing(entry.name, IsStored(entry, record));
    while (block == ZipReader::Block::Data) {
        if (const int error = out.Write(data, size))
            return CannotCreate(run, entry, error, block);
        block = reader.ReadBlock(data, size);
    }
    if (block != ZipReader::Block::End)
        return FinishWithDataError(run, reader, block);
    if (const int error = out.Commit(entry.modified))
        return CannotCreate(run, entry, error, block);
    return AfterEntry::Continue;
}

AfterEntry ExtractLink(RunContext& run, const EntryInfo& entry, const CentralRecord* record,
                       const std::string& path, bool replace) {
    const int error = run.destination->CreateSymlink(path, entry.linkTarget, replace);
    if (error == EPERM) {
        run.printer.UnsafePath(entry.name);
        run.result.Note(UZ_SKIPPED);
    } else if (error != 0) {
        return CannotCreate(run, entry, error, ZipReader::Block::End);
    } else {
        run.printer.Writing(entry.name, IsStored(entry, record));
    }
    return AfterEntry::Continue;
}

AfterEntry ExtractFolder(RunContext& run, const EntryInfo& entry, const std::string& path) {
    if (!run.options.recreateFolders)
        return AfterEntry::Continue;
    if (const int error = run.destination->MakeFolders(path))
        return CannotCreate(run, entry, error, ZipReader::Block::End);
    run.printer.Creating(entry.name);
    return AfterEntry::Continue;
}

AfterEntry Extract(RunContext& run, ZipReader& reader, const EntryInfo& entry,
                   const CentralRecord* record) {
    const auto path = OutputPathFor(entry.name, run.options);
    if (!path) {
        run.printer.UnsafePath(entry.name);
        run.result.Note(UZ_SKIPPED);
        return AfterEntry::Continue;
    }
    if (entry.isFolder)
        return ExtractFolder(run, entry, *path);
    const auto decision = DecideTarget(run.options, *run.destination, *path, entry.modified,
                                       run.functions, entry.name);
    switch (decision) {
    case TargetDecision::SkipQuietly:
        return AfterEntry::Continue;
    case TargetDecision::KeepExisting:
    case TargetDecision::KeepNewer:
        run.printer.TargetKept(entry.name, decision == TargetDecision::KeepNewer);
        run.result.Note(UZ_SKIPPED);
        return AfterEntry::Continue;
    default:
        break;
    }
    const bool replace = decision == TargetDecision::Replace;
    if (entry.isLink)
        return ExtractLink(run, entry, record, *path, replace);
    return ExtractFile(run, reader, entry, record, *path, replace);
}

} // namespace

AfterEntry ProcessEntry(RunContext& run, ZipReader& reader, const EntryInfo& entry,
                        const CentralRecord* record) {
    if (run.options.mode == Mode::Extract)
        return Extract(run, reader, entry, record);
    if (entry.isFolder || entry.isLink) {
        run.printer.Testing(entry.name);
        run.printer.Ok();
        return AfterEntry::Continue;
    }
    return TestFile(run, reader, entry, record);
}

} // namespace unzip32
