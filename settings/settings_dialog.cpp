#include "settings/settings_dialog.h"

#include "archives/file_list_ctrl.h"
#include "archives/naming.h"
#include "auxiliary/folder_browser.h"
#include "platform/desktop_geometry.h"
#include "platform/dialog_units.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"
#include "settings/associations.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr int kTemplateWidth = 206;
constexpr int kTemplateHeight = 251;
constexpr int kSecondEtchedLine = 195;
constexpr int kOpeningOffset = 10;

const QString kAdvanced = u"Advanced.."_qs;
const QString kSimple = u"Simple.."_qs;

QSize TemplateSize() {
    return platform::DialogUnitsToPixels(QRect(0, 0, kTemplateWidth, kTemplateHeight)).size();
}

} // namespace

SettingsDialog::SettingsDialog(QStringList& exclusionMasks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      sharedMasks_(exclusionMasks) {
    setWindowTitle(u"Settings"_qs);
    setFont(platform::DialogFont());
    setWindowIcon(res::Icon(res::IDI_PROGRAM));
    setFixedSize(TemplateSize());
    CreateControls();
    ConnectHandlers();
}

int SettingsDialog::AdvancedAreaHeight() {
    // 98 pixels with the design's 14-pixel character height; the same area at any other.
    return TemplateSize().height() -
           platform::DialogUnitsToPixels(QRect(0, kSecondEtchedLine, 0, 0)).y();
}

void SettingsDialog::ConnectHandlers() {
    connect(apply_, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(viewSwitch_, &QPushButton::clicked, this, &SettingsDialog::reject);
    connect(helpDocs_, &QPushButton::clicked, this, &SettingsDialog::OpenHelp);
    connect(browseFavorite_, &QPushButton::clicked, this, &SettingsDialog::PickFavoriteFolder);
    connect(favoriteActivated_, &QCheckBox::clicked, this, &SettingsDialog::ApplyRuleA);
    connect(currentDirectory_, &QCheckBox::clicked, this, &SettingsDialog::ApplyRuleB);
    connect(mask_, &QLineEdit::textChanged, this, &SettingsDialog::ApplyRuleC);
    connect(addMask_, &QPushButton::clicked, this, &SettingsDialog::AddMask);
    connect(deleteMask_, &QPushButton::clicked, this, &SettingsDialog::DeleteMasks);
    const std::pair<QCheckBox*, QString> associations[] = {{associateRar_, u".rar"_qs},
                                                           {associateJar_, u".jar"_qs},
                                                           {associateZip_, u".zip"_qs},
                                                           {associateAce_, u".ace"_qs}};
    for (const auto& [box, extension] : associations)
        connect(box, &QCheckBox::clicked, this,
                [this, box, extension] { OnAssociationClicked(box, extension); });
}

void SettingsDialog::showEvent(QShowEvent* event) {
    // The same object serves every showing, and each starts afresh.
    if (!event->spontaneous())
        Initialise();
    QDialog::showEvent(event);
}

void SettingsDialog::Initialise() {
    maskList_->DeleteAllItems();
    maskList_->Icons().ResetIcons();
    maskList_->SetColours(Qt::white, Qt::black);
    Load();
    ApplyRuleB();

    setFixedSize(TemplateSize());
    adjustPosition(parentWidget());
    const QRect simple = platform::ClampToDesktop(width(), height() - AdvancedAreaHeight(),
                                                  x() + kOpeningOffset, y() + kOpeningOffset);
    move(simple.topLeft());
    setFixedSize(simple.size());
    viewSwitch_->setText(kAdvanced);

    ApplyRuleC();
    version_->setText(
        version_->text().replace(u"INFO"_qs, QString::fromStdString(platform::ProgramVersion())));
}

void SettingsDialog::Load() {
    const SettingsStore store(HKEY_LOCAL_MACHINE, kProgramKey);
    favoriteActivated_->setChecked(store.ReadDword(u"Favorite Activated"_qs, 0) != 0);
    ApplyRuleA();
    favoriteFolder_->setText(store.ReadString(u"Favorite Folder"_qs, QString()));
    // Both set (only possible from outside the dialog) would leave both boxes disabled; the
    // favourite folder is what the dialog then shows, and saves.
    currentDirectory_->setChecked(store.ReadDword(u"Current Directory"_qs, 0) != 0 &&
                                  !favoriteActivated_->isChecked());
    nameFolder_->setChecked(store.ReadDword(u"Name Folder"_qs, 1) != 0);
    deleteAfterExtraction_->setChecked(store.ReadDword(u"Delete After Extraction"_qs, 0) != 0);
    overwrite_->setChecked(store.ReadDword(u"Overwrite"_qs, 1) != 0);
    openFolder_->setChecked(store.ReadDword(u"Open Folder"_qs, 0) != 0);
    associateJar_->setChecked(IsAssociated(u".JAR"_qs));
    associateZip_->setChecked(IsAssociated(u".ZIP"_qs));
    associateRar_->setChecked(IsAssociated(u".RAR"_qs));
    associateAce_->setChecked(IsAssociated(u".ACE"_qs));
    LoadMasks();
}

void SettingsDialog::ApplyRuleA() {
    const bool favorite = favoriteActivated_->isChecked();
    favoriteFolder_->setEnabled(favorite);
    browseFavorite_->setEnabled(favorite);
    currentDirectory_->setEnabled(!favorite);
}

void SettingsDialog::ApplyRuleB() {
    favoriteActivated_->setEnabled(!currentDirectory_->isChecked());
}

void SettingsDialog::ApplyRuleC() {
    addMask_->setEnabled(!mask_->text().isEmpty());
}

void SettingsDialog::SwitchView() {
    if (viewSwitch_->text() == kAdvanced) {
        setFixedSize(width(), height() + AdvancedAreaHeight());
        viewSwitch_->setText(kSimple);
    } else {
        setFixedSize(width(), height() - AdvancedAreaHeight());
        viewSwitch_->setText(kAdvanced);
    }
}

void SettingsDialog::reject() {
    SwitchView();
}

void SettingsDialog::PickFavoriteFolder() {
    QString path = favoriteFolder_->text();
    if (BrowseForFolder(
            this,
            u"Select a Favorite Folder in which files will be automatically extracted into :"_qs,
            false, path))
        favoriteFolder_->setText(path);
}

void SettingsDialog::OpenHelp() {
    platform::shell::Open(ModuleFolder() + u"help/help.htm"_qs);
}

void SettingsDialog::OnAssociationClicked(QCheckBox* box, const QString& extension) {
    if (box->isChecked())
        AssociateExtension(extension);
    else
        RemoveAssociation(extension, false);
}
