#pragma once

#include "archive_session.h"
#include "header_walker.h"

#include <memory>
#include <optional>
#include <string>

namespace unrar {

// The one place that decides how an entry's data is decoded: encrypted entries (for which no
// decryption exists yet) are refused, stored entries are read straight from their data areas,
// compressed ones go through libarchive. Prepare before anything is created on disk, then
// Decode or LinkTarget.
class EntryDecoder {
public:
    explicit EntryDecoder(const VolumeChain& chain) : chain_(chain) {}

    void SetPassword(std::optional<std::string> password) { password_ = std::move(password); }

    // ERAR_SUCCESS when the entry's data can be read now, else the code that stops it.
    int Prepare(const WalkedEntry& entry);
    // The data, checked against the entry's CRC (ERAR_BAD_DATA on a mismatch).
    int Decode(const WalkedEntry& entry, const ArchiveSession::Sink& sink);
    // The target of a symbolic link entry; ERAR_SUCCESS or an error code.
    int LinkTarget(const WalkedEntry& entry, std::string& target);

private:
    static bool IsStored(const WalkedEntry& entry);
    int SeekFrom(std::size_t volume, const WalkedEntry& entry);

    const VolumeChain& chain_;
    std::optional<std::string> password_;
    std::unique_ptr<ArchiveSession> session_;
};

} // namespace unrar
