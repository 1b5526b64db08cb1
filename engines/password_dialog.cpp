#include "engines/password_dialog.h"

#include "engines/password_protocol.h"
#include "platform/dialog_units.h"
#include "platform/ui_thread.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename Widget> Widget* Place(Widget* widget, int x, int y, int width, int height) {
    widget->setGeometry(platform::DialogUnitsToPixels(QRect(x, y, width, height)));
    return widget;
}

} // namespace

PasswordDialog::PasswordDialog(const QString& prompt, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle("Password");
    setFont(platform::DialogFont());
    setFixedSize(platform::DialogUnitsToPixels(QRect(0, 0, 186, 93)).size());

    auto* ok = Place(new QPushButton("OK", this), 127, 69, 52, 16);
    ok->setDefault(true);
    auto* cancel = Place(new QPushButton("Cancel", this), 73, 69, 50, 16);
    password_ = Place(new QLineEdit(this), 7, 28, 172, 13);
    password_->setEchoMode(QLineEdit::Password);
    password_->setObjectName("1100");
    // The template's "Password : " gives way to the caller's prompt before the dialog shows.
    prompt_ = Place(new QLabel(prompt, this), 7, 7, 172, 19);
    prompt_->setObjectName("1019");
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* note = Place(new QLabel("The password that is entered is automatically used for all "
                                  "files in the current archive.",
                                  this),
                       7, 45, 172, 23);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(ok, &QPushButton::clicked, this, &PasswordDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PasswordDialog::reject);
    password_->setFocus();
}

void PasswordDialog::accept() {
    answer_ = password_->text();
    QDialog::accept();
}

void PasswordDialog::reject() {
    answer_ = kCanceled;
    QDialog::reject();
}

QString ShowPasswordDialog(const QString& prompt) {
    QString answer = kCanceled;
    platform::RunDialogOnUiThread([&] {
        PasswordDialog dialog(prompt);
        dialog.exec();
        answer = dialog.Answer();
    });
    return answer;
}
