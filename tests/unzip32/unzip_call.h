#pragma once

#include "unzip32.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tw::test {

// One call of Wiz_SingleEntryUnzip with recording callbacks.
class UnzipCall {
public:
    explicit UnzipCall(const std::filesystem::path& archive);

    UnzipCall& List();
    UnzipCall& Test();
    UnzipCall& Extract(const std::filesystem::path& destination);

    int Run();

    // Every piece printed, with its one trailing newline removed.
    const std::vector<std::string>& Pieces() const { return pieces_; }
    std::string Output() const;

    UZOPTIONS options{};
    USERFUNCTIONS functions{};
    std::vector<std::string> include;
    std::vector<std::string> exclude;

    // The password callback copies `password` and answers `passwordAnswer`.
    std::string password;
    int passwordAnswer = UZ_PW_ENTERED;
    std::vector<std::string> passwordEntries;

    // The service callback answers 1 from its `stopAtCall`-th call (0-based) on, when set.
    int stopAtCall = -1;
    std::vector<std::string> serviceEntries;

    struct Listing {
        std::uint32_t size, compressedSize, crc;
        char flag;
        std::string name, method;
        char encrypted;
    };
    std::vector<Listing> listings;

private:
    static int Print(char* text, std::uint32_t length);
    static int Password(char* buffer, int size, const char* prompt, const char* entryName);
    static int Service(const char* entryName, std::uint32_t entrySize);
    static void ListingCallback(std::uint32_t size, std::uint32_t compressedSize,
                                std::uint32_t ratio, std::uint32_t month, std::uint32_t day,
                                std::uint32_t year, std::uint32_t hour, std::uint32_t minute,
                                char flag, const char* name, const char* method, std::uint32_t crc,
                                char encrypted);

    std::string archive_;
    std::string destination_;
    std::vector<std::string> pieces_;
};

} // namespace tw::test
