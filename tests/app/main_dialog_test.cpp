#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "archives/archive_list.h"
#include "archives/file_list_ctrl.h"
#include "archives/naming.h"
#include "extract/messages.h"
#include "extract/run_state.h"
#include "history/history_list.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextDocumentFragment>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

using namespace ids;
using tw::test::ModalWatcher;

namespace {

QStringList Column(const FileListCtrl& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.ItemCount(); ++row)
        texts << list.ItemText(row, column);
    return texts;
}

QString Work(const QString& name) {
    return QString::fromStdString((tw::test::CurrentHome().work / name.toStdString()).string());
}

void Drop(FileListCtrl& list, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* viewport = list.ActiveView()->viewport();
    const QPoint at = viewport->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    // The list takes the paths once the drop has completed.
    QCoreApplication::sendPostedEvents();
}

bool ValueExists(const QString& key, const QString& name) {
    return platform::registry::QueryValue(HKEY_LOCAL_MACHINE, key.toStdString(), name.toStdString())
        .has_value();
}

class MainDialogTest : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        tw::test::MarkNotFirstStart();
        // Runs started by "/auto" extract beside each archive instead of asking for a folder.
        WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Current Directory"_qs, 1);
    }

    std::unique_ptr<MainDialog> Open(const QString& commandLine = {}) {
        auto dialog = std::make_unique<MainDialog>(commandLine);
        dialog->Start();
        return dialog;
    }

    template <typename T = QWidget> static T& Control(MainDialog& dialog, int id) {
        T* control = dialog.findChild<T*>(QString::number(id));
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }
};

TEST_F(MainDialogTest, RemoveDeletesTheSelectedRowsAndNamesWhatIsMissing) {
    auto dialog = Open();
    ModalWatcher watcher;
    auto& remove = Control<QPushButton>(*dialog, IDC_REMOVE);
    remove.click();
    for (const char* name : {"a.zip", "b.zip", "c.zip", "d.zip", "e.zip"})
        AddToArchiveList(Work(QString::fromLatin1(name)), dialog->ArchiveList());
    remove.click();
    dialog->ArchiveList().SetSelected(1, true);
    dialog->ArchiveList().SetSelected(3, true);
    remove.click();
    EXPECT_EQ(watcher.Texts(), QStringList({u"No files to remove."_qs, u"No files selected."_qs}));
    for (const auto& box : watcher.Boxes()) {
        EXPECT_EQ(box.title, u"Error");
        EXPECT_EQ(box.icon, QMessageBox::Warning);
    }
    EXPECT_EQ(Column(dialog->ArchiveList(), 0),
              QStringList({u"a.zip"_qs, u"c.zip"_qs, u"e.zip"_qs}));
}

TEST_F(MainDialogTest, DropsListArchivesAndSayEachThingOnce) {
    auto dialog = Open();
    ModalWatcher watcher;
    std::filesystem::create_directory(tw::test::CurrentHome().work / "folder.zip");
    Drop(dialog->ArchiveList(),
         {Work(u"a.zip"_qs), Work(u"b.txt"_qs), Work(u"c.rar"_qs), Work(u"d.txt"_qs),
          Work(u"x.r00"_qs), Work(u"x.r01"_qs), Work(u"folder.zip"_qs)});
    EXPECT_EQ(watcher.Texts(),
              QStringList({u"One or more of the files you dropped is not an archive.\nPlease drop "
                           u"a ZIP, ACE, or RAR file for extraction."_qs,
                           u"Remember, for multi-volume archives you only\nneed to drop the first "
                           u"file in the multi-volume set."_qs}));
    EXPECT_EQ(Column(dialog->ArchiveList(), 0),
              QStringList({u"a.zip"_qs, u"c.rar"_qs, u"x.r00"_qs, u"x.r01"_qs, u"folder.zip"_qs}));
    EXPECT_EQ(dialog->ArchiveList().ItemText(0, 1), Work({}));
}

TEST_F(MainDialogTest, TheHistoryRefusesDrops) {
    auto dialog = Open();
    dialog->SwitchView(true);
    ModalWatcher watcher;
    Drop(dialog->History(), {Work(u"a.zip"_qs), Work(u"x.r01"_qs)});
    EXPECT_EQ(watcher.Texts(),
              QStringList(u"Cannot drop files here. Click the button with the icon showing \nan "
                          u"arrow and 3 windows to goto the main to drop files."_qs));
    EXPECT_EQ(dialog->History().ItemCount(), 0);
    EXPECT_EQ(dialog->ArchiveList().ItemCount(), 0);
}

