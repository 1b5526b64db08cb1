// The main window towards the desktop: its window menu, the tray, the remembered placement and
// closing.
#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "archives/file_list_ctrl.h"
#include "auxiliary/about_box.h"
#include "auxiliary/update_check_threads.h"
#include "extract/load_engines.h"
#include "extract/run_state.h"
#include "platform/desktop_geometry.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"

#include <QCloseEvent>
#include <QCursor>
#include <QScopedValueRollback>
#include <QTimer>

using namespace ids;

namespace {

const QString kPlacementKey = kProgramKey + u"\\WindowPos"_qs;

} // namespace

void MainDialog::CreateWindowMenu() {
    // The window manager owns the title-bar menu here; these commands live in the window's own
    // menu (right click outside the lists, or Alt+Space).
    windowMenu_.addSeparator();
    windowMenu_.AppendItem(u"&Always On Top"_qs, IDM_ALWAYSONTOP)->setCheckable(true);
    windowMenu_.AppendItem(u"Minimize to &System Tray"_qs, IDM_MINIMIZETOTRAY)->setCheckable(true);
    windowMenu_.addSeparator();
    windowMenu_.AppendItem(u"Check For Latest &Version.."_qs, IDM_CHECKVERSION);
    windowMenu_.addSeparator();
    windowMenu_.AppendItem(u"&About.."_qs, IDM_ABOUT);
    connect(&windowMenu_, &QMenu::triggered, this, [this](QAction* action) {
        // The toggles decide from the check mark as it was; Qt has already flipped it.
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        OnSystemCommand(CMyMenu::CommandOf(action));
    });
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
    windowMenu_.popup(event->globalPos());
}

void MainDialog::OnSystemCommand(int command) {
    const bool wasIconic = iconic_;
    switch (command) {
    case IDM_ALWAYSONTOP: {
        QAction* item = windowMenu_.ActionFor(IDM_ALWAYSONTOP);
        const bool on = !item->isChecked();
        item->setChecked(on);
        store_.WriteDword(u"Stay On Top"_qs, on ? 1 : 0);
        SetTopmost(on);
        break;
    }
    case IDM_MINIMIZETOTRAY: {
        QAction* item = windowMenu_.ActionFor(IDM_MINIMIZETOTRAY);
        trayEnabled_ = !item->isChecked();
        item->setChecked(trayEnabled_);
        store_.WriteDword(u"Minimize to Tray"_qs, trayEnabled_ ? 1 : 0);
        break;
    }
    case IDM_CHECKVERSION:
        SwitchView(true);
        StartUpdateCheck();
        break;
    case IDM_ABOUT:
        AboutDialog(this).exec();
        break;
    case SC_MINIMIZE:
        iconic_ = true;
        break;
    case SC_RESTORE:
        iconic_ = false;
        break;
    default:
        break;
    }
    if (iconic_ == wasIconic || !TrayUsable())
        return;
    if (iconic_) {
        AddTrayIcon();
        hide();
    } else {
        RemoveTrayIcon();
        showNormal();
    }
}

void MainDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized() && !iconic_)
        OnSystemCommand(SC_MINIMIZE);
    else if (!isMinimized() && iconic_ && isVisible())
        OnSystemCommand(SC_RESTORE);
}

bool MainDialog::TrayUsable() const {
    // Without a tray host a hidden window could never come back: minimise stays a minimise.
    return trayEnabled_ && QSystemTrayIcon::isSystemTrayAvailable();
}

void MainDialog::AddTrayIcon() {
    if (!tray_) {
        tray_ = new QSystemTrayIcon(res::Icon(res::IDI_PROGRAM), this);
        tray_->setToolTip(u"Tamblewick"_qs);
        connect(tray_, &QSystemTrayIcon::activated, this, &MainDialog::OnTrayActivated);
    }
    tray_->show();
    iconic_ = true;
}

