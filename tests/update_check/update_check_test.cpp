#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "auxiliary/update_check.h"
#include "auxiliary/update_check_fetch.h"
#include "auxiliary/update_check_threads.h"
#include "history/history_list.h"
#include "platform/shell.h"
#include "settings/settings_store.h"
#include "support/report_recorder.h"
#include "ui_support/ui_test_support.h"
#include "update_check/test_http_server.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <ostream>
#include <thread>

// Readable failure messages for the history lines.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

using tw::test::ModalWatcher;
using tw::test::TestHttpServer;

namespace {

const QString kChecking = u"item|||Checking for the latest version of Tamblewick"_qs;
const QString kCurrent = u"item|||CurrentVersion: 2.70"_qs;
const QString kLatest = u"item|||You have the latest version of Tamblewick"_qs;
const QString kDownload = u"item|||You need to download the latest version of Tamblewick!"_qs;
const QString kNoConnection = u"item|||Error connecting to internet!"_qs;
const QString kQuestion =
    u"A newer version of Tamblewick has been found on the internet.\t\n\nDownload Now?"_qs;

class UpdateCheck : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        platform::shell::SetOpenRecorder([this](const QUrl& url) { opened << url.toString(); });
    }
    void TearDown() override { platform::shell::SetOpenRecorder({}); }

    // One check on a thread of its own while this thread serves its reports and dialogs.
    QStringList Check(const QString& address,
                      std::chrono::milliseconds timeout = kUpdateCheckTimeout) {
        recorder.Clear();
        std::atomic<bool> done = false;
        std::thread check([&] {
            RunUpdateCheck(address, timeout);
            done = true;
        });
        EXPECT_TRUE(tw::test::WaitUntil([&] { return done.load(); }, 15000));
        check.join();
        return recorder.Messages();
    }

    tw::test::ReportRecorder recorder;
    QStringList opened;
};