TEST_F(MainDialogTest, SwitchingViewsShowsOneSetOfControlsAndResetsTheStatus) {
    auto dialog = Open();
    auto& status = dialog->StatusLine();
    status.setText(u" Extracting a.zip ..."_qs);
    Control<QPushButton>(*dialog, IDC_VIEW_SWITCH).click();
    EXPECT_EQ(status.text(), u" Done.");
    EXPECT_TRUE(dialog->History().isVisible());
    EXPECT_FALSE(dialog->ArchiveList().isVisible());
    EXPECT_TRUE(Control(*dialog, IDC_CLEAR_HISTORY).isVisible());
    EXPECT_FALSE(Control(*dialog, IDC_REMOVE).isVisible());
    EXPECT_EQ(Control<QLabel>(*dialog, IDC_CAPTION).text(),
              u"The list below contains a history about extraction : ");
    status.setText(u"x"_qs);
    Control<QPushButton>(*dialog, IDC_VIEW_SWITCH).click();
    EXPECT_EQ(status.text(), u" Done.");
    EXPECT_TRUE(dialog->ArchiveList().isVisible());
    EXPECT_TRUE(Control(*dialog, IDC_EXTRACT_ALL).isVisible());
    EXPECT_FALSE(Control(*dialog, IDC_WRITE_LOG).isVisible());
    EXPECT_EQ(Control<QLabel>(*dialog, IDC_CAPTION).text(),
              u"Drag archives or folders below to extract them : ");
}

TEST_F(MainDialogTest, LayoutFollowsTheClientSize) {
    auto dialog = Open();
    dialog->resize(360, 310);
    QApplication::processEvents();
    struct Case {
        int id;
        QRect expected;
    };
    const Case cases[] = {
        {IDC_ARCHIVE_LIST, {5, 25, 350, 185}}, {IDC_HISTORY_LIST, {5, 25, 350, 185}},
        {IDC_VIEW_SWITCH, {5, 216, 24, 24}},   {IDC_SETTINGS, {33, 216, 24, 24}},
        {IDC_WEB_SITE, {61, 216, 24, 24}},     {IDC_EMAIL, {89, 216, 24, 24}},
        {IDC_EXTRACT_ALL, {275, 216, 80, 26}}, {IDC_CLEAR_HISTORY, {275, 216, 80, 26}},
        {IDC_REMOVE, {190, 216, 80, 26}},      {IDC_WRITE_LOG, {190, 216, 80, 26}},
        {IDC_ARCHIVE_BAR, {5, 247, 285, 15}},  {IDC_ARCHIVE_COUNTER, {293, 247, 62, 15}},
        {IDC_OVERALL_BAR, {5, 266, 285, 15}},  {IDC_OVERALL_COUNTER, {293, 266, 62, 15}},
        {IDC_STATUS, {5, 286, 330, 20}},       {IDC_STOP, {338, 286, 17, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Control(*dialog, c.id).geometry(), c.expected) << c.id;

    const int frameWidth = dialog->frameGeometry().width() - dialog->width();
    dialog->resize(300 - frameWidth, 310);
    QApplication::processEvents();
    ASSERT_EQ(dialog->frameGeometry().width(), 300);
    EXPECT_EQ(dialog->ArchiveList().ColumnWidth(0), 80);
    EXPECT_EQ(dialog->ArchiveList().ColumnWidth(1), 160);
    dialog->SwitchView(true);
    EXPECT_EQ(dialog->History().ColumnWidth(0), 260);
    EXPECT_EQ(dialog->History().ColumnWidth(1), 0);
}

TEST_F(MainDialogTest, ContextMenuGreysWhatCannotWorkAndChecksTheView) {
    auto dialog = Open();
    auto menu = dialog->BuildArchiveMenu();
    EXPECT_FALSE(menu->ActionFor(ID_LIST_CLEAR)->isEnabled());
    EXPECT_TRUE(menu->ActionFor(ID_LIST_ADDFILES)->isEnabled());
    EXPECT_TRUE(menu->ActionFor(ID_LIST_SEARCH)->isEnabled());
    EXPECT_TRUE(menu->ActionFor(ID_VIEW_LARGEICONS)->isChecked());

    AddToArchiveList(Work(u"a.zip"_qs), dialog->ArchiveList());
    dialog->OnCommand(ID_VIEW_LIST);
    menu = dialog->BuildArchiveMenu();
    EXPECT_TRUE(menu->ActionFor(ID_LIST_CLEAR)->isEnabled());
    for (int command : {ID_VIEW_LARGEICONS, ID_VIEW_DETAILS, ID_VIEW_SMALLICONS, ID_VIEW_LIST})
        EXPECT_EQ(menu->ActionFor(command)->isChecked(), command == ID_VIEW_LIST) << command;
    EXPECT_EQ(dialog->ArchiveList().ViewStyle(), FileListCtrl::List);

    struct Mode {
        int command;
        int style;
    };
    for (const Mode mode : {Mode{ID_VIEW_LARGEICONS, 0}, Mode{ID_VIEW_DETAILS, 1},
                            Mode{ID_VIEW_SMALLICONS, 2}, Mode{ID_VIEW_LIST, 3}}) {
        dialog->OnCommand(mode.command);
        EXPECT_EQ(dialog->ArchiveList().ViewStyle(), mode.style);
    }
    dialog->OnCommand(ID_LIST_CLEAR);
    EXPECT_EQ(dialog->ArchiveList().ItemCount(), 0);
}

TEST_F(MainDialogTest, LastViewOfOneStartsInDetails) {
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Last View"_qs, 1);
    auto dialog = Open();
    EXPECT_EQ(dialog->ArchiveList().ViewStyle(), FileListCtrl::Details);
    EXPECT_EQ(dialog->ArchiveList().ActiveView(),
              static_cast<QAbstractItemView*>(dialog->ArchiveList().DetailsView()));
    const auto* model = dialog->ArchiveList().DetailsView()->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), u"Name");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), u"Location");
}

