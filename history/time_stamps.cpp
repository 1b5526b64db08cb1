#include "history/time_stamps.h"

#include <QLocale>

QString DateStamp(const QDateTime& when) {
    return QLocale::system().toString(when, u"[MM/dd/yy]"_qs);
}

QString TimeStamp(const QDateTime& when) {
    // "AP" makes "hh" a 12-hour clock.
    return QLocale::system().toString(when, u"[hh:mm:ss AP]"_qs);
}
