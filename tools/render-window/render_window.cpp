// Renders the main window with sample rows in both views, the archive list's four view modes and
// the window's menus to PNG files, so the look can be reviewed without a display.
//
//   tw-render-window OUTPUT_FOLDER
//
// It runs in a temporary settings folder of its own and never touches the user's settings.
#include "app/main_dialog.h"
#include "archives/archive_list.h"
#include "archives/file_list_ctrl.h"
#include "controls/classic_progress_bar.h"
#include "extract/reporting.h"
#include "platform/library.h"
#include "platform/shell.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void Save(QWidget& widget, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name + u".png"_qs);
    widget.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

void SaveMenu(QMenu& menu, const QDir& folder, const QString& name) {
    menu.ensurePolished();
    menu.adjustSize();
    Save(menu, folder, name);
}

void FillSamples(MainDialog& dialog) {
    for (const char16_t* path :
         {u"/home/user/Downloads/setup.zip", u"/home/user/Downloads/photos 2024.rar",
          u"/home/user/Downloads/tools.ace", u"/home/user/Downloads/library.jar",
          u"/home/user/Downloads/installer.exe", u"/home/user/Downloads/backup.001"})
        AddToArchiveList(QString::fromUtf16(path), dialog.ArchiveList());
    ReportArchive(u"/home/user/Downloads/setup.zip"_qs, u"/home/user/out/setup/"_qs);
    ReportItem(u"/home/user/out/setup/bin/setup.dat"_qs);
    ReportItem(u"/home/user/out/setup/bin/readme.txt"_qs);
    ReportError(u"/home/user/out/setup/bin/readme.txt"_qs, u"File already exists"_qs);
    ReportItem(u"||Deleted to Recycling Bin"_qs);
    ReportItem(u"Done"_qs);
    SetArchiveRange(0, 12);
    SetArchivePosition(7);
    ReportStatus(u" Extracting setup.zip ..."_qs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tw-render-window OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    qputenv("TMPDIR", settings.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::shell::UseDesktopIconTheme();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());

    // Built outside the program's folder; the window loads its libraries from there.
    platform::SetLibraryFolder(TW_BIN_DIR);
    MainDialog dialog({});
    dialog.Start();
    FillSamples(dialog);
    QApplication::processEvents();
    Save(dialog, folder, u"archive-view"_qs);
    const char16_t* modes[] = {u"large-icons", u"details", u"small-icons", u"list"};
    for (int mode = 0; mode < 4; ++mode) {
        dialog.ArchiveList().SetViewStyle(mode);
        QApplication::processEvents();
        Save(dialog, folder, u"archive-view-"_qs + QString::fromUtf16(modes[mode]));
    }
    dialog.SwitchView(true);
    QApplication::processEvents();
    Save(dialog, folder, u"history-view"_qs);

    const auto archiveMenu = dialog.BuildArchiveMenu();
    SaveMenu(*archiveMenu, folder, u"menu-archive-list"_qs);
    for (QAction* action : archiveMenu->actions())
        if (QMenu* sub = action->menu())
            SaveMenu(*sub, folder, u"menu-file-view"_qs);
    SaveMenu(dialog.WindowMenu(), folder, u"menu-window"_qs);
    const auto trayMenu = dialog.BuildTrayMenu();
    SaveMenu(*trayMenu, folder, u"menu-tray"_qs);
    return 0;
}
