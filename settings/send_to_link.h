#pragma once

#include <QString>

// The Send To shortcut: a launcher in each file manager's menu for the selected files, handing
// them to `target`. Failures show "Could not create shell link!", "SetPath failed!" or
// "SetDescription failed!"; the result is 0 when saved, negative otherwise.
int CreateShellLink(const QString& target, const QString& linkName, const QString& description);

void RemoveShellLink(const QString& linkName);

inline const QString kSendToLinkName = QStringLiteral("Tamblewick");