TEST_F(MainDialogTest, EnterDoesNothingAndEscapeEndsWithoutSaving) {
    auto dialog = Open();
    AddToArchiveList(Work(u"a.zip"_qs), dialog->ArchiveList());
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    QTest::keyClick(dialog.get(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(ValueExists(kProgramKey + u"\\WindowPos"_qs, u"Left"_qs));
    EXPECT_FALSE(ValueExists(kProgramKey, u"Last View"_qs));
    EXPECT_FALSE(ValueExists(kProgramKey + u"\\LoadOnRun"_qs, u"0"_qs));
}

TEST_F(MainDialogTest, TrayExitEndsWithoutSaving) {
    auto dialog = Open();
    dialog->OnCommand(ID_TRAY_EXIT);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(ValueExists(kProgramKey, u"Last View"_qs));
}

TEST_F(MainDialogTest, CloseSavesListViewAndPlacementForTheNextStart) {
    QRect saved;
    {
        auto dialog = Open();
        AddToArchiveList(Work(u"one.zip"_qs), dialog->ArchiveList());
        AddToArchiveList(Work(u"two.rar"_qs), dialog->ArchiveList());
        AddToArchiveList(Work(u"one.zip"_qs), dialog->ArchiveList());
        dialog->OnCommand(ID_VIEW_DETAILS);
        dialog->move(120, 130);
        dialog->resize(400, 320);
        saved = dialog->frameGeometry();
        dialog->close();
    }
    const QString list = kProgramKey + u"\\LoadOnRun"_qs;
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, list, u"0"_qs, 0), 3u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, list, u"2"_qs, {}), Work(u"two.rar"_qs));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Last View"_qs, 0), 1u);

    auto again = Open();
    EXPECT_EQ(Column(again->ArchiveList(), 0),
              QStringList({u"one.zip"_qs, u"two.rar"_qs, u"one.zip"_qs}));
    EXPECT_EQ(again->ArchiveList().ViewStyle(), FileListCtrl::Details);
    EXPECT_EQ(again->frameGeometry(), saved);
    again->close();

    auto withFiles = Open(u"\""_qs + Work(u"three.zip"_qs) + u"\""_qs);
    EXPECT_EQ(Column(withFiles->ArchiveList(), 0), QStringList(u"three.zip"_qs));
    withFiles->close();
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, list, u"0"_qs, 0), 3u);
}

TEST_F(MainDialogTest, CloseWhileMinimisedKeepsTheSavedPlacement) {
    const QString placement = kProgramKey + u"\\WindowPos"_qs;
    WriteDword(HKEY_LOCAL_MACHINE, placement, u"Left"_qs, 200);
    auto dialog = Open();
    dialog->showMinimized();
    dialog->move(300, 300);
    dialog->close();
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, placement, u"Left"_qs, 0), 200u);
}

TEST_F(MainDialogTest, FirstStartListsOnlyTheSampleArchive) {
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"First Load"_qs, 1);
    auto dialog = Open(u"\""_qs + Work(u"given.zip"_qs) + u"\" /auto"_qs);
    EXPECT_EQ(Column(dialog->ArchiveList(), 0), QStringList(u"testarchive.zip"_qs));
    EXPECT_EQ(dialog->ArchiveList().ItemText(0, 1), ModuleFolder());
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, u"First Load"_qs, 1), 0u);
}

