// The Send To launchers, run the way each file manager runs them.
#include "desktop_fixture.h"
#include "platform/shell_link.h"
#include "settings/send_to_link.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using tw::test::DataPath;
using tw::test::ReadBytes;
using tw::test::WriteBytes;

const QString kThunar = u"Thunar/sendto/Tamblewick.desktop"_qs;
const QString kNautilus = u"nautilus/scripts/Tamblewick"_qs;
const QString kDolphin = u"kio/servicemenus/Tamblewick.desktop"_qs;

QString Work(const QString& relative) {
    return QString::fromStdString(tw::test::CurrentHome().work.string()) + u'/' + relative;
}

QString RecordPath() {
    return Work(u"received.txt"_qs);
}

// A stand-in program in a folder whose name needs every kind of quoting; it writes down the
// arguments it was given, one a line, into a file that appears complete.
QString WriteRecorder() {
    const QString path = Work(u"my \"tools\" $HOME `x` \\/record"_qs);
    const QByteArray record = RecordPath().toUtf8();
    WriteBytes(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record +
                         ".part' && mv '" + record + ".part' '" + record + "'\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString ExecLineOf(const QByteArray& entry) {
    for (const QByteArray& line : entry.split('\n'))
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line);
    return {};
}

// Starts the desktop entry for two files as GIO does, and returns what the program received.
QByteArray LaunchedWith(const QString& gio, const QString& entryPath, const QStringList& files) {
    QFile::remove(RecordPath());
    QProcess::execute(gio, QStringList{u"launch"_qs, entryPath} + files);
    tw::test::WaitUntil([] { return QFileInfo::exists(RecordPath()); }, 10000);
    return ReadBytes(RecordPath());
}

class SendTo : public testing::Test {
protected:
    void SetUp() override { tw::test::EnsureApplication(); }

    int Create(const QString& target, const QString& description, QStringList* messages) {
        tw::test::ModalWatcher watcher;
        const int result = CreateShellLink(target, kSendToLinkName, description);
        for (const auto& box : watcher.Boxes())
            EXPECT_EQ(box.title, u"Tamblewick"_qs);
        *messages = watcher.Texts();
        return result;
    }
};

TEST_F(SendTo, EachFileManagerHandsTheSelectedFilesToTheProgram) {
    const QString recorder = WriteRecorder();
    QStringList messages;
    EXPECT_EQ(Create(recorder, u"Tamblewick"_qs, &messages), 0);
    EXPECT_TRUE(messages.isEmpty());
    const QStringList files = {Work(u"a b.zip"_qs), Work(u"c'd.rar"_qs)};
    const QByteArray expected = (files.join(u'\n') + u'\n').toUtf8();

    // Nautilus runs the script with the selected files as its arguments.
    EXPECT_TRUE(QFileInfo(DataPath(kNautilus)).isExecutable());
    QFile::remove(RecordPath());
    EXPECT_EQ(QProcess::execute(DataPath(kNautilus), files), 0);
    EXPECT_EQ(ReadBytes(RecordPath()), expected);

    const QByteArray thunar = ReadBytes(DataPath(kThunar));
    const QByteArray dolphin = ReadBytes(DataPath(kDolphin));
    EXPECT_TRUE(thunar.startsWith("[Desktop Entry]\nType=Application\n"));
    EXPECT_TRUE(thunar.contains("\nName=Tamblewick\n"));
    EXPECT_TRUE(thunar.contains("\nComment=Tamblewick\n"));
    EXPECT_TRUE(dolphin.contains("\nType=Service\n"));
    EXPECT_TRUE(dolphin.contains("\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"));
    EXPECT_TRUE(dolphin.contains("\nMimeType=all/all;\n"));
    EXPECT_TRUE(QFileInfo(DataPath(kDolphin)).isExecutable());
    EXPECT_TRUE(ExecLineOf(thunar).endsWith(u" %F"_qs));
    EXPECT_EQ(ExecLineOf(thunar), ExecLineOf(dolphin));

    const QString gio = QStandardPaths::findExecutable(u"gio"_qs);
    if (gio.isEmpty())
        GTEST_SKIP() << "gio is not installed to run the desktop entries";
    EXPECT_EQ(LaunchedWith(gio, DataPath(kThunar), files), expected);
    // Dolphin's action has the same Exec; GIO runs it from an application entry.
    const QString dolphinAction = Work(u"dolphin-action.desktop"_qs);
    WriteBytes(dolphinAction, "[Desktop Entry]\nType=Application\nName=Action\n" +
                                  ExecLineOf(dolphin).toUtf8() + "\n");
    EXPECT_EQ(LaunchedWith(gio, dolphinAction, files), expected);
}

