#pragma once

#include <QDateTime>
#include <QString>

// "[MM/dd/yy]" and "[hh:mm:ss AM]" in the system locale, for the history and the log file.
QString DateStamp(const QDateTime& when = QDateTime::currentDateTime());
QString TimeStamp(const QDateTime& when = QDateTime::currentDateTime());
