#include "archive_handle.h"

#include "attributes.h"

#include <cstring>

namespace unrar {
namespace {

// Copies text into a fixed field, cut before a partial UTF-8 character, always terminated.
void CopyField(char (&field)[260], const std::string& text) {
    std::size_t length = std::min(text.size(), sizeof field - 1);
    if (length < text.size())
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    std::memcpy(field, text.data(), length);
    field[length] = 0;
}

unsigned RecordFlags(const EntryHeader& entry) {
    unsigned flags = 0;
    if (entry.splitBefore)
        flags |= RHDF_SPLITBEFORE;
    if (entry.splitAfter)
        flags |= RHDF_SPLITAFTER;
    if (entry.encrypted)
        flags |= RHDF_ENCRYPTED;
    if (entry.solid)
        flags |= RHDF_SOLID;
    if (entry.folder)
        flags |= RHDF_DIRECTORY;
    return flags;
}

} // namespace

int ArchiveHandle::ReadHeader(RARHeaderData& record) {
    current_.reset();
    WalkedEntry entry;
    if (const int result = walker_.NextEntry(openMode_ == RAR_OM_LIST_INCSPLIT, entry))
        return result;
    const EntryHeader& header = entry.header;
    CopyField(record.ArcName, chain_.Volumes()[entry.volume].path);
    CopyField(record.FileName, header.name);
    record.Flags = RecordFlags(header);
    record.PackSize = static_cast<unsigned>(header.packSize);
    record.UnpSize = static_cast<unsigned>(header.unpSize);
    record.HostOS = header.hostOs;
    record.FileCRC = header.crc;
    record.FileTime = header.dosTime;
    record.UnpVer = header.unpVer;
    record.Method = header.method;
    record.FileAttr = WindowsAttributes(header);
    record.CmtSize = 0;
    record.CmtState = 0;
    current_ = std::move(entry);
    return ERAR_SUCCESS;
}

int ArchiveHandle::ProcessFile(int operation, const char* destFolder, const char* destName) {
    if (!current_)
        return ERAR_UNKNOWN;
    WalkedEntry entry = std::move(*current_);
    current_.reset();
    if (operation != RAR_SKIP && operation != RAR_TEST && operation != RAR_EXTRACT)
        return ERAR_UNKNOWN;
    if (operation == RAR_SKIP || ListsOnly())
        return ERAR_SUCCESS;
    if (const int result = walker_.FollowSplit(entry))
        return result;
    return operation == RAR_TEST ? processor_.Test(entry)
                                 : processor_.Extract(entry, destFolder, destName);
}

} // namespace unrar