TEST_F(MainDialogTest, CommandLinePiecesKeepTheirCaseAndLoseTheSwitches) {
    auto dialog = Open(u"\""_qs + Work(u"My Files/A b.ZIP"_qs) + u"\" \""_qs + Work(u"c.rar"_qs) +
                       u"\" /AUTO /systray"_qs);
    EXPECT_EQ(Column(dialog->ArchiveList(), 0), QStringList({u"A b.ZIP"_qs, u"c.rar"_qs}));
    EXPECT_EQ(dialog->ArchiveList().ItemText(0, 1), Work(u"My Files/"_qs));
}

TEST_F(MainDialogTest, ForwardedPathsArriveInReverseOrderAndTheKeyGoes) {
    auto dialog = Open();
    const QString key = kProgramKey + u"\\AddItem"_qs;
    WriteString(HKEY_LOCAL_MACHINE, key, u"1"_qs, Work(u"a b.zip"_qs));
    WriteString(HKEY_LOCAL_MACHINE, key, u"2"_qs, Work(u"c.zip"_qs) + u" /auto"_qs);
    WriteString(HKEY_LOCAL_MACHINE, key, u"3"_qs, Work(u"not counted.zip"_qs));
    WriteDword(HKEY_LOCAL_MACHINE, key, u"0"_qs, 2);
    const QString empty;
    EXPECT_EQ(dialog->WindowProc(UM_ADDITEM, TextParameter(empty), 0), 0);
    EXPECT_EQ(Column(dialog->ArchiveList(), 0), QStringList({u"c.zip"_qs, u"a b.zip"_qs}));
    EXPECT_FALSE(platform::registry::KeyExists(HKEY_LOCAL_MACHINE, key.toStdString()));

    const QString found = Work(u"found.ace"_qs);
    dialog->WindowProc(UM_ADDITEM, TextParameter(found), 0);
    EXPECT_EQ(dialog->ArchiveList().ItemText(2, 0), u"found.ace");
}

TEST_F(MainDialogTest, NothingIsAddedWhileTheWindowIsHidden) {
    auto dialog = Open();
    dialog->hide();
    AddToArchiveList(Work(u"a.zip"_qs), dialog->ArchiveList());
    EXPECT_EQ(dialog->ArchiveList().ItemCount(), 0);
}

TEST_F(MainDialogTest, WindowMenuTogglesWriteTheirSettings) {
    auto dialog = Open();
    QAction* tray = dialog->WindowMenu().ActionFor(IDM_MINIMIZETOTRAY);
    QAction* onTop = dialog->WindowMenu().ActionFor(IDM_ALWAYSONTOP);
    EXPECT_TRUE(tray->isChecked()) << "missing \"Minimize to Tray\" reads 1";
    EXPECT_FALSE(onTop->isChecked());
    EXPECT_TRUE(dialog->WindowMenu().ActionFor(IDM_ABOUT)->isEnabled());
    EXPECT_TRUE(dialog->WindowMenu().ActionFor(IDM_CHECKVERSION)->isEnabled());

    tray->trigger();
    EXPECT_FALSE(tray->isChecked());
    EXPECT_FALSE(dialog->TrayEnabled());
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Minimize to Tray"_qs, 9), 0u);

    const QRect before = dialog->geometry();
    onTop->trigger();
    EXPECT_TRUE(onTop->isChecked());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Stay On Top"_qs, 9), 1u);
    EXPECT_EQ(dialog->geometry(), before);
    EXPECT_TRUE(dialog->isVisible());
    onTop->trigger();
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Stay On Top"_qs, 9), 0u);
}

TEST_F(MainDialogTest, StayOnTopFromTheLastSessionOpensTopmost) {
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Stay On Top"_qs, 1);
    auto dialog = Open();
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(dialog->WindowMenu().ActionFor(IDM_ALWAYSONTOP)->isChecked());
}

TEST_F(MainDialogTest, WithoutATrayMinimisingStaysAnOrdinaryMinimise) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    auto dialog = Open();
    ASSERT_TRUE(dialog->TrayEnabled());
    dialog->showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(dialog->Iconic());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->TrayIconShown());
    dialog->showNormal();
    QApplication::processEvents();
    EXPECT_FALSE(dialog->Iconic());
}

