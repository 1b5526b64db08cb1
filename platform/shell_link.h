#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The Send To shortcut of the desktop: launchers that file managers offer for the selected files,
// each handing them to the target program. Thunar reads its "Send To" folder, Nautilus its
// scripts, Dolphin its service menus.
namespace platform::shell {

inline constexpr int kLinkSaved = 0;
inline constexpr int kLinkNotSaved = -1;

class SendToLink {
public:
    // None when the user's data folder, which holds all three places, cannot be made.
    static std::optional<SendToLink> Create();

    // The target must be an absolute path; false otherwise, and the link keeps none.
    bool SetPath(const QString& target);
    // False for a description with line breaks or other control characters.
    bool SetDescription(const QString& description);

    // Writes one launcher named `name` in each place; kLinkSaved when all were written.
    // Without a target nothing is written.
    int Save(const QString& name) const;

private:
    explicit SendToLink(QString dataFolder) : dataFolder_(std::move(dataFolder)) {}

    QString dataFolder_;
    QString target_;
    QString description_;
};

// The files a link named `name` consists of, in the user's data folder.
QStringList SendToLinkPaths(const QString& name);

// Removes them; false when one exists and could not be removed.
bool RemoveSendToLink(const QString& name);

} // namespace platform::shell
