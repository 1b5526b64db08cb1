#include "app/command_line.h"

#include <QRegularExpression>

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
    TakeSwitch(text, u"/remreg", Qt::CaseInsensitive);
    TakeSwitch(text, u"/systray", Qt::CaseInsensitive);
    return text.trimmed();
}

bool TakeSwitch(QString& text, QStringView name, Qt::CaseSensitivity sensitivity) {
    QRegularExpression word(u"(^|\\s)"_qs + QRegularExpression::escape(name) + u"(?=\\s|$)"_qs);
    if (sensitivity == Qt::CaseInsensitive)
        word.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    if (!word.match(text).hasMatch())
        return false;
    text.remove(word);
    text = text.trimmed();
    return true;
}

QStringList SplitPieces(const QString& text) {
    return text.split(u';', Qt::SkipEmptyParts);
}
