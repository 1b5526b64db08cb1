#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "history/history_list.h"
#include "history/log_file.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QDate>
#include <QDir>
#include <QPushButton>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <set>
#include <sys/syscall.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tw::test::ModalWatcher;

namespace {

const QString kSeparator(73, u'-');
const QString kStamp12 = u"[05/17/02][03:45:12 PM]"_qs;
const QString kStamp13 = u"[05/17/02][03:45:13 PM]"_qs;

struct Row {
    QString text;
    QString stamp;
};

QString Version() {
    return QString::fromStdString(platform::ProgramVersion());
}

// The lines of a log joined with CR LF, the last one without a line break.
std::string Lines(const QStringList& lines) {
    return lines.join(u"\r\n"_qs).toStdString();
}

std::string TodaysName(int counter = 0) {
    const QString date = QDate::currentDate().toString(u"MM-dd-yy"_qs);
    return (counter == 0 ? date : date + u"-"_qs + QString::number(counter)).toStdString() + ".txt";
}

std::set<std::string> FileNames(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

// Root ignores permission bits; without this capability it meets them like everyone else.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        syscall(SYS_capset, &header_, reduced);
    }
    ~WithoutPermissionOverride() { syscall(SYS_capset, &header_, saved_); }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
};

class LogFile : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        tw::test::MarkNotFirstStart();
        history = std::make_unique<HistoryList>();
        history->Icons().ResetIcons();
        history->InsertColumn(0, u"File\\Error"_qs, 100);
        history->InsertColumn(1, u"Date"_qs, 0);
        fs::create_directories(program);
        platform::shell::SetOpenRecorder([this](const QUrl& url) { opened << url.toLocalFile(); });
    }
    void TearDown() override { platform::shell::SetOpenRecorder({}); }

    void Add(const QList<Row>& rows) {
        for (const Row& row : rows)
            history->SetItemText(history->InsertItem(history->ItemCount(), row.text, 1), 1,
                                 row.stamp);
    }

    void Write() { WriteLogFile(*history, nullptr, ProgramFolder()); }

    QString ProgramFolder() const { return QString::fromStdString(program.string() + "/"); }

    std::unique_ptr<HistoryList> history;
    const fs::path program = tw::test::CurrentHome().work / "program";
    const fs::path logs = program / "logs";
    QStringList opened;
};

TEST_F(LogFile, TheWorkedExampleComesOutByteForByteAndTheFolderOpens) {
    Add({{u"Archive: a.zip"_qs, kStamp12},
         {u"Destination: C:\\out\\"_qs, kStamp12},
         {u"Created C:\\out\\a\\"_qs, kStamp12},
         {u"Processed C:\\out\\a\\x.txt"_qs, kStamp13},
         {u"Done"_qs, {}}});
    Write();
    ASSERT_EQ(FileNames(logs), std::set{TodaysName()});
    EXPECT_EQ(tw::test::ReadFile(logs / TodaysName()),
              Lines({{},
                     u"TAMBLEWICK "_qs + Version(),
                     {},
                     kSeparator,
                     u"Archive: a.zip"_qs,
                     u"Destination: C:\\out\\"_qs,
                     kSeparator,
                     u"[05/17/02]"_qs,
                     {},
                     u"[03:45:12 PM] Created C:\\out\\a\\"_qs,
                     {},
                     {},
                     u"[03:45:13 PM] Processed C:\\out\\a\\x.txt"_qs,
                     {},
                     kSeparator}));
    EXPECT_EQ(opened, QStringList(QString::fromStdString(logs.string() + "/")));
}

TEST_F(LogFile, RowsBecomeLinesByTheirKind) {
    const struct {
        const char* name;
        QList<Row> rows;
        QStringList linesAfterHeader;
    } cases[] = {
        {"only Done", {{u"Done"_qs, {}}}, {{}, kSeparator}},
        {"archive as the last row",
         {{u"Processed a.txt"_qs, kStamp12}, {u"Archive: b.zip"_qs, kStamp13}},
         {{},
          u"[03:45:12 PM] Processed a.txt"_qs,
          {},
          kSeparator,
          u"Archive: b.zip"_qs,
          {},
          kSeparator,
          {},
          kSeparator}},
        {"error and update-check rows",
         {{u"Error: Not a valid archive"_qs, kStamp12},
          {u"You have the latest version."_qs, kStamp13}},
         {{},
          u"[03:45:12 PM] Error: Not a valid archive"_qs,
          {},
          u"[03:45:13 PM] You have the latest version."_qs,
          {},
          kSeparator}},
    };
    for (const auto& c : cases) {
        history->DeleteAllItems();
        fs::remove_all(logs);
        Add(c.rows);
        Write();
        ASSERT_EQ(FileNames(logs), std::set{TodaysName()}) << c.name;
        EXPECT_EQ(tw::test::ReadFile(logs / TodaysName()),
                  Lines(QStringList{{}, u"TAMBLEWICK "_qs + Version()} + c.linesAfterHeader))
            << c.name;
    }
}

