#include "auxiliary/new_folder_dialog.h"

#include "platform/dialog_units.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kMaxPathBytes = 259;

template <typename Widget> Widget* Place(Widget* widget, int x, int y, int width, int height) {
    widget->setGeometry(platform::DialogUnitsToPixels(QRect(x, y, width, height)));
    return widget;
}

// Letters typed into the two fields become capitals, as the template's fields make them.
void UpperCaseAsTyped(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
        const int cursor = field->cursorPosition();
        field->setText(text.toUpper());
        field->setCursorPosition(cursor);
    });
}

} // namespace

NewFolderDialog::NewFolderDialog(const QString& parentPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      parent_(parentPath) {
    setWindowTitle("New Folder...");
    setFont(platform::DialogFont());
    setFixedSize(platform::DialogUnitsToPixels(QRect(0, 0, 196, 88)).size());

    Place(new QLabel("Create a new folder by the name of ", this), 41, 6, 132, 10);
    name_ = Place(new QLineEdit("MY FOLDER", this), 40, 19, 150, 12);
    name_->setObjectName("1011");
    name_->setMaxLength(kMaxPathBytes);
    UpperCaseAsTyped(name_);
    Place(new QLabel("within the current folder", this), 5, 36, 132, 10);
    // Shown in capitals as the template has it; names are case-sensitive here, so the folder
    // is made in the real parent.
    parentPath_ = Place(new QLineEdit(parentPath.toUpper(), this), 5, 49, 185, 12);
    parentPath_->setObjectName("1014");
    parentPath_->setReadOnly(true);
    auto* cancel = Place(new QPushButton("&Cancel", this), 86, 68, 50, 15);
    auto* ok = Place(new QPushButton("&OK", this), 140, 68, 50, 15);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &NewFolderDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &NewFolderDialog::reject);
    name_->setFocus();
    name_->selectAll();
}

void NewFolderDialog::accept() {
    createdPath_ = parent_ + name_->text();
    // Names that would not fit a path are refused by not creating anything.
    if (createdPath_.toUtf8().size() <= kMaxPathBytes)
        QDir().mkdir(createdPath_);
    QDialog::accept();
}

void NewFolderDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    res::Icon(res::IDI_NEW_FOLDER).paint(&painter, QRect(15, 14, 32, 32));
}