TEST_F(UpdateCheck, DecidesByTheFirstLineOfTheVersionFile) {
    struct Case {
        QByteArray answer;
        QStringList after; // the lines after the two starting ones
        bool question;
    };
    const QByteArray htmlPage = "<html><head><title>404 Not Found</title></head></html>\n";
    const Case cases[] = {
        {TestHttpServer::Response("2.70\n"), {"item|||LatestVersion: 2.70", kLatest}, false},
        {TestHttpServer::Response("2.71\n"), {"item|||LatestVersion: 2.71", kDownload}, true},
        {TestHttpServer::Response("2.7"), {"item|||LatestVersion: 2.7", kDownload}, true},
        {TestHttpServer::Response("12.70"), {"item|||LatestVersion: 12.70", kLatest}, false},
        {TestHttpServer::Response("Version 2.70 (stable)\r\n3.00\n"),
         {"item|||LatestVersion: Version 2.70 (stable)", kLatest},
         false},
        {TestHttpServer::Response("<2.70>\n"),
         {"item|||LatestVersion: <2.70>", "item|||Error. Try again later."},
         false},
        {TestHttpServer::Response(htmlPage, 404),
         {"item|||LatestVersion: " + QString::fromUtf8(htmlPage.trimmed()),
          "item|||Error. Try again later."},
         false},
        {TestHttpServer::Response(""), {}, false},
        {TestHttpServer::Response("", 404), {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        TestHttpServer server(c.answer);
        ModalWatcher watcher;
        EXPECT_EQ(Check(server.Address()), QStringList({kChecking, kCurrent}) + c.after);
        ASSERT_EQ(watcher.Boxes().size(), c.question ? 1 : 0);
        if (c.question) {
            EXPECT_EQ(watcher.Boxes()[0].title, u"Tamblewick"_qs);
            EXPECT_EQ(watcher.Boxes()[0].text, kQuestion);
            EXPECT_EQ(watcher.Boxes()[0].icon, QMessageBox::Question);
        }
        EXPECT_TRUE(opened.isEmpty()) << "nothing opens unless the answer is Yes";
        ASSERT_EQ(server.Requests().size(), 1);
        EXPECT_TRUE(server.Requests()[0].startsWith("GET /en/latest.txt HTTP/1.1\r\n"));
        EXPECT_TRUE(server.Requests()[0].contains("\r\nUser-Agent: Tamblewick\r\n"));
    }
}

TEST_F(UpdateCheck, YesOpensTheDownloadBelowTheServerAddress) {
    TestHttpServer server(TestHttpServer::Response("2.71\n"));
    QTimer answerYes;
    QObject::connect(&answerYes, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    answerYes.start(10);
    EXPECT_EQ(Check(server.Address()),
              QStringList({kChecking, kCurrent, "item|||LatestVersion: 2.71", kDownload}));
    EXPECT_EQ(opened, QStringList{server.Address() + "en/tamblewick.exe"});
}

TEST_F(UpdateCheck, WithoutAnAnswerReportsExactlyThreeLines) {
    const QStringList failed = {kChecking, kCurrent, kNoConnection};
    EXPECT_EQ(Check(tw::test::AddressWithoutServer()), failed) << "nothing listens";
    EXPECT_EQ(Check(u"no address at all"_qs), failed);

    TestHttpServer closes; // accepts and closes without a byte
    EXPECT_EQ(Check(closes.Address()), failed);

    TestHttpServer silent({}, true);
    EXPECT_EQ(Check(silent.Address(), std::chrono::milliseconds(300)), failed)
        << "a server that never answers";

    TestHttpServer trickles("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n", true, 50);
    EXPECT_EQ(Check(trickles.Address(), std::chrono::milliseconds(300)), failed)
        << "a first line that never ends";

    TestHttpServer stops("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n2.7", true);
    EXPECT_EQ(Check(stops.Address(), std::chrono::milliseconds(300)), failed)
        << "a line cut off by silence is no answer";
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(UpdateCheck, ReadsOnlyTheStartOfAHugeAnswer) {
    // Both answers promise far more than they send and then fall silent: waiting for the rest
    // would end in the timeout and its error line.
    const QByteArray huge = "HTTP/1.1 200 OK\r\nContent-Length: 1000000000\r\n\r\n";
    TestHttpServer firstLine(huge + "2.70\n" + QByteArray(256 * 1024, 'x'), true);
    EXPECT_EQ(Check(firstLine.Address(), std::chrono::seconds(3)),
              QStringList({kChecking, kCurrent, "item|||LatestVersion: 2.70", kLatest}));

    TestHttpServer endlessLine(huge + QByteArray(256 * 1024, '<'), true);
    EXPECT_EQ(
        Check(endlessLine.Address(), std::chrono::seconds(3)),
        QStringList({kChecking, kCurrent, "item|||LatestVersion: " + QString(kFirstLineLimit, u'<'),
                     "item|||Error. Try again later."}));
}

TEST_F(UpdateCheck, TheServerAddressIsABuildSettingThatTheRegistryReplaces) {
    EXPECT_EQ(UpdateServerAddress(), QStringLiteral(TW_UPDATE_SERVER));
    TestHttpServer server(TestHttpServer::Response("2.70\n"));
    const QString withoutSlash = server.Address().chopped(1);
    WriteString(HKEY_LOCAL_MACHINE, kProgramKey, u"Update Server"_qs, withoutSlash);
    EXPECT_EQ(UpdateServerAddress(), server.Address());

    StartUpdateCheck();
    WaitForUpdateChecks();
    EXPECT_EQ(recorder.Messages(),
              QStringList({kChecking, kCurrent, "item|||LatestVersion: 2.70", kLatest}));
}

TEST(UpdateCheckFromWindowMenu, ShowsTheHistoryAndFillsIt) {
    tw::test::EnsureApplication();
    tw::test::MarkNotFirstStart();
    TestHttpServer server(TestHttpServer::Response("2.70\n"));
    WriteString(HKEY_LOCAL_MACHINE, kProgramKey, u"Update Server"_qs, server.Address());
    const QStringList rows = {u"Checking for the latest version of Tamblewick"_qs,
                              u"CurrentVersion: 2.70"_qs, u"LatestVersion: 2.70"_qs,
                              u"You have the latest version of Tamblewick"_qs};

    auto dialog = std::make_unique<MainDialog>(QString());
    dialog->Start();
    dialog->WindowMenu().ActionFor(ids::IDM_CHECKVERSION)->trigger();
    EXPECT_TRUE(dialog->History().isVisible());
    const auto shown = [&dialog] {
        QStringList texts;
        for (int row = 0; row < dialog->History().ItemCount(); ++row)
            texts << dialog->History().ItemText(row, 0);
        return texts;
    };
    EXPECT_TRUE(tw::test::WaitUntil([&] { return shown().size() == rows.size(); }));
    EXPECT_EQ(shown(), rows);

    // A window that goes while checks still report waits for them.
    dialog->WindowMenu().ActionFor(ids::IDM_CHECKVERSION)->trigger();
    dialog->WindowMenu().ActionFor(ids::IDM_CHECKVERSION)->trigger();
    dialog.reset();
    EXPECT_EQ(server.Requests().size(), 3);
}

} // namespace
