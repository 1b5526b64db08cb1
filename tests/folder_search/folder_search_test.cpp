#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "archives/archive_list.h"
#include "archives/file_list_ctrl.h"
#include "archives/folder_walk.h"
#include "archives/search_dialog.h"
#include "auxiliary/folder_browser.h"
#include "extract/messages.h"
#include "extract/run_state.h"
#include "platform/instance_channel.h"
#include "platform/registry.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

QStringList Rows(const FileListCtrl& list) {
    QStringList paths;
    for (int row = 0; row < list.ItemCount(); ++row)
        paths << list.ItemText(row, 1) + list.ItemText(row, 0);
    return paths;
}

// What the walk finds, in its order: the rows a search must produce.
QStringList WalkOrder(const QString& folder) {
    QStringList found;
    const std::atomic<bool> stop{false};
    WalkFolderForArchives(folder, {{}, [&](const QString& path) { found << path; }}, stop);
    return found;
}

int VisibleSearchDialogs() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<SearchDialog*>(widget) && widget->isVisible();
    return count;
}

// Hands every report on to the window, and lets the test step in at the first archive found,
// while the search that found it is still running.
class Interposer : public ReportReceiver {
public:
    Interposer(MainDialog& window, std::function<void()> atFirstFind)
        : window_(window), atFirstFind_(std::move(atFirstFind)) {
        UiLinks().mainWindow = this;
    }
    ~Interposer() { UiLinks().mainWindow = &window_; }

    platform::LRESULT WindowProc(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override {
        const platform::LRESULT result = window_.WindowProc(message, wParam, lParam);
        if (message == UM_ADDITEM && atFirstFind_)
            std::exchange(atFirstFind_, {})();
        return result;
    }
    void RefreshCounters() override { window_.RefreshCounters(); }
    void AddCrcOkEntry() override { window_.AddCrcOkEntry(); }

private:
    MainDialog& window_;
    std::function<void()> atFirstFind_;
};

class FolderSearch : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        tw::test::MarkNotFirstStart();
        for (const char* file :
             {"a.zip", "b.rar", "setup.exe", "disk.001", "readme.txt", "Sub Folder/c.ace",
              "Sub Folder/Deeper/d.JAR", "pack.zip/e.zip", "auto;run/f.zip"})
            tw::test::WriteFile(work / "tree" / file, "x");
        for (const char* file : {"one.zip", "inner/two.rar"})
            tw::test::WriteFile(work / "other" / file, "x");
    }

    std::unique_ptr<MainDialog> Open(const QString& commandLine = {}) {
        auto dialog = std::make_unique<MainDialog>(commandLine);
        dialog->Start();
        return dialog;
    }

    QString Path(const char* relative) const {
        return QString::fromStdString((work / relative).string());
    }

    fs::path work = tw::test::CurrentHome().work;
};

TEST_F(FolderSearch, AFolderListsEveryArchiveBelowItUnderItsRealPath) {
    auto dialog = Open();
    AddToArchiveList(Path("tree"), dialog->ArchiveList());
    const QStringList rows = Rows(dialog->ArchiveList());
    EXPECT_EQ(rows, WalkOrder(Path("tree")));
    EXPECT_EQ(rows.size(), 6) << rows.join(u'\n').toStdString();
    EXPECT_TRUE(rows.contains(Path("tree/Sub Folder/Deeper/d.JAR")));
    EXPECT_TRUE(rows.contains(Path("tree/auto;run/f.zip"))) << "a name, not a switch";
    EXPECT_FALSE(RunInProgress);

    // A folder named like an archive is searched, then listed itself.
    dialog->ArchiveList().DeleteAllItems();
    AddToArchiveList(Path("tree/pack.zip"), dialog->ArchiveList());
    EXPECT_EQ(Rows(dialog->ArchiveList()),
              QStringList({Path("tree/pack.zip/e.zip"), Path("tree/pack.zip")}));
}

TEST_F(FolderSearch, DroppedOrNamedOnTheCommandLineAFolderIsSearched) {
    auto dialog = Open();
    tw::test::ModalWatcher watcher;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("tree"))});
    QWidget* viewport = dialog->ArchiveList().ActiveView()->viewport();
    QDragEnterEvent enter(viewport->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(viewport->rect().center()), Qt::CopyAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(tw::test::WaitUntil([&] { return dialog->ArchiveList().ItemCount() == 6; }));
    EXPECT_EQ(Rows(dialog->ArchiveList()), WalkOrder(Path("tree")));
    EXPECT_TRUE(watcher.Texts().isEmpty()) << "a folder is not a non-archive";

    dialog.reset();
    dialog = Open(u"\""_qs + Path("other") + u"\""_qs);
    EXPECT_EQ(Rows(dialog->ArchiveList()), WalkOrder(Path("other")));
}

