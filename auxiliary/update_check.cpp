#include "auxiliary/update_check.h"

#include "auxiliary/update_check_fetch.h"
#include "extract/reporting.h"
#include "extract/ui_links.h"
#include "platform/shell.h"
#include "platform/ui_thread.h"
#include "platform/version.h"
#include "settings/settings_store.h"

#include <QMessageBox>
#include <QWidget>

namespace {

void OfferDownload(const QString& downloadUrl) {
    platform::RunDialogOnUiThread([&downloadUrl] {
        auto* owner = dynamic_cast<QWidget*>(UiLinks().mainWindow);
        const QMessageBox::StandardButton answer = QMessageBox::question(
            owner, u"Tamblewick"_qs,
            u"A newer version of Tamblewick has been found on the internet.\t\n\nDownload Now?"_qs,
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes)
            platform::shell::Open(downloadUrl);
    });
}

} // namespace

QString UpdateServerAddress() {
    QString address = ReadString(HKEY_LOCAL_MACHINE, kProgramKey, u"Update Server"_qs, {});
    if (address.isEmpty())
        address = QStringLiteral(TW_UPDATE_SERVER);
    if (!address.endsWith(u'/'))
        address += u'/';
    return address;
}

int CheckForUpdate() {
    RunUpdateCheck(UpdateServerAddress(), kUpdateCheckTimeout);
    return 0;
}

void RunUpdateCheck(const QString& serverAddress, std::chrono::milliseconds timeout) {
    const QString current = QString::fromStdString(platform::ProgramVersion());
    ReportItem(u"||Checking for the latest version of Tamblewick"_qs);
    ReportItem(u"||CurrentVersion: "_qs + current);

    const FirstLine latest = FetchFirstLine(QUrl(serverAddress + u"en/latest.txt"_qs), timeout);
    if (latest.outcome == FirstLine::ConnectionFailed) {
        ReportItem(u"||Error connecting to internet!"_qs);
        return;
    }
    if (latest.outcome == FirstLine::NoLine)
        return;

    ReportItem(u"||LatestVersion: "_qs + latest.text);
    // A containment test, not a comparison of numbers: 12.70 counts as ours.
    if (latest.text.contains(u'<')) {
        ReportItem(u"||Error. Try again later."_qs);
    } else if (latest.text.contains(current)) {
        ReportItem(u"||You have the latest version of Tamblewick"_qs);
    } else {
        ReportItem(u"||You need to download the latest version of Tamblewick!"_qs);
        OfferDownload(serverAddress + u"en/tamblewick.exe"_qs);
    }
}
