#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "engines/engine_conventions.h"
#include "settings/settings_dialog.h"
#include "ui_support/ui_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(SettingsDialogFromTheMainWindow, TheSettingsButtonShowsOneDialogOnTheSharedMasks) {
    tw::test::EnsureApplication();
    tw::test::MarkNotFirstStart();
    MainDialog window({});
    window.Start();
    auto* button = window.findChild<QPushButton*>(QString::number(ids::IDC_SETTINGS));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());

    QList<QWidget*> shown;
    const auto addMaskAndApply = [&] {
        auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown << dialog;
        dialog->findChild<QLineEdit*>(QString::number(SettingsDialog::IDC_MASK))->setText("*.tmp");
        dialog->findChild<QPushButton*>(QString::number(SettingsDialog::IDC_ADD_MASK))->click();
        EXPECT_TRUE(ExclusionMasks().contains("*.tmp"));
        dialog->accept();
    };
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, addMaskAndApply);
        button->click();
    }
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.at(0), shown.at(1));
    EXPECT_EQ(ExclusionMasks(), QStringList({"*.tmp", "*.tmp"}));
}

} // namespace
