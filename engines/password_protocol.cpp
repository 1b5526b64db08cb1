#include "engines/password_protocol.h"

#include "archives/naming.h"
#include "extract/reporting.h"

#include <mutex>

namespace {

std::mutex promptMutex;
PasswordPrompt currentPrompt;

} // namespace

void SetPasswordPrompt(PasswordPrompt prompt) {
    std::lock_guard lock(promptMutex);
    currentPrompt = std::move(prompt);
}

QString AskForPassword(const QString& prompt) {
    PasswordPrompt ask;
    {
        std::lock_guard lock(promptMutex);
        ask = currentPrompt;
    }
    return ask ? ask(prompt) : kCanceled;
}

std::optional<QString> PasswordCache::Obtain(const QString& archivePath) {
    if (cached_.isEmpty())
        cached_ = AskForPassword("Enter password for " + FileNameOf(archivePath) + " : ");
    if (cached_ == kCanceled) {
        ReportError("", "Password required");
        return std::nullopt;
    }
    return cached_;
}
