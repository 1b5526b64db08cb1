#pragma once

#include "unzip32.h"

#include <string>

struct archive;

namespace unzip32 {

// Asks the caller once per encrypted entry and hands that answer to libarchive exactly once, so a
// wrong password ends in a skipped entry instead of a loop of prompts.
class PasswordSource {
public:
    explicit PasswordSource(USERFUNCTIONS* functions) : functions_(functions) {}

    enum class Answer { Try, Refused };
    // Asks for the password of the entry about to be read. After a "cancel all" every later
    // entry is refused without asking.
    Answer AskFor(const std::string& entryName);
    // Whether libarchive found the password of the current entry wrong (or it was empty).
    bool Rejected() const { return rejected_; }

    // For archive_read_set_passphrase_callback.
    static const char* Callback(archive* reader, void* self);

private:
    const char* Next();

    USERFUNCTIONS* functions_;
    bool cancelledAll_ = false;
    std::string current_;
    bool handedOut_ = false;
    bool rejected_ = false;
};

} // namespace unzip32