TEST_F(LogFile, PressesOfOneDayCountUpAndAFreedNameIsTakenAgain) {
    Add({{u"Processed a.txt"_qs, kStamp12}});
    for (int press = 0; press < 3; ++press)
        Write();
    EXPECT_EQ(FileNames(logs), (std::set{TodaysName(), TodaysName(1), TodaysName(2)}));
    const std::string first = tw::test::ReadFile(logs / TodaysName());
    EXPECT_EQ(tw::test::ReadFile(logs / TodaysName(2)), first);

    fs::remove(logs / TodaysName());
    Write();
    EXPECT_EQ(FileNames(logs), (std::set{TodaysName(), TodaysName(1), TodaysName(2)}));
    EXPECT_EQ(tw::test::ReadFile(logs / TodaysName()), first);
    EXPECT_EQ(opened.size(), 4);
}

TEST_F(LogFile, AnEmptyHistoryHasNothingToWriteAlsoFromTheButton) {
    ModalWatcher watcher;
    Write();
    MainDialog dialog({});
    dialog.Start();
    dialog.SwitchView(true);
    dialog.findChild<QPushButton*>(QString::number(ids::IDC_WRITE_LOG))->click();
    EXPECT_EQ(watcher.Texts(), QStringList({u"Nothing to write."_qs, u"Nothing to write."_qs}));
    for (const auto& box : watcher.Boxes()) {
        EXPECT_EQ(box.title, u"Error");
        EXPECT_EQ(box.icon, QMessageBox::Warning);
    }
    EXPECT_FALSE(fs::exists(logs));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(LogFile, TheButtonWritesBesideTheProgram) {
    ModalWatcher watcher;
    MainDialog dialog({});
    dialog.Start();
    dialog.SwitchView(true);
    dialog.History().AddTextEntry(u"||Button press"_qs);
    const fs::path besideProgram = fs::path(ModuleFolder().toStdString()) / "logs";
    const std::set<std::string> before = FileNames(besideProgram);
    dialog.findChild<QPushButton*>(QString::number(ids::IDC_WRITE_LOG))->click();
    EXPECT_TRUE(watcher.Texts().isEmpty()) << watcher.Texts().join(u"\n"_qs).toStdString();
    ASSERT_EQ(opened, QStringList(QString::fromStdString(besideProgram.string() + "/")));
    std::vector<std::string> written;
    for (const std::string& name : FileNames(besideProgram))
        if (!before.contains(name))
            written.push_back(name);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_NE(tw::test::ReadFile(besideProgram / written[0]).find("] Button press\r\n"),
              std::string::npos);
    fs::remove(besideProgram / written[0]);
}

TEST_F(LogFile, AReadOnlyProgramFolderSendsTheLogToTheUsersDataFolder) {
    Add({{u"Processed a.txt"_qs, kStamp12}});
    const fs::path own = tw::test::CurrentHome().data / "tamblewick" / "logs";
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
    {
        const WithoutPermissionOverride asOrdinaryUser;
        Write();
    }
    fs::permissions(program, fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(logs));
    EXPECT_EQ(FileNames(own), std::set{TodaysName()});
    EXPECT_EQ(opened, QStringList(QString::fromStdString(own.string() + "/")));
}

TEST_F(LogFile, AFileThatCannotBeCreatedIsNamedWithTheCauseAndNothingOpens) {
    Add({{u"Processed a.txt"_qs, kStamp12}});
    tw::test::WriteFile(logs, "a file where the folder should be");
    tw::test::WriteFile(tw::test::CurrentHome().data / "tamblewick" / "logs", "and here");
    ModalWatcher watcher;
    Write();
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].title, u"Error");
    const QString expectedPath = QString::fromStdString(
        (tw::test::CurrentHome().data / "tamblewick" / "logs" / TodaysName()).string());
    EXPECT_TRUE(watcher.Texts()[0].contains(expectedPath)) << watcher.Texts()[0].toStdString();
    EXPECT_TRUE(watcher.Texts()[0].contains(u"Not a directory"))
        << watcher.Texts()[0].toStdString();
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
