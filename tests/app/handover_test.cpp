// Two real copies of the program sharing one settings store and one temporary folder.
#include "app/startup.h"
#include "platform/instance_channel.h"
#include "platform/registry.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "support/temp_home.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QString kSavedList = kProgramKey + u"\\LoadOnRun"_qs;
const QString kForwarding = kProgramKey + u"\\AddItem"_qs;

QString Program() {
    return QString::fromStdString((tw::test::BinDir() / "tamblewick").string());
}

QString Work(const char* name) {
    return QString::fromStdString((tw::test::CurrentHome().work / name).string());
}

void Start(QProcess& process, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    process.setProcessEnvironment(environment);
    process.start(Program(), arguments);
    ASSERT_TRUE(process.waitForStarted());
}

bool WaitForChannel(int timeoutMs = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (platform::instance::RunningCopyExists(WindowTitle()))
            return true;
        QThread::msleep(50);
    }
    return false;
}

void Terminate(QProcess& process) {
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(15000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
}

QString ChannelPath() {
    return QDir(QDir::tempPath()).filePath(platform::instance::ChannelName(WindowTitle()));
}

// A socket file at the channel's place: listening (but never answering) or left behind.
int BindChannel(bool listening) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray path = ChannelPath().toLocal8Bit();
    std::memcpy(address.sun_path, path.constData(), std::min<size_t>(path.size(), 100));
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    if (listening)
        listen(fd, 4);
    return fd;
}

class HandOverTest : public testing::Test {
protected:
    void SetUp() override {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "handover-test";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
    }
};

TEST_F(HandOverTest, SecondCopyHandsItsPathsToTheFirstAndEnds) {
    QProcess first;
    Start(first, {});
    ASSERT_TRUE(WaitForChannel());

    QProcess second;
    Start(second, {Work("a b.zip"), Work("c.zip")});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(platform::registry::KeyExists(HKEY_LOCAL_MACHINE, kForwarding.toStdString()));

    Terminate(first);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kSavedList, u"0"_qs, 0), 3u);
    const QString sample =
        QString::fromStdString((tw::test::BinDir() / "testarchive.zip").string());
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSavedList, u"1"_qs, {}), sample);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSavedList, u"2"_qs, {}), Work("c.zip"));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSavedList, u"3"_qs, {}), Work("a b.zip"));
}

TEST_F(HandOverTest, ChannelLeftByACrashedCopyDoesNotBlockANewStart) {
    const int stale = BindChannel(false);
    close(stale);
    QProcess copy;
    Start(copy, {Work("a.zip")});
    EXPECT_TRUE(WaitForChannel());
    EXPECT_EQ(copy.state(), QProcess::Running);
    Terminate(copy);
}

TEST_F(HandOverTest, ACopyThatNeverAnswersDoesNotHoldTheSecondForever) {
    const int silent = BindChannel(true);
    QElapsedTimer clock;
    clock.start();
    QProcess second;
    Start(second, {Work("a.zip")});
    ASSERT_TRUE(second.waitForFinished(kHandOverTimeoutMs + 10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_GE(clock.elapsed(), kHandOverTimeoutMs);
    // Nothing is lost: the path waits in the key for the next hand-over.
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kForwarding, u"1"_qs, {}), Work("a.zip"));
    close(silent);
}

TEST_F(HandOverTest, WithoutADisplayTheProgramSaysSo) {
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char16_t* name : {u"QT_QPA_PLATFORM", u"DISPLAY", u"WAYLAND_DISPLAY"})
        environment.remove(QString::fromUtf16(name));
    copy.setProcessEnvironment(environment);
    copy.start(Program(), {});
    ASSERT_TRUE(copy.waitForFinished(15000));
    EXPECT_EQ(copy.exitCode(), 2);
    EXPECT_TRUE(copy.readAllStandardError().contains("no display"));
}

} // namespace
