#pragma once

#include <QString>
#include <cstdint>

// Turns the ZIP library's printed pieces into history rows, progress steps and the count of
// entries that will not be extracted. The library says what it does only through this text,
// so the words below are the whole contract.
struct ZipOutputContext {
    QString archivePath;
    std::uint32_t numMembers = 0;
    std::int32_t excludedCount = 0;
};

void ReadZipOutput(const QString& text, ZipOutputContext& context);
