#pragma once

#include <QString>
#include <functional>
#include <optional>

// The literal that stands for a cancelled prompt.
inline const QString kCanceled = QStringLiteral("CANCELED");

// Asks the user for a password with the given prompt; returns the text, or kCanceled. The
// window shows PasswordDialog; a front end without a window asks on its terminal.
using PasswordPrompt = std::function<QString(const QString& prompt)>;
void SetPasswordPrompt(PasswordPrompt prompt);
QString AskForPassword(const QString& prompt);

// One engine's memory of the current archive's password: empty until the user was asked, the
// answer afterwards. The user is asked at most once per archive; after Cancel every later need
// adds "Password required" without asking again. An empty answer is not remembered.
class PasswordCache {
public:
    void Clear() { cached_.clear(); }
    const QString& Cached() const { return cached_; }

    // The password to hand to the library, or nothing when the user cancelled.
    std::optional<QString> Obtain(const QString& archivePath);

private:
    QString cached_;
};
