#include "print_protocol.h"

#include "twlib/codepage.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace unzip32 {
namespace {

bool IsValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

std::string Hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

} // namespace

Printer::Printer(USERFUNCTIONS* functions, bool quiet, std::string archivePath)
    : functions_(functions), quiet_(quiet), archive_(std::move(archivePath)) {}

void Printer::Emit(const std::string& text) {
    if (quiet_ || functions_ == nullptr || functions_->print == nullptr)
        return;
    // The callback takes a mutable buffer; hand it a copy of its own.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    functions_->print(buffer.data(), static_cast<std::uint32_t>(text.size()));
}

void Printer::ListHeading() {
    Emit("     Length      Date    Time    Name\n"
         "  ---------  ---------- -----   ----\n");
}

void Printer::ListLine(std::uint64_t size, std::time_t modified, const std::string& name) {
    std::tm local{};
    localtime_r(&modified, &local);
    char text[96];
    std::snprintf(text, sizeof text, "  %9llu  %02d-%02d-%04d %02d:%02d   ",
                  static_cast<unsigned long long>(size), local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min);
    Emit(text + name + "\n");
}

void Printer::ListTotals(std::uint64_t size, std::uint64_t entries) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "  ---------                     -------\n  %9llu                     %llu %s\n",
                  static_cast<unsigned long long>(size), static_cast<unsigned long long>(entries),
                  entries == 1 ? "file" : "files");
    Emit(text);
}

void Printer::Testing(const std::string& name) {
    Emit("    testing: " + name);
}

void Printer::Ok() {
    Emit("   OK\n");
}

void Printer::BadCrc(std::uint32_t actual, std::uint32_t expected) {
    Emit("   bad CRC " + Hex8(actual) + " (should be " + Hex8(expected) + ")\n");
}

void Printer::DataError(const std::string& reason) {
    Emit("   error: " + reason + "\n");
}

void Printer::PasswordSkipped(const std::string& name, bool incorrect) {
    Emit("   skipping: " + name +
         (incorrect ? " incorrect password\n" : " unable to get password\n"));
}

void Printer::TestSummary(bool errors, std::uint64_t incorrectPasswords,
                          std::uint64_t missingPasswords) {
    Emit(errors ? "At least one error was detected in " + archive_ + ".\n"
                : "No errors detected in compressed data of " + archive_ + ".\n");
    if (incorrectPasswords > 0)
        Emit("files skipped because of incorrect password: " + std::to_string(incorrectPasswords) +
             "\n");
    if (missingPasswords > 0)
        Emit("files skipped for want of a password: " + std::to_string(missingPasswords) + "\n");
}

void Printer::Creating(const std::string& name) {
    Emit("   creating: " + name + "\n");
}

void Printer::Writing(const std::string& name, bool stored) {
    Emit((stored ? " extracting: " : "  inflating: ") + name + "\n");
}

void Printer::TargetKept(const std::string& name, bool becauseNewer) {
    // The backslash puts the name where the engine's reader takes its subject from.
    Emit(std::string("  skipping: ") +
         (becauseNewer ? "Target file newer\\" : "Target file exists\\") + name + "\n");
}

void Printer::CannotCreate(const std::string& name, int error) {
    Emit("  warning: cannot create " + name + ": " + std::strerror(error) + ".\n");
}

void Printer::UnsafePath(const std::string& name) {
    Emit("  warning: Unsafe path not extracted: " + name + ".\n");
}

void Printer::Unsupported(const std::string& name) {
    Emit("   skipping: " + name + " unsupported method\n");
}

void Printer::TooMuchMemory(const std::string& name) {
    Emit("   skipping: " + name + " needs more memory than allowed\n");
}

void Printer::Empty() {
    Emit("warning [" + archive_ + "]:  zipfile is empty\n");
}

void Printer::NotZip() {
    Emit("  End-of-central-directory signature not found.\n");
}

void Printer::CannotOpen() {
    Emit("  cannot find or open " + archive_ + ".\n");
}

void Printer::DamagedStructure(const std::string& reason) {
    Emit("  error: damaged archive structure: " + reason + "\n");
}

void Printer::NotMatched(const std::string& pattern) {
    Emit("caution: filename not matched:  " + pattern + "\n");
}

void Printer::Comment(const std::string& storedComment) {
    // Comments carry no encoding flag: UTF-8 when they are valid UTF-8, else the DOS code page.
    Emit((IsValidUtf8(storedComment) ? storedComment : twlib::Cp437ToUtf8(storedComment)) + "\n");
}

} // namespace unzip32
