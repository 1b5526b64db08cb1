#include "app/startup.h"

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "app/termination.h"
#include "archives/naming.h"
#include "extract/messages.h"
#include "platform/instance_channel.h"
#include "platform/version.h"
#include "settings/associations.h"
#include "settings/send_to_link.h"
#include "settings/settings_store.h"

#include <QCoreApplication>

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

QStringList ProgramArguments() {
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return arguments;
}

bool AsksToRemoveRegistration(const QStringList& arguments) {
    // The switch itself only: here paths begin with "/", and /home/me/remreg.zip must not wipe
    // the settings.
    return arguments.contains(u"/remreg"_qs);
}

int RunProgram(const QStringList& arguments) {
    const QString title = WindowTitle();
    platform::instance::StartGuard guard(title);
    const bool running = platform::instance::RunningCopyExists(title);
    // At every start, so the launchers follow the program when it moves.
    CreateShellLink(ModulePath(), kSendToLinkName, u"Tamblewick"_qs);
    const QString commandLine = CommandLineText(arguments);
    const QString text = NormaliseForForwarding(commandLine);
    if (AsksToRemoveRegistration(arguments)) {
        RemoveAllRegistration();
        return 0;
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
