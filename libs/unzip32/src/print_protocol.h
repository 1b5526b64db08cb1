#pragma once

#include "unzip32.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace unzip32 {

// Every text the library prints. The engine on the other side recognises the lines by a few
// words, so each of those words appears only in the piece this protocol gives it.
class Printer {
public:
    Printer(USERFUNCTIONS* functions, bool quiet, std::string archivePath);

    void ListHeading();
    void ListLine(std::uint64_t size, std::time_t modified, const std::string& name);
    void ListTotals(std::uint64_t size, std::uint64_t entries);

    void Testing(const std::string& name);
    void Ok();
    void BadCrc(std::uint32_t actual, std::uint32_t expected);
    void DataError(const std::string& reason);
    void PasswordSkipped(const std::string& name, bool incorrect);
    void TestSummary(bool errors, std::uint64_t incorrectPasswords, std::uint64_t missingPasswords);

    void Creating(const std::string& name);
    void Writing(const std::string& name, bool stored);
    void TargetKept(const std::string& name, bool becauseNewer);
    void CannotCreate(const std::string& name, int error);
    void UnsafePath(const std::string& name);

    void Unsupported(const std::string& name);
    void TooMuchMemory(const std::string& name);
    void Empty();
    void NotZip();
    void CannotOpen();
    void DamagedStructure(const std::string& reason);
    void NotMatched(const std::string& pattern);
    void Comment(const std::string& storedComment);

private:
    void Emit(const std::string& text);

    USERFUNCTIONS* functions_;
    bool quiet_;
    std::string archive_;
};

} // namespace unzip32
