#include "settings/associations.h"
#include "settings_dialog_fixture.h"

#include <QCheckBox>

using tw::test::BoxAnswerer;

namespace {

using SettingsDialogAssociations = tw::test::SettingsDialogFixture;

TEST_F(SettingsDialogAssociations, ABoxActsAtOnceAndShowsTheStateAtTheNextShowing) {
    Open();
    for (int id : {SettingsDialog::IDC_ASSOCIATE_ZIP, SettingsDialog::IDC_ASSOCIATE_RAR,
                   SettingsDialog::IDC_ASSOCIATE_ACE, SettingsDialog::IDC_ASSOCIATE_JAR})
        EXPECT_FALSE(Control<QCheckBox>(id).isChecked()) << id;
    {
        BoxAnswerer answerer;
        Click(SettingsDialog::IDC_ASSOCIATE_ZIP);
        EXPECT_TRUE(IsAssociated(".zip"));
        EXPECT_EQ(answerer.Texts(),
                  QStringList({"Tamblewick is now associated with\t\nZIP archives."}));
        EXPECT_EQ(answerer.Titles(), QStringList({"Error"}));
        Click(SettingsDialog::IDC_APPLY);
        EXPECT_EQ(answerer.Texts().size(), 1);
    }
    EXPECT_TRUE(IsAssociated(".zip"));
    EXPECT_FALSE(IsAssociated(".rar"));

    Open();
    EXPECT_TRUE(Control<QCheckBox>(SettingsDialog::IDC_ASSOCIATE_ZIP).isChecked());
    EXPECT_FALSE(Control<QCheckBox>(SettingsDialog::IDC_ASSOCIATE_JAR).isChecked());
    {
        BoxAnswerer answerer;
        Click(SettingsDialog::IDC_ASSOCIATE_ZIP);
        Click(SettingsDialog::IDC_ASSOCIATE_JAR);
        EXPECT_EQ(answerer.Texts(),
                  QStringList({"File association has been removed.\t",
                               "Tamblewick is now associated with\t\nJAR archives."}));
    }
    EXPECT_FALSE(IsAssociated(".zip"));
    EXPECT_TRUE(IsAssociated(".jar"));
}

} // namespace
