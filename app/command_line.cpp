#include "app/command_line.h"

namespace {

bool IsSwitch(const QString& argument) {
    for (const char16_t* name : {u"/auto", u"/remreg", u"/systray"})
        if (argument == QStringView(name))
            return true;
    return false;
}

QString JoinQuotedPaths(const QString& text) {
    QString joined = text;
    joined.replace(u"\" \""_qs, u";"_qs);
    joined.remove(u'"');
    return joined;
}

} // namespace

QString CommandLineText(const QStringList& arguments) {
    QStringList parts;
    for (const QString& argument : arguments)
        parts << (IsSwitch(argument) ? argument : u'"' + argument + u'"');
    return parts.join(u' ');
}

QString NormaliseForForwarding(const QString& commandLine) {
    return JoinQuotedPaths(commandLine.trimmed());
}

QString NormaliseForLocalUse(const QString& commandLine) {
    QString text = JoinQuotedPaths(commandLine);
    text.remove(u"/remreg"_qs, Qt::CaseInsensitive);
    text.remove(u"/systray"_qs, Qt::CaseInsensitive);
    return text.trimmed();
}

QStringList SplitPieces(const QString& text) {
    return text.split(u';', Qt::SkipEmptyParts);
}
