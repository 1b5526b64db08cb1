#include "unzip_call.h"

#include <cstring>
#include <gtest/gtest.h>

namespace tw::test {
namespace {

UnzipCall* current = nullptr;

} // namespace

UnzipCall::UnzipCall(const std::filesystem::path& archive) : archive_(archive.string()) {
    options.recreateFolders = 1;
    functions.print = &Print;
    functions.password = &Password;
    functions.service = &Service;
    functions.listing = &ListingCallback;
}

UnzipCall& UnzipCall::List() {
    options.list = 1;
    options.test = 0;
    return *this;
}

UnzipCall& UnzipCall::Test() {
    options.list = 1;
    options.test = 1;
    return *this;
}

UnzipCall& UnzipCall::Extract(const std::filesystem::path& destination) {
    options.list = 0;
    options.test = 0;
    destination_ = destination.string();
    return *this;
}

int UnzipCall::Run() {
    pieces_.clear();
    options.archivePath = archive_.data();
    options.destination = destination_.empty() ? nullptr : destination_.data();
    std::vector<char*> includes;
    std::vector<char*> excludes;
    for (auto& name : include)
        includes.push_back(name.data());
    for (auto& name : exclude)
        excludes.push_back(name.data());
    current = this;
    const int result = Wiz_SingleEntryUnzip(
        static_cast<int>(includes.size()), includes.empty() ? nullptr : includes.data(),
        static_cast<int>(excludes.size()), excludes.empty() ? nullptr : excludes.data(), &options,
        &functions);
    current = nullptr;
    return result;
}

std::string UnzipCall::Output() const {
    std::string all;
    for (const auto& piece : pieces_)
        all += piece + "|";
    return all;
}

int UnzipCall::Print(char* text, std::uint32_t length) {
    EXPECT_EQ(std::strlen(text), length);
    std::string piece(text, length);
    if (!piece.empty() && piece.back() == '\n')
        piece.pop_back();
    current->pieces_.push_back(piece);
    return static_cast<int>(length);
}

int UnzipCall::Password(char* buffer, int size, const char* prompt, const char* entryName) {
    EXPECT_NE(prompt, nullptr);
    current->passwordEntries.emplace_back(entryName);
    std::strncpy(buffer, current->password.c_str(), static_cast<std::size_t>(size) - 1);
    return current->passwordAnswer;
}

int UnzipCall::Service(const char* entryName, std::uint32_t) {
    current->serviceEntries.emplace_back(entryName);
    return current->stopAtCall >= 0 &&
                   static_cast<int>(current->serviceEntries.size()) > current->stopAtCall
               ? 1
               : 0;
}

void UnzipCall::ListingCallback(std::uint32_t size, std::uint32_t compressedSize, std::uint32_t,
                                std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                std::uint32_t, char flag, const char* name, const char* method,
                                std::uint32_t crc, char encrypted) {
    current->listings.push_back({size, compressedSize, crc, flag, name, method, encrypted});
}

} // namespace tw::test
