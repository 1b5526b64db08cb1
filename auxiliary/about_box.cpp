#include "auxiliary/about_box.h"

#include "platform/dialog_units.h"
#include "platform/version.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

QRect Units(int x, int y, int width, int height) {
    return platform::DialogUnitsToPixels(QRect(x, y, width, height));
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setWindowTitle(u"About..."_qs);
    setFont(platform::DialogFont());
    setFixedSize(Units(0, 0, 223, 93).size());

    (new QGroupBox(this))->setGeometry(Units(5, 2, 211, 68));
    auto* picture = new QLabel(this);
    picture->setGeometry(Units(11, 16, 61, 45));
    picture->setPixmap(res::Icon(res::IDB_ABOUT_PICTURE).pixmap(picture->size()));
    aboutText_ = new QLabel(u"Tamblewick VERSION\nZIP, RAR, ACE, JAR\n\nThe Tamblewick team\n"
                            "support@tamblewick.net\nwww.tamblewick.net"_qs,
                            this);
    aboutText_->setObjectName(QString::number(IDC_ABOUT_TEXT));
    aboutText_->setGeometry(Units(84, 14, 126, 50));
    aboutText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aboutText_->setTextFormat(Qt::PlainText);
    buildDate_ = new QLabel(u"DATE"_qs, this);
    buildDate_->setObjectName(QString::number(IDC_BUILD_DATE));
    buildDate_->setGeometry(Units(7, 76, 64, 11));
    buildDate_->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(u"OK"_qs, this);
    ok->setObjectName(u"1"_qs);
    ok->setGeometry(Units(83, 75, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    OnInitDialog();
}

void AboutDialog::OnInitDialog() {
    QString text = aboutText_->text();
    text.replace(u"VERSION"_qs, QString::fromStdString(platform::ProgramVersion()));
    aboutText_->setText(text);
    buildDate_->setText(BuildDateText(QStringLiteral(__DATE__)));
}

QString BuildDateText(const QString& compilerDate) {
    // The compiler's form is always "Mmm dd yyyy"; anything shorter is shown as it came.
    if (compilerDate.size() < 8)
        return compilerDate;
    QString text = compilerDate;
    text.insert(3, u'.');
    text.insert(text.size() - 5, u',');
    return text;
}
