#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "auxiliary/about_box.h"
#include "ui_support/ui_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QLabel& Text(const AboutDialog& box, int id) {
    auto* label = box.findChild<QLabel*>(QString::number(id));
    EXPECT_NE(label, nullptr) << id;
    return *label;
}

TEST(AboutBox, TheBuildDateGetsItsPointAndComma) {
    const std::pair<QString, QString> cases[] = {
        {u"Jan  3 2002"_qs, u"Jan.  3, 2002"_qs},
        {u"Dec 24 2002"_qs, u"Dec. 24, 2002"_qs},
        {u"Oct 10 2026"_qs, u"Oct. 10, 2026"_qs},
        {u""_qs, u""_qs},
    };
    for (const auto& [compiler, shown] : cases)
        EXPECT_EQ(BuildDateText(compiler), shown) << compiler.toStdString();
}

TEST(AboutBox, ShowsVersionFormatsPictureAndBuildDate) {
    tw::test::EnsureApplication();
    AboutDialog box;
    EXPECT_EQ(box.windowTitle(), u"About..."_qs);
    const QString text = Text(box, AboutDialog::IDC_ABOUT_TEXT).text();
    EXPECT_TRUE(text.startsWith(u"Tamblewick 2.70\nZIP, RAR, ACE, JAR\n\n"_qs))
        << text.toStdString();
    EXPECT_FALSE(text.contains(u"VERSION"_qs));
    EXPECT_TRUE(QRegularExpression(u"^[A-Z][a-z]{2}\\. [ 123]\\d, \\d{4}$"_qs)
                    .match(Text(box, AboutDialog::IDC_BUILD_DATE).text())
                    .hasMatch())
        << Text(box, AboutDialog::IDC_BUILD_DATE).text().toStdString();
    bool pictured = false;
    for (const QLabel* label : box.findChildren<QLabel*>())
        pictured = pictured || !label->pixmap().isNull();
    EXPECT_TRUE(pictured);
}

TEST(AboutBox, OpensFromTheWindowMenuAndOkClosesIt) {
    tw::test::EnsureApplication();
    tw::test::MarkNotFirstStart();
    MainDialog dialog{QString()};
    dialog.Start();
    bool seen = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&seen] {
        if (auto* box = qobject_cast<AboutDialog*>(QApplication::activeModalWidget())) {
            seen = true;
            box->findChild<QPushButton*>(u"1"_qs)->click();
        }
    });
    look.start(10);
    dialog.WindowMenu().ActionFor(ids::IDM_ABOUT)->trigger();
    EXPECT_TRUE(seen) << "the About box ran modally and OK ended it";
}

} // namespace
