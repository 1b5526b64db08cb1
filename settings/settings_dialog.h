#pragma once

#include "settings/settings_store.h"

#include <QDialog>
#include <QStringList>

class FileListCtrl;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The extraction options, the exclusion masks and the associations of the four archive types.
// It opens in the simple view; the cancel command (Escape, "Advanced..") switches between the
// simple and the advanced view, and only "Apply" closes it, after validating and saving.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId {
        IDC_APPLY = 1,
        IDC_VIEW_SWITCH = 2,
        IDC_OVERWRITE = 1006,
        IDC_CURRENT_DIRECTORY = 1026,
        IDC_NAME_FOLDER = 1027,
        IDC_DELETE_AFTER_EXTRACTION = 1029,
        IDC_OPEN_FOLDER = 1030,
        IDC_MASK_LIST = 1051,
        IDC_ADD_MASK = 1061,
        IDC_DELETE_MASK = 1062,
        IDC_MASK = 1064,
        IDC_FAVORITE_FOLDER = 1065,
        IDC_VERSION = 1071,
        IDC_ASSOCIATE_ACE = 1092,
        IDC_ASSOCIATE_ZIP = 1093,
        IDC_ASSOCIATE_RAR = 1094,
        IDC_HELP_DOCS = 1095,
        IDC_ASSOCIATE_JAR = 1096,
        IDC_BROWSE_FAVORITE = 1097,
        IDC_PICTURE = 1110,
        IDC_FAVORITE_ACTIVATED = 1111,
    };

    // `exclusionMasks` is the program's one mask list, edited in place while no run uses it.
    explicit SettingsDialog(QStringList& exclusionMasks, QWidget* parent = nullptr);

    void PickFavoriteFolder();
    void SwitchView();
    // The height the simple view hides: everything from the second etched line down.
    static int AdvancedAreaHeight();

    // Apply: validates the favourite folder, saves, closes.
    void accept() override;
    // The cancel command switches the view instead of closing.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void Initialise();
    void Load();
    void LoadMasks();
    void ApplyRuleA();
    void ApplyRuleB();
    void ApplyRuleC();
    void AddMask();
    void DeleteMasks();
    void PublishMasks();
    void OpenHelp();
    void OnAssociationClicked(QCheckBox* box, const QString& extension);
    // False when the favourite folder keeps the dialog open.
    bool ValidateFavoriteFolder(const QString& folder);
    void Save(const QString& folder);

    QStringList& sharedMasks_;
    QStringList masks_;
    SettingsStore store_;

    QPushButton* apply_ = nullptr;
    QPushButton* viewSwitch_ = nullptr;
    QPushButton* helpDocs_ = nullptr;
    QLabel* version_ = nullptr;
    QCheckBox* deleteAfterExtraction_ = nullptr;
    QCheckBox* openFolder_ = nullptr;
    QCheckBox* associateRar_ = nullptr;
    QCheckBox* associateAce_ = nullptr;
    QCheckBox* associateZip_ = nullptr;
    QCheckBox* associateJar_ = nullptr;
    QCheckBox* favoriteActivated_ = nullptr;
    QLineEdit* favoriteFolder_ = nullptr;
    QPushButton* browseFavorite_ = nullptr;
    QCheckBox* currentDirectory_ = nullptr;
    QCheckBox* nameFolder_ = nullptr;
    QCheckBox* overwrite_ = nullptr;
    FileListCtrl* maskList_ = nullptr;
    QLineEdit* mask_ = nullptr;
    QPushButton* addMask_ = nullptr;
    QPushButton* deleteMask_ = nullptr;
};
