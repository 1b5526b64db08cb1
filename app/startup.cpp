#include "app/startup.h"

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "app/termination.h"
#include "extract/messages.h"
#include "platform/instance_channel.h"
#include "platform/version.h"
#include "settings/settings_store.h"

#include <cstdio>

QString WindowTitle() {
    return u"Tamblewick "_qs + QString::fromStdString(platform::ProgramVersion());
}

void WriteForwardingKey(const QString& normalisedText) {
    const QString key = kProgramKey + u"\\AddItem"_qs;
    CreateKey(HKEY_LOCAL_MACHINE, key);
    const QStringList pieces = SplitPieces(normalisedText + u';');
    for (qsizetype i = 0; i < pieces.size(); ++i)
        WriteString(HKEY_LOCAL_MACHINE, key, QString::number(i + 1), pieces.at(i));
    WriteDword(HKEY_LOCAL_MACHINE, key, u"0"_qs, static_cast<std::uint32_t>(pieces.size()));
}

int RunProgram(const QStringList& arguments) {
    const QString title = WindowTitle();
    platform::instance::StartGuard guard(title);
    const bool running = platform::instance::RunningCopyExists(title);
    // The Send To launcher is rewritten here at every start once it exists (associations issue).
    const QString commandLine = CommandLineText(arguments);
    const QString text = NormaliseForForwarding(commandLine);
    if (text.contains(u"/remreg")) {
        // Removing the registration lands with the associations issue; until then say so
        // instead of ending as if it had been done.
        std::fputs("tamblewick: /remreg is not available in this build\n", stderr);
        return 1;
    }
    if (text.isEmpty() || !running) {
        MainDialog dialog(commandLine);
        const CloseOnTermination termination(dialog);
        dialog.Start(&guard);
        dialog.exec();
        return 0;
    }
    WriteForwardingKey(text);
    platform::instance::SendToRunningCopy(title, UM_ADDITEM, kHandOverTimeoutMs);
    return 0;
}
