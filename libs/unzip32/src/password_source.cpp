#include "password_source.h"

#include <array>
#include <cstring>

namespace unzip32 {

PasswordSource::Answer PasswordSource::AskFor(const std::string& entryName) {
    current_.clear();
    handedOut_ = false;
    rejected_ = false;
    if (cancelledAll_ || functions_ == nullptr || functions_->password == nullptr) {
        cancelledAll_ = true;
        return Answer::Refused;
    }
    std::array<char, UZ_PASSWORD_BUFFER_SIZE> buffer{};
    const std::string prompt = "Enter password for " + entryName;
    const int answer = functions_->password(buffer.data(), static_cast<int>(buffer.size()),
                                            prompt.c_str(), entryName.c_str());
    if (answer == UZ_PW_CANCELALL)
        cancelledAll_ = true;
    if (answer != UZ_PW_ENTERED)
        return Answer::Refused;
    current_.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return Answer::Try;
}

const char* PasswordSource::Next() {
    // libarchive asks again only when the last answer did not fit; an empty password never does.
    if (handedOut_ || current_.empty()) {
        rejected_ = true;
        return nullptr;
    }
    handedOut_ = true;
    return current_.c_str();
}

const char* PasswordSource::Callback(archive*, void* self) {
    return static_cast<PasswordSource*>(self)->Next();
}

} // namespace unzip32
