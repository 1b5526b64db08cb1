#pragma once

#include <QString>

// Where the web site button and the e-mail button lead.
inline const QString kProductWebPage = QStringLiteral("https://www.tamblewick.net/en/");
inline const QString kSupportMailLink = QStringLiteral("mailto:support@tamblewick.net");
