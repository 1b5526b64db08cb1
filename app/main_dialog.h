#pragma once

#include "controls/my_menu.h"
#include "extract/ui_links.h"
#include "platform/instance_channel.h"
#include "settings/settings_store.h"

#include <QDialog>
#include <QSystemTrayIcon>
#include <atomic>
#include <memory>
#include <thread>

class CStaticButton;
class ClassicProgressBar;
class FileListCtrl;
class HistoryList;
class QLabel;
class QPushButton;
class SettingsDialog;

// The program's only window: the archive view (the list of archives to extract, Remove and
// Extract All) or the history view (the history, Write To File and Clear All), the icon buttons,
// both progress bars with their counters, the status line and Stop. It receives the reports of
// every background thread and the archives a second copy hands over.
class MainDialog : public QDialog, public ReportReceiver {
    Q_OBJECT
public:
    // `commandLine` is the text the program was started with (see CommandLineText).
    explicit MainDialog(QString commandLine, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Shows the window, opens the channel for later copies (then releases `guard`), lays out,
    // and fills the archive list. Call once before exec().
    void Start(platform::instance::StartGuard* guard = nullptr);

    platform::LRESULT WindowProc(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;
    void RefreshCounters() override;
    void AddCrcOkEntry() override;

    void SwitchView(bool history);
    void LayoutControls(int width, int height);
    void FitColumns();
    void OnCommand(int command);
    void OnSystemCommand(int command);
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);

    // Enter does nothing; Escape (reject) ends the dialog without the close handling.
    void accept() override {}

    FileListCtrl& ArchiveList() const { return *archiveList_; }
    HistoryList& History() const { return *history_; }
    QLabel& StatusLine() const { return *status_; }
    CMyMenu& WindowMenu() { return windowMenu_; }
    std::unique_ptr<CMyMenu> BuildArchiveMenu();
    std::unique_ptr<CMyMenu> BuildTrayMenu();
    bool Iconic() const { return iconic_; }
    bool TrayEnabled() const { return trayEnabled_; }
    bool TrayIconShown() const { return tray_ && tray_->isVisible(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void CreateWindowMenu();
    void ApplyColours();
    void ConnectHandlers();
    void OnRemove();
    void OnExtractAll();
    // Starts a run unless one is in progress, and shows the history.
    void StartRun();
    // Waits for the worker of the last run while the window keeps serving its calls.
    void WaitForWorker();
    // Stops a run in progress, lets its current archive finish, and waits for it.
    void StopAndWaitForWorker();
    void OnEmail();
    void OnHistoryClick();
    void ShowArchiveMenu(const QPoint& globalPosition);

    platform::LRESULT OnAddItem(platform::WPARAM wParam);
    void AddWorkText(QString text);
    void PopulateInitialList();
    void RestoreSavedList();
    void SaveArchiveList();

    void ApplySavedPlacement();
    void SetOuterGeometry(const QRect& outer);
    void SetTopmost(bool on);
    void AddTrayIcon();
    void RemoveTrayIcon();
    bool TrayUsable() const;

    const QString commandLine_;
    SettingsStore store_;
    bool iconic_ = false;
    bool trayEnabled_ = true;
    bool changingFlags_ = false;

    QLabel* caption_ = nullptr;
    FileListCtrl* archiveList_ = nullptr;
    HistoryList* history_ = nullptr;
    CStaticButton* viewSwitch_ = nullptr;
    CStaticButton* email_ = nullptr;
    CStaticButton* webSite_ = nullptr;
    CStaticButton* settings_ = nullptr;
    CStaticButton* remove_ = nullptr;
    CStaticButton* extractAll_ = nullptr;
    CStaticButton* writeLog_ = nullptr;
    CStaticButton* clearHistory_ = nullptr;
    ClassicProgressBar* overallBar_ = nullptr;
    QLabel* overallCounter_ = nullptr;
    ClassicProgressBar* archiveBar_ = nullptr;
    QLabel* archiveCounter_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* stop_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;

    CMyMenu windowMenu_;
    QSystemTrayIcon* tray_ = nullptr;
    std::unique_ptr<platform::instance::Server> channel_;
    std::thread worker_;
    std::atomic<bool> workerFinished_{true};
};