TEST_F(MainDialogTest, TrayMenuHasRestoreAsDefaultAndExit) {
    auto dialog = Open();
    const auto menu = dialog->BuildTrayMenu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), u"&Restore");
    EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);
    EXPECT_EQ(CMyMenu::CommandOf(menu->actions()[0]), ID_TRAY_RESTORE);
    EXPECT_EQ(menu->actions()[1]->text(), u"&Exit");
    EXPECT_EQ(CMyMenu::CommandOf(menu->actions()[1]), ID_TRAY_EXIT);
}

TEST_F(MainDialogTest, TooltipsCarryTitleAndExactText) {
    auto dialog = Open();
    const auto plain = [&](int id) {
        QString text =
            QTextDocumentFragment::fromHtml(Control(*dialog, id).toolTip()).toPlainText();
        return text.replace(QChar::LineSeparator, u'\n');
    };
    EXPECT_TRUE(plain(IDC_ARCHIVE_LIST).contains(u"List of Archives To Extract"));
    EXPECT_TRUE(plain(IDC_ARCHIVE_LIST)
                    .contains(u"Drag & drop archives from Windows Explorer here to \nspecify"));
    EXPECT_TRUE(plain(IDC_STOP).contains(u"Tasks - Stop"));
    EXPECT_TRUE(plain(IDC_STOP).contains(u"Stops current extraction operation"));
    EXPECT_TRUE(plain(IDC_VIEW_SWITCH)
                    .contains(u"Switch between LIST OF ARCHIVES TO EXTRACT &\nLIST OF EXTRACTION "
                              u"HISTORY"));
    EXPECT_TRUE(Control(*dialog, IDC_STOP).toolTip().contains(u"tip_error"));
    EXPECT_TRUE(Control(*dialog, IDC_SETTINGS).toolTip().contains(u"tip_info"));
}

TEST_F(MainDialogTest, WebAndMailButtonsOpenTheirLinks) {
    QList<QUrl> opened;
    platform::shell::SetOpenRecorder([&](const QUrl& url) { opened << url; });
    auto dialog = Open();
    ModalWatcher watcher;
    Control<QPushButton>(*dialog, IDC_WEB_SITE).click();
    Control<QPushButton>(*dialog, IDC_EMAIL).click();
    platform::shell::SetOpenRecorder({});
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].path(), u"/en/");
    EXPECT_EQ(opened[1].scheme(), u"mailto");
    ASSERT_EQ(watcher.Boxes().size(), 1);
    EXPECT_EQ(watcher.Boxes()[0].title, u"Greetings");
}

TEST_F(MainDialogTest, StopIsDisabledWhileNoRunIsInProgress) {
    auto dialog = Open();
    EXPECT_FALSE(Control(*dialog, IDC_STOP).isEnabled());
}

TEST_F(MainDialogTest, ExtractAllNeedsArchivesAndThenRunsToTheEnd) {
    auto dialog = Open();
    {
        ModalWatcher watcher;
        Control<QPushButton>(*dialog, IDC_EXTRACT_ALL).click();
        EXPECT_EQ(watcher.Texts(), QStringList(u"No files selected to extract."_qs));
        EXPECT_EQ(dialog->StatusLine().text(), u" No files selected.");
    }
    const QString archive = Work(u"run.zip"_qs);
    tw::test::WriteFile(archive.toStdString(), "no zip inside");
    AddToArchiveList(archive, dialog->ArchiveList());
    Control<QPushButton>(*dialog, IDC_EXTRACT_ALL).click();
    EXPECT_TRUE(tw::test::WaitUntil(
        [&] { return dialog->StatusLine().text() == u" Done." && !RunInProgress; }));
    QStringList rows;
    for (int row = 0; row < dialog->History().ItemCount(); ++row)
        rows << dialog->History().ItemText(row, 0);
    EXPECT_TRUE(rows.contains(u"Error: Not a valid archive"_qs)) << rows.join(u"\n").toStdString();
    EXPECT_TRUE(rows.contains(u"Done"_qs));
}

TEST_F(MainDialogTest, AddFilesOpensWithHelloworld) {
    auto dialog = Open();
    QString shownName;
    QStringList filters;
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            shownName = files->findChild<QLineEdit*>(u"fileNameEdit"_qs)->text();
            filters = files->nameFilters();
            files->reject();
        }
    });
    dialog->OnCommand(ID_LIST_ADDFILES);
    EXPECT_EQ(shownName, u"helloworld");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith(u"Archives (ZIP, RAR, ACE, JAR, EXE, 001)"));
    EXPECT_EQ(dialog->ArchiveList().ItemCount(), 0);
}

} // namespace