void MainDialog::RemoveTrayIcon() {
    if (tray_)
        tray_->hide();
    iconic_ = false;
}

std::unique_ptr<CMyMenu> MainDialog::BuildTrayMenu() {
    auto menu = std::make_unique<CMyMenu>(this);
    menu->setDefaultAction(
        menu->AppendItem(u"&Restore"_qs, ID_TRAY_RESTORE, res::IDI_TRAY_RESTORE));
    menu->AppendItem(u"&Exit"_qs, ID_TRAY_EXIT, res::IDI_TRAY_EXIT);
    return menu;
}

void MainDialog::OnTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context: {
        const QPoint cursor = QCursor::pos();
        activateWindow();
        const std::unique_ptr<CMyMenu> menu = BuildTrayMenu();
        OnCommand(CMyMenu::CommandOf(menu->exec(cursor)));
        break;
    }
    case QSystemTrayIcon::DoubleClick:
        OnCommand(ID_TRAY_RESTORE);
        break;
    default:
        break;
    }
}

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ApplySavedPlacement();
}

void MainDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        ApplySavedPlacement();
}

void MainDialog::ApplySavedPlacement() {
    if (changingFlags_)
        return;
    const SettingsStore placement(HKEY_LOCAL_MACHINE, kPlacementKey);
    if (placement.ReadDword(u"Minimized"_qs, 0) != 0)
        return;
    const QSize desktop = platform::DesktopSize();
    const auto read = [&placement](const QString& name, int fallback) {
        return static_cast<int>(placement.ReadDword(name, static_cast<std::uint32_t>(fallback)));
    };
    const int h = read(u"Height"_qs, 310);
    const int w = read(u"Width"_qs, 360);
    const int left = read(u"Left"_qs, desktop.width() / 2 - w / 2);
    const int top = read(u"Top"_qs, desktop.height() / 2 - h / 2);
    if (left != -1 && top != -1)
        SetOuterGeometry(platform::ClampToDesktop(w, h, left, top, desktop));
    SetTopmost(store_.ReadDword(u"Stay On Top"_qs, 0) != 0);
    LayoutControls(width(), height());
}

void MainDialog::SetOuterGeometry(const QRect& outer) {
    const QSize frame = frameGeometry().size() - size();
    move(outer.topLeft());
    resize(outer.size() - frame);
    if (!frame.isNull())
        return;
    // The frame is known only once the window manager has framed the window; size it again
    // then, or every start would grow the window by its frame.
    QTimer::singleShot(0, this, [this, outer] {
        const QSize known = frameGeometry().size() - size();
        if (!known.isNull() && frameGeometry() != outer) {
            move(outer.topLeft());
            resize(outer.size() - known);
        }
    });
}

void MainDialog::SetTopmost(bool on) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing a window flag hides the window; showing it again is not a placement change.
    const QScopedValueRollback guard(changingFlags_, true);
    const QRect keep = geometry();
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(keep);
    if (shown)
        show();
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // A running extraction is stopped and its current archive finished while the window keeps
    // serving the worker; only then may the libraries go.
    StopAndWaitForWorker();
    UnloadEngines();
    if (!isMinimized() && !isMaximized()) {
        const QRect outer = frameGeometry();
        const SettingsStore placement(HKEY_LOCAL_MACHINE, kPlacementKey);
        placement.WriteDword(u"Left"_qs, static_cast<std::uint32_t>(outer.left()));
        placement.WriteDword(u"Top"_qs, static_cast<std::uint32_t>(outer.top()));
        placement.WriteDword(u"Height"_qs, static_cast<std::uint32_t>(outer.height()));
        placement.WriteDword(u"Width"_qs, static_cast<std::uint32_t>(outer.width()));
    }
    store_.WriteDword(u"Last View"_qs, static_cast<std::uint32_t>(archiveList_->ViewStyle()));
    if (commandLine_.isEmpty())
        SaveArchiveList();
    QDialog::closeEvent(event);
}