TEST_F(SendTo, ExecQuotesTheProgramAsTheDesktopEntryRulesAsk) {
    struct Case {
        QString target;
        QByteArray exec; // as the file stores it
    };
    const Case cases[] = {
        {u"/opt/tw/tamblewick"_qs, R"(Exec="/opt/tw/tamblewick" %F)"},
        {u"/opt/my tools/tw"_qs, R"(Exec="/opt/my tools/tw" %F)"},
        {u"/opt/100%/tw"_qs, R"(Exec="/opt/100%%/tw" %F)"},
        {u"/opt/\"q\" $x `y`/tw"_qs, R"(Exec="/opt/\\"q\\" \\$x \\`y\\`/tw" %F)"},
        {u"/opt/back\\slash/tw"_qs, R"(Exec="/opt/back\\\\slash/tw" %F)"},
    };
    for (const Case& c : cases) {
        QStringList messages;
        EXPECT_EQ(Create(c.target, u"Tamblewick"_qs, &messages), 0);
        EXPECT_EQ(ExecLineOf(ReadBytes(DataPath(kThunar))).toUtf8(), c.exec);
    }
}

TEST_F(SendTo, RewritingAndRemovingTouchOnlyOurLaunchers) {
    const QStringList others = {u"Thunar/sendto/other.desktop"_qs, u"nautilus/scripts/Other"_qs,
                                u"kio/servicemenus/other.desktop"_qs};
    for (const QString& other : others)
        WriteBytes(DataPath(other), "someone else's\n");
    WriteBytes(DataPath(kThunar), "an old launcher\n");

    QStringList messages;
    EXPECT_EQ(Create(u"/opt/tw/tamblewick"_qs, u"Tamblewick"_qs, &messages), 0);
    const QByteArray first = ReadBytes(DataPath(kThunar));
    EXPECT_TRUE(first.contains("Exec=\"/opt/tw/tamblewick\" %F\n"));
    EXPECT_EQ(Create(u"/opt/tw/tamblewick"_qs, u"Tamblewick"_qs, &messages), 0);
    EXPECT_EQ(ReadBytes(DataPath(kThunar)), first);

    for (const QString& folder :
         {u"Thunar/sendto"_qs, u"nautilus/scripts"_qs, u"kio/servicemenus"_qs})
        EXPECT_EQ(QDir(DataPath(folder)).entryList(QDir::Files | QDir::Hidden).size(), 2)
            << folder.toStdString();
    RemoveShellLink(kSendToLinkName);
    for (const QString& ours : {kThunar, kNautilus, kDolphin})
        EXPECT_FALSE(QFileInfo::exists(DataPath(ours)));
    for (const QString& other : others)
        EXPECT_EQ(ReadBytes(DataPath(other)), "someone else's\n");
}

TEST_F(SendTo, FailuresShowTheirMessagesAndTheResultSaysSo) {
    QStringList messages;
    EXPECT_LT(Create(u"tamblewick"_qs, u"Tamblewick"_qs, &messages), 0);
    EXPECT_EQ(messages, QStringList(u"SetPath failed!"_qs));
    EXPECT_FALSE(QFileInfo::exists(DataPath(kThunar)));

    EXPECT_EQ(Create(u"/opt/tw/tamblewick"_qs, u"two\nlines"_qs, &messages), 0);
    EXPECT_EQ(messages, QStringList(u"SetDescription failed!"_qs));
    EXPECT_FALSE(ReadBytes(DataPath(kThunar)).contains("Comment="));

    // A data folder that cannot exist: its parent is a file.
    WriteBytes(Work(u"plain-file"_qs), "x");
    qputenv("XDG_DATA_HOME", Work(u"plain-file/data"_qs).toUtf8());
    EXPECT_LT(Create(u"/opt/tw/tamblewick"_qs, u"Tamblewick"_qs, &messages), 0);
    EXPECT_EQ(messages, QStringList(u"Could not create shell link!"_qs));
}

} // namespace