TEST_F(FolderSearch, TheContextMenuSearchesTheChosenFolder) {
    auto dialog = Open();
    const auto answerBrowser = [&](bool choose) {
        QTimer::singleShot(50, [&, choose] {
            auto* browser = qobject_cast<FolderBrowserDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(browser, nullptr);
            QStringList texts;
            for (const QLabel* label : browser->findChildren<QLabel*>())
                texts << label->text();
            EXPECT_TRUE(texts.contains(u"Select a folder to search for archives :"_qs));
            EXPECT_EQ(browser->findChild<QCheckBox*>(), nullptr);
            if (!choose)
                return browser->reject();
            browser->SelectPath(Path("other"));
            browser->accept();
        });
    };
    answerBrowser(false);
    dialog->OnCommand(ids::ID_LIST_SEARCH);
    EXPECT_EQ(dialog->ArchiveList().ItemCount(), 0);

    answerBrowser(true);
    dialog->OnCommand(ids::ID_LIST_SEARCH);
    EXPECT_EQ(Rows(dialog->ArchiveList()), WalkOrder(Path("other")));
}

TEST_F(FolderSearch, StopKeepsTheArchivesFoundSoFar) {
    auto dialog = Open();
    Interposer interposer(*dialog, [] {
        auto* search = qobject_cast<SearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        search->findChild<QPushButton*>(QString::number(SearchDialog::IDC_STOP))->click();
    });
    AddToArchiveList(Path("tree"), dialog->ArchiveList());
    EXPECT_EQ(Rows(dialog->ArchiveList()), WalkOrder(Path("tree")).mid(0, 1));
    EXPECT_EQ(VisibleSearchDialogs(), 0);
}

TEST_F(FolderSearch, AFolderHandedOverDuringASearchIsSearchedAfterIt) {
    auto dialog = Open();
    const QString key = kProgramKey + u"\\AddItem"_qs;
    int rowsRightAfterHandOver = -1;
    int searchDialogsDuringHandOver = 0;
    Interposer interposer(*dialog, [&] {
        // What a second copy started with the other folder does.
        WriteString(HKEY_LOCAL_MACHINE, key, u"1"_qs, Path("other"));
        WriteDword(HKEY_LOCAL_MACHINE, key, u"0"_qs, 1);
        dialog->WindowProc(UM_ADDITEM, 0, 0);
        rowsRightAfterHandOver = dialog->ArchiveList().ItemCount();
        searchDialogsDuringHandOver = VisibleSearchDialogs();
    });
    AddToArchiveList(Path("tree"), dialog->ArchiveList());

    EXPECT_EQ(rowsRightAfterHandOver, 1) << "the handed-over folder waits for the running search";
    EXPECT_EQ(searchDialogsDuringHandOver, 1);
    EXPECT_EQ(Rows(dialog->ArchiveList()), WalkOrder(Path("tree")) + WalkOrder(Path("other")));
    EXPECT_FALSE(platform::registry::KeyExists(HKEY_LOCAL_MACHINE, key.toStdString()));
    EXPECT_EQ(VisibleSearchDialogs(), 0);
}

TEST_F(FolderSearch, AHandOverWhoseSenderGaveUpDuringTheSearchIsStillServedSafely) {
    auto dialog = Open();
    const QString key = kProgramKey + u"\\AddItem"_qs;
    WriteString(HKEY_LOCAL_MACHINE, key, u"1"_qs, Path("tree"));
    WriteDword(HKEY_LOCAL_MACHINE, key, u"0"_qs, 1);
    std::atomic<bool> senderDone{false};
    bool answered = true;
    Interposer interposer(*dialog, [&] {
        // The second copy stops waiting while the search it started still runs.
        EXPECT_TRUE(tw::test::WaitUntil([&] { return senderDone.load(); }));
        tw::test::WaitUntil([] { return false; }, 100);
    });
    std::thread sender([&] {
        answered = platform::instance::SendToRunningCopy(dialog->windowTitle(), UM_ADDITEM, 100);
        senderDone = true;
    });
    EXPECT_TRUE(tw::test::WaitUntil([&] { return dialog->ArchiveList().ItemCount() == 6; }));
    sender.join();
    EXPECT_FALSE(answered);
    EXPECT_EQ(Rows(dialog->ArchiveList()), WalkOrder(Path("tree")));
    tw::test::WaitUntil([] { return false; }, 100);
}

} // namespace
