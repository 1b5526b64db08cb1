#include "app/main_dialog.h"

#include "app/balloon_tips.h"
#include "app/control_ids.h"
#include "app/product_links.h"
#include "app/window_run_host.h"
#include "archives/archive_list.h"
#include "archives/folder_search.h"
#include "auxiliary/update_check_threads.h"
#include "controls/classic_progress_bar.h"
#include "controls/static_button.h"
#include "engines/engine_conventions.h"
#include "engines/password_dialog.h"
#include "engines/password_protocol.h"
#include "extract/extraction_worker.h"
#include "extract/load_engines.h"
#include "extract/messages.h"
#include "extract/run_state.h"
#include "history/history_list.h"
#include "history/log_file.h"
#include "platform/dialog_units.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"
#include "settings/settings_dialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

using namespace ids;

namespace {

template <typename Control> Control* Named(Control* control, int id) {
    control->setObjectName(QString::number(id));
    return control;
}

} // namespace

MainDialog::MainDialog(QString commandLine, QWidget* parent)
    : QDialog(parent), commandLine_(std::move(commandLine)), windowMenu_(this) {
    setFont(platform::DialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    resize(platform::DialogUnitsToPixels(QRect(0, 0, 216, 134)).size());
    CreateControls();
    InstallMainWindowTips(*this);
    CreateWindowMenu();
    setWindowIcon(res::Icon(res::IDI_PROGRAM));
    store_ = SettingsStore(HKEY_LOCAL_MACHINE, kProgramKey);
    windowMenu_.ActionFor(IDM_ALWAYSONTOP)->setChecked(store_.ReadDword(u"Stay On Top"_qs, 0));
    trayEnabled_ = store_.ReadDword(u"Minimize to Tray"_qs, 1) != 0;
    windowMenu_.ActionFor(IDM_MINIMIZETOTRAY)->setChecked(trayEnabled_);
    archiveList_->Icons().ResetIcons();
    history_->Icons().ResetIcons();
    ApplyColours();
    history_->SetAcceptsItems(false);
    archiveList_->InsertColumn(0, u"Name"_qs, 80);
    archiveList_->InsertColumn(1, u"Location"_qs, 180);
    history_->InsertColumn(0, u"File\\Error"_qs, 100);
    history_->InsertColumn(1, u"Date"_qs, 0);
    email_->setIcon(res::Icon(res::IDI_EMAIL));
    settings_->setIcon(res::Icon(res::IDI_SETTINGS));
    viewSwitch_->setIcon(res::Icon(res::IDI_VIEW_SWITCH));
    webSite_->setIcon(res::Icon(res::IDI_WEB_SITE));
    archiveList_->SetViewStyle(static_cast<int>(store_.ReadDword(u"Last View"_qs, 0)));
    UiLinks() = {this,  archiveBar_, overallBar_,  archiveCounter_, overallCounter_,
                 stop_, extractAll_, archiveList_, history_};
    settingsDialog_ = new SettingsDialog(ExclusionMasks(), this);
    SetPasswordPrompt(ShowPasswordDialog);
    setWindowTitle(u"Tamblewick "_qs + QString::fromStdString(platform::ProgramVersion()));
    ConnectHandlers();
}

MainDialog::~MainDialog() {
    // Escape and "&Exit" end the dialog without the close handling; the worker still has to
    // finish before the window it reports to goes, and so do the update checks.
    StopAndWaitForWorker();
    WaitForUpdateChecks();
    RemoveTrayIcon();
    UiLinks() = {};
}

void MainDialog::CreateControls() {
    caption_ = Named(new QLabel(u"Drag archives or folders below to extract them :"_qs, this),
                     IDC_CAPTION);
    caption_->setGeometry(platform::DialogUnitsToPixels(QRect(5, 3, 162, 9)));
    archiveList_ = Named(new FileListCtrl(this), IDC_ARCHIVE_LIST);
    history_ = Named(new HistoryList(this), IDC_HISTORY_LIST);
    history_->hide();
    viewSwitch_ = Named(new CStaticButton({}, this), IDC_VIEW_SWITCH);
    email_ = Named(new CStaticButton({}, this), IDC_EMAIL);
    webSite_ = Named(new CStaticButton({}, this), IDC_WEB_SITE);
    settings_ = Named(new CStaticButton({}, this), IDC_SETTINGS);
    remove_ = Named(new CStaticButton(u"&Remove"_qs, this), IDC_REMOVE);
    extractAll_ = Named(new CStaticButton(u"&Extract All"_qs, this), IDC_EXTRACT_ALL);
    writeLog_ = Named(new CStaticButton(u"Write To File.."_qs, this), IDC_WRITE_LOG);
    writeLog_->hide();
    clearHistory_ = Named(new CStaticButton(u"Clear All"_qs, this), IDC_CLEAR_HISTORY);
    clearHistory_->hide();
    overallBar_ = Named(new ClassicProgressBar(this), IDC_OVERALL_BAR);
    overallCounter_ = Named(new QLabel(u"0/0"_qs, this), IDC_OVERALL_COUNTER);
    archiveBar_ = Named(new ClassicProgressBar(this), IDC_ARCHIVE_BAR);
    archiveCounter_ = Named(new QLabel(u"0/0"_qs, this), IDC_ARCHIVE_COUNTER);
    overallCounter_->setAlignment(Qt::AlignCenter);
    archiveCounter_->setAlignment(Qt::AlignCenter);
    status_ = Named(new QLabel(u" Done."_qs, this), IDC_STATUS);
    stop_ = Named(new QPushButton(u"!"_qs, this), IDC_STOP);
    stop_->setAutoDefault(false);
    stop_->setEnabled(false);
    for (CStaticButton* icon : {viewSwitch_, email_, webSite_, settings_})
        icon->setIconSize(QSize(16, 16));
}

void MainDialog::ApplyColours() {
    const QColor listBackground(230, 230, 230);
    archiveList_->SetColours(listBackground, QColor(50, 50, 50));
    history_->SetColours(listBackground, QColor(50, 50, 50));
    overallBar_->SetBarColour(QColor(178, 207, 239));
    archiveBar_->SetBarColour(QColor(52, 109, 172));
    for (CStaticButton* button : {extractAll_, clearHistory_, writeLog_, remove_}) {
        button->SetNormalFrameColour(QColor(125, 158, 212));
        button->SetNormalBackgroundColour(QColor(232, 232, 232));
    }
    for (CStaticButton* button : {webSite_, settings_, viewSwitch_, email_})
        button->SetNormalBackgroundColour(QColor(255, 255, 255));
    QPalette statusColours = status_->palette();
    statusColours.setColor(QPalette::WindowText, QColor(8, 36, 107));
    status_->setPalette(statusColours);
}

void MainDialog::ConnectHandlers() {
    connect(remove_, &QPushButton::clicked, this, &MainDialog::OnRemove);
    connect(settings_, &QPushButton::clicked, this, [this] { settingsDialog_->exec(); });
    connect(webSite_, &QPushButton::clicked, this, [] { platform::shell::Open(kProductWebPage); });
    connect(email_, &QPushButton::clicked, this, &MainDialog::OnEmail);
    connect(viewSwitch_, &QPushButton::clicked, this, [this] { SwitchView(history_->isHidden()); });
    connect(clearHistory_, &QPushButton::clicked, this, [this] { history_->Clear(); });
    connect(writeLog_, &QPushButton::clicked, this, [this] { WriteLogFile(*history_, this); });
    connect(stop_, &QPushButton::clicked, this, [] { StopRequested = true; });
    connect(extractAll_, &QPushButton::clicked, this, &MainDialog::OnExtractAll);
    connect(history_, &FileListCtrl::Clicked, this, &MainDialog::OnHistoryClick);
    connect(archiveList_, &FileListCtrl::ContextMenuRequested, this, &MainDialog::ShowArchiveMenu);
    auto* windowMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(windowMenuKey, &QShortcut::activated, this,
            [this] { windowMenu_.popup(mapToGlobal(QPoint(0, 0))); });
}

void MainDialog::Start(platform::instance::StartGuard* guard) {
    show();
    channel_ = std::make_unique<platform::instance::Server>(windowTitle(), *this,
                                                            std::set<unsigned>{UM_ADDITEM});
    channel_->Listen();
    if (guard)
        guard->Release();
    LayoutControls(width(), height());
    LoadEngines();
    extractAll_->setFocus();
    PopulateInitialList();
}

void MainDialog::LayoutControls(int width, int height) {
    const int w = width;
    const int h = height;
    archiveList_->setGeometry(5, 25, w - 10, h - 125);
    history_->setGeometry(5, 25, w - 10, h - 125);
    FitColumns();
    viewSwitch_->setGeometry(5, h - 94, 24, 24);
    settings_->setGeometry(33, h - 94, 24, 24);
    webSite_->setGeometry(61, h - 94, 24, 24);
    email_->setGeometry(89, h - 94, 24, 24);
    extractAll_->setGeometry(w - 85, h - 94, 80, 26);
    clearHistory_->setGeometry(w - 85, h - 94, 80, 26);
    remove_->setGeometry(w - 170, h - 94, 80, 26);
    writeLog_->setGeometry(w - 170, h - 94, 80, 26);
    archiveBar_->setGeometry(5, h - 63, w - 75, 15);
    archiveCounter_->setGeometry(w - 67, h - 63, 62, 15);
    overallBar_->setGeometry(5, h - 44, w - 75, 15);
    overallCounter_->setGeometry(w - 67, h - 44, 62, 15);
    status_->setGeometry(5, h - 24, w - 30, 20);
    stop_->setGeometry(w - 22, h - 24, 17, 20);
}

void MainDialog::FitColumns() {
    const int w = frameGeometry().width();
    if (archiveList_->isVisibleTo(this)) {
        const int name = w / 3 - 20;
        archiveList_->SetColumnWidth(0, name);
        archiveList_->SetColumnWidth(1, 2 * name);
    }
    if (history_->isVisibleTo(this))
        history_->SetColumnWidth(0, w - 40);
}

void MainDialog::SwitchView(bool history) {
    history_->setVisible(history);
    clearHistory_->setVisible(history);
    writeLog_->setVisible(history);
    archiveList_->setVisible(!history);
    extractAll_->setVisible(!history);
    remove_->setVisible(!history);
    status_->setText(u" Done."_qs);
    if (history) {
        caption_->setText(u"The list below contains a history about extraction : "_qs);
        writeLog_->setFocus();
    } else {
        caption_->setText(u"Drag archives or folders below to extract them : "_qs);
        extractAll_->setFocus();
    }
    update();
    FitColumns();
}

void MainDialog::OnRemove() {
    if (archiveList_->ItemCount() == 0) {
        QMessageBox::warning(this, u"Error"_qs, u"No files to remove."_qs);
        return;
    }
    const QList<int> selected = archiveList_->SelectedRows();
    if (selected.isEmpty()) {
        QMessageBox::warning(this, u"Error"_qs, u"No files selected."_qs);
        return;
    }
    for (auto row = selected.crbegin(); row != selected.crend(); ++row)
        archiveList_->DeleteItem(*row);
}

void MainDialog::OnEmail() {
    QMessageBox::warning(this, u"Greetings"_qs,
                         u"If you are planning on sending an error\nreport please send a copy "
                         u"of the archive\nin question or select the Write Log File\noption and "
                         u"sent it as an attachment."_qs);
    platform::shell::Open(kSupportMailLink);
}

void MainDialog::OnHistoryClick() {
    if (RunInProgress)
        return;
    status_->setText(history_->StatusTextForClick());
}

std::unique_ptr<CMyMenu> MainDialog::BuildArchiveMenu() {
    auto menu = std::make_unique<CMyMenu>(this);
    menu->AppendItem(u"&Add File(s)"_qs, ID_LIST_ADDFILES, res::IDI_ADD_FILES);
    menu->AppendItem(u"&Search Through Folder For Files"_qs, ID_LIST_SEARCH, res::IDI_SEARCH);
    menu->addSeparator();
    menu->AppendItem(u"&Clear All Files"_qs, ID_LIST_CLEAR, res::IDI_CLEAR,
                     archiveList_->ItemCount() == 0 ? CMyMenu::Greyed : 0);
    menu->addSeparator();
    CMyMenu* view = menu->AppendSubMenu(u"&File View"_qs);
    const int mode = archiveList_->ViewStyle();
    const auto checkedIf = [mode](int wanted) { return mode == wanted ? CMyMenu::Checked : 0; };
    view->AppendItem(u"&Large Icons"_qs, ID_VIEW_LARGEICONS, res::IDI_VIEW_LARGE,
                     checkedIf(FileListCtrl::LargeIcons));
    view->AppendItem(u"&Details"_qs, ID_VIEW_DETAILS, res::IDI_VIEW_DETAILS,
                     checkedIf(FileListCtrl::Details));
    view->AppendItem(u"L&ist"_qs, ID_VIEW_LIST, res::IDI_VIEW_LIST, checkedIf(FileListCtrl::List));
    view->AppendItem(u"&Small Icons"_qs, ID_VIEW_SMALLICONS, res::IDI_VIEW_SMALL,
                     checkedIf(FileListCtrl::SmallIcons));
    return menu;
}

void MainDialog::ShowArchiveMenu(const QPoint& globalPosition) {
    const std::unique_ptr<CMyMenu> menu = BuildArchiveMenu();
    OnCommand(CMyMenu::CommandOf(menu->exec(globalPosition)));
}

void MainDialog::OnCommand(int command) {
    switch (command) {
    case ID_VIEW_LARGEICONS:
        archiveList_->SetViewStyle(FileListCtrl::LargeIcons);
        break;
    case ID_VIEW_SMALLICONS:
        archiveList_->SetViewStyle(FileListCtrl::SmallIcons);
        break;
    case ID_VIEW_DETAILS:
        archiveList_->SetViewStyle(FileListCtrl::Details);
        break;
    case ID_VIEW_LIST:
        archiveList_->SetViewStyle(FileListCtrl::List);
        break;
    case ID_LIST_CLEAR:
        archiveList_->DeleteAllItems();
        break;
    case ID_LIST_ADDFILES:
        AddFilesDialog(this, *archiveList_);
        break;
    case ID_LIST_SEARCH:
        StartFolderSearch(this, *archiveList_);
        break;
    case ID_TRAY_RESTORE:
        showNormal();
        RemoveTrayIcon();
        break;
    case ID_TRAY_EXIT:
        reject();
        break;
    default:
        break;
    }
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::resizeEvent(QResizeEvent* event) {
    if (isVisible())
        LayoutControls(width(), height());
    QDialog::resizeEvent(event);
    update();
}

void MainDialog::OnExtractAll() {
    if (archiveList_->ItemCount() == 0) {
        QMessageBox::warning(this, u"Error"_qs, u"No files selected to extract."_qs);
        status_->setText(u" No files selected."_qs);
        return;
    }
    StartRun();
}

void MainDialog::StartRun() {
    if (RunInProgress)
        return;
    RunInProgress = true;
    WaitForWorker();
    workerFinished_ = false;
    worker_ = std::thread([this] {
        WindowRunHost host;
        ExtractionWorker(host);
        workerFinished_ = true;
    });
    SwitchView(true);
}

void MainDialog::StopAndWaitForWorker() {
    // A worker that has only just started clears the flag as it begins its run, so ask again
    // until it has ended; a stop asked once could be lost and the close wait for the whole run.
    while (!workerFinished_) {
        StopRequested = true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    WaitForWorker();
}

void MainDialog::WaitForWorker() {
    while (!workerFinished_)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (worker_.joinable())
        worker_.join();
}
