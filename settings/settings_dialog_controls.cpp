#include "archives/file_list_ctrl.h"
#include "platform/dialog_units.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"
#include "settings/settings_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The controls of dialog template 139, placed in its dialog units.
namespace {

template <typename Control> Control* Place(Control* control, int x, int y, int width, int height) {
    control->setGeometry(platform::DialogUnitsToPixels(QRect(x, y, width, height)));
    return control;
}

template <typename Control> Control* Named(Control* control, int id) {
    control->setObjectName(QString::number(id));
    return control;
}

QPushButton* Button(QWidget* parent, const QString& text, int id) {
    auto* button = Named(new QPushButton(text, parent), id);
    button->setAutoDefault(false);
    return button;
}

// The box stands right of its text.
QCheckBox* TextLeftBox(QWidget* parent, const QString& text, int id) {
    auto* box = Named(new QCheckBox(text, parent), id);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

QCheckBox* Box(QWidget* parent, const QString& text, int id) {
    return Named(new QCheckBox(text, parent), id);
}

void Picture(QWidget* parent, int resource, int x, int y, int width, int height, int id = -1) {
    auto* picture = Place(new QLabel(parent), x, y, width, height);
    picture->setPixmap(res::Icon(resource).pixmap(picture->size()));
    picture->setScaledContents(true);
    if (id != -1)
        Named(picture, id);
}

void EtchedLine(QWidget* parent, int x, int y, int width) {
    auto* line = Place(new QFrame(parent), x, y, width, 1);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(2);
}

void WhiteFrame(QWidget* parent, int x, int y, int width, int height) {
    auto* frame = Place(new QFrame(parent), x, y, width, height);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    QPalette colours = frame->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    frame->setPalette(colours);
}

} // namespace

void SettingsDialog::CreateControls() {
    Picture(this, res::IDB_SETTINGS_UPPER_BAND, 5, 5, 195, 9);
    Picture(this, res::IDB_SETTINGS_PICTURE, 5, 68, 60, 43);
    Picture(this, res::IDB_SETTINGS_LOWER_BAND, 6, 199, 195, 9);
    WhiteFrame(this, 7, 40, 191, 25);

    apply_ = Place(Button(this, u"Apply"_qs, IDC_APPLY), 151, 176, 50, 14);
    apply_->setDefault(true);
    viewSwitch_ = Place(Button(this, u"Advanced.."_qs, IDC_VIEW_SWITCH), 98, 176, 50, 14);
    helpDocs_ = Place(Button(this, u"Help Docs"_qs, IDC_HELP_DOCS), 48, 176, 46, 14);
    version_ = Place(Named(new QLabel(u"Ver. INFO"_qs, this), IDC_VERSION), 8, 179, 33, 8);
    Picture(this, res::IDI_SETTINGS_DIALOG, 12, 17, 20, 20, IDC_PICTURE);

    deleteAfterExtraction_ =
        Place(TextLeftBox(this, u"Delete Files To Recycle Bin After Extracted"_qs,
                          IDC_DELETE_AFTER_EXTRACTION),
              34, 17, 160, 10);
    openFolder_ =
        Place(TextLeftBox(this, u"Open Destination Folder After Extraction"_qs, IDC_OPEN_FOLDER),
              34, 28, 160, 10);
    associateRar_ = Place(TextLeftBox(this, u"RAR"_qs, IDC_ASSOCIATE_RAR), 121, 43, 30, 9);
    associateAce_ = Place(TextLeftBox(this, u"ACE"_qs, IDC_ASSOCIATE_ACE), 164, 42, 30, 9);
    associateZip_ = Place(TextLeftBox(this, u"ZIP"_qs, IDC_ASSOCIATE_ZIP), 121, 53, 30, 9);
    associateJar_ = Place(TextLeftBox(this, u"JAR"_qs, IDC_ASSOCIATE_JAR), 164, 53, 30, 9);
    auto* associateLabel =
        Place(new QLabel(u"Select the archive types to\nassociate Tamblewick with"_qs, this), 15,
              44, 92, 18);
    associateLabel->setTextFormat(Qt::PlainText);
    auto* askLabel = Place(new QLabel(u"If no option is selected, the user is asked which folder "
                                      u"to extract files into"_qs,
                                      this),
                           13, 81, 182, 15);
    askLabel->setWordWrap(true);
    // Both reach over the picture; their own background keeps the text readable.
    askLabel->setAutoFillBackground(true);

    favoriteActivated_ =
        Place(Box(this, u"Automatically extract archives into:"_qs, IDC_FAVORITE_ACTIVATED), 17,
              102, 167, 8);
    favoriteActivated_->setAutoFillBackground(true);
    favoriteFolder_ = Place(Named(new QLineEdit(this), IDC_FAVORITE_FOLDER), 28, 114, 141, 12);
    favoriteFolder_->setEnabled(false);
    browseFavorite_ = Place(Button(this, u".."_qs, IDC_BROWSE_FAVORITE), 173, 114, 22, 12);
    browseFavorite_->setEnabled(false);
    currentDirectory_ = Place(
        Box(this, u"Extract into current directory"_qs, IDC_CURRENT_DIRECTORY), 17, 130, 114, 10);
    nameFolder_ =
        Place(Box(this, u"Extract archives into their own name folder"_qs, IDC_NAME_FOLDER), 17,
              142, 175, 10);
    overwrite_ =
        Place(Box(this, u"Overwrite all files / Do not overwrite any files"_qs, IDC_OVERWRITE), 12,
              156, 178, 9);
    EtchedLine(this, 6, 169, 196);
    EtchedLine(this, 6, 195, 196);

    maskList_ = Place(Named(new FileListCtrl(this), IDC_MASK_LIST), 11, 212, 105, 31);
    maskList_->SetViewStyle(FileListCtrl::SmallIcons);
    Place(new QLabel(u" Mask:"_qs, this), 120, 211, 22, 15);
    mask_ = Place(Named(new QLineEdit(this), IDC_MASK), 144, 213, 49, 12);
    addMask_ = Place(Button(this, u"Add"_qs, IDC_ADD_MASK), 121, 229, 35, 14);
    deleteMask_ = Place(Button(this, u"Delete"_qs, IDC_DELETE_MASK), 159, 229, 36, 14);
}
