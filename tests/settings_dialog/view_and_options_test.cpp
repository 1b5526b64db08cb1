#include "archives/file_list_ctrl.h"
#include "archives/naming.h"
#include "platform/shell.h"
#include "settings_dialog_fixture.h"
#include "support/fixtures.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QUrl>

using tw::test::SettingsDialogFixture;

namespace {

struct Option {
    const char* value;
    int control;
    bool dialogDefault;
};

// Every check box that stands for a stored option, with the dialog's own default.
const Option kOptions[] = {
    {"Favorite Activated", SettingsDialog::IDC_FAVORITE_ACTIVATED, false},
    {"Current Directory", SettingsDialog::IDC_CURRENT_DIRECTORY, false},
    {"Name Folder", SettingsDialog::IDC_NAME_FOLDER, true},
    {"Delete After Extraction", SettingsDialog::IDC_DELETE_AFTER_EXTRACTION, false},
    {"Overwrite", SettingsDialog::IDC_OVERWRITE, true},
    {"Open Folder", SettingsDialog::IDC_OPEN_FOLDER, false},
};

std::uint32_t Stored(const char* name) {
    return ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, QString::fromUtf8(name), 99);
}

class SettingsDialogView : public SettingsDialogFixture {
protected:
    // The area the simple view hides: the mask list with its edit field and buttons.
    void ExpectAdvancedAreaShown(bool shown) {
        for (int id : {SettingsDialog::IDC_MASK_LIST, SettingsDialog::IDC_MASK,
                       SettingsDialog::IDC_ADD_MASK, SettingsDialog::IDC_DELETE_MASK}) {
            const QRect area = Control(id).geometry();
            if (shown)
                EXPECT_LE(area.bottom(), dialog->height()) << id;
            else
                EXPECT_GE(area.top(), dialog->height()) << id;
        }
        EXPECT_LE(Control(SettingsDialog::IDC_APPLY).geometry().bottom(), dialog->height());
        EXPECT_EQ(Control<QPushButton>(SettingsDialog::IDC_VIEW_SWITCH).text(),
                  shown ? "Simple.." : "Advanced..");
    }
};

TEST_F(SettingsDialogView, EscapeAndAdvancedSwitchTheViewAndOnlyApplyCloses) {
    int showings = 0;
    const std::function<void()> drive = [&] {
        ++showings;
        ExpectAdvancedAreaShown(false);
        const int simpleHeight = dialog->height();
        const QPoint at = dialog->pos();

        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        ExpectAdvancedAreaShown(true);
        EXPECT_EQ(dialog->height(), simpleHeight + SettingsDialog::AdvancedAreaHeight());
        EXPECT_EQ(dialog->pos(), at);

        Click(SettingsDialog::IDC_VIEW_SWITCH);
        ExpectAdvancedAreaShown(false);
        EXPECT_EQ(dialog->height(), simpleHeight);
        Click(SettingsDialog::IDC_VIEW_SWITCH);

        dialog->close();
        dialog->reject();
        EXPECT_TRUE(dialog->isVisible());
        Click(SettingsDialog::IDC_APPLY);
    };
    QTimer::singleShot(0, drive);
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    // Left in the advanced view, it opens in the simple one again.
    QTimer::singleShot(0, drive);
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_EQ(showings, 2);
}

TEST_F(SettingsDialogView, StaysOnTopWithoutCloseBoxAndOpensInsideTheDesktop) {
    Open();
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    EXPECT_GE(dialog->x(), 50);
    EXPECT_GE(dialog->y(), 50);
    const QSize desktop = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_LE(dialog->x() + dialog->width(), desktop.width() - 50);
    EXPECT_EQ(Control<QLabel>(SettingsDialog::IDC_VERSION).text(), "Ver. 2.70");
}

using SettingsDialogOptions = SettingsDialogFixture;

TEST_F(SettingsDialogOptions, AFreshStoreShowsTheDialogsDefaultsAndApplyStoresThem) {
    Open();
    for (const Option& option : kOptions)
        EXPECT_EQ(Control<QCheckBox>(option.control).isChecked(), option.dialogDefault)
            << option.value;
    EXPECT_FALSE(Control(SettingsDialog::IDC_FAVORITE_FOLDER).isEnabled());
    EXPECT_FALSE(Control(SettingsDialog::IDC_BROWSE_FAVORITE).isEnabled());
    EXPECT_FALSE(Control(SettingsDialog::IDC_ADD_MASK).isEnabled());

    Click(SettingsDialog::IDC_APPLY);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    for (const Option& option : kOptions)
        EXPECT_EQ(Stored(option.value), option.dialogDefault ? 1u : 0u) << option.value;
    EXPECT_TRUE(tw::test::ProgramValueExists("Favorite Folder"));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey + "\\No Extract", "0", 99), 0u);
}

TEST_F(SettingsDialogOptions, StoredOptionsAreShownAndWhatTheUserChangesIsStored) {
    // Favourite and current directory exclude each other; each is tried in its own showing.
    for (const char* excluded : {"Current Directory", "Favorite Activated"}) {
        for (const Option& option : kOptions)
            WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, option.value,
                       std::strcmp(option.value, excluded) == 0 ? 0 : !option.dialogDefault);
        WriteString(HKEY_LOCAL_MACHINE, kProgramKey, "Favorite Folder", tw::test::WorkPath(""));
        Open();
        for (const Option& option : kOptions) {
            auto& box = Control<QCheckBox>(option.control);
            const bool stored = std::strcmp(option.value, excluded) != 0 && !option.dialogDefault;
            EXPECT_EQ(box.isChecked(), stored) << option.value;
            if (box.isEnabled())
                box.click();
        }
        Click(SettingsDialog::IDC_APPLY);
        ASSERT_FALSE(dialog->isVisible()) << excluded;
        for (const Option& option : kOptions) {
            if (std::strcmp(option.value, "Favorite Activated") == 0 ||
                std::strcmp(option.value, "Current Directory") == 0)
                continue;
            EXPECT_EQ(Stored(option.value), option.dialogDefault ? 1u : 0u) << option.value;
        }
    }
}

TEST_F(SettingsDialogOptions, EnableRulesFollowTheBoxesAndTheMaskField) {
    Open();
    auto& favorite = Control<QCheckBox>(SettingsDialog::IDC_FAVORITE_ACTIVATED);
    auto& current = Control<QCheckBox>(SettingsDialog::IDC_CURRENT_DIRECTORY);
    auto& folder = Control(SettingsDialog::IDC_FAVORITE_FOLDER);
    auto& browse = Control(SettingsDialog::IDC_BROWSE_FAVORITE);

    favorite.click();
    EXPECT_TRUE(folder.isEnabled());
    EXPECT_TRUE(browse.isEnabled());
    EXPECT_FALSE(current.isEnabled());
    favorite.click();
    EXPECT_FALSE(folder.isEnabled());
    EXPECT_FALSE(browse.isEnabled());
    EXPECT_TRUE(current.isEnabled());

    current.click();
    EXPECT_FALSE(favorite.isEnabled());
    current.click();
    EXPECT_TRUE(favorite.isEnabled());

    auto& mask = Control<QLineEdit>(SettingsDialog::IDC_MASK);
    auto& add = Control(SettingsDialog::IDC_ADD_MASK);
    QTest::keyClick(&mask, Qt::Key_A);
    EXPECT_TRUE(add.isEnabled());
    QTest::keyClick(&mask, Qt::Key_Backspace);
    EXPECT_FALSE(add.isEnabled());
}

TEST_F(SettingsDialogOptions, BothDestinationsStoredLeaveTheFavoriteUsable) {
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, "Favorite Activated", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, "Current Directory", 1);
    WriteString(HKEY_LOCAL_MACHINE, kProgramKey, "Favorite Folder", tw::test::WorkPath(""));
    Open();
    auto& favorite = Control<QCheckBox>(SettingsDialog::IDC_FAVORITE_ACTIVATED);
    EXPECT_TRUE(favorite.isChecked());
    EXPECT_TRUE(favorite.isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(SettingsDialog::IDC_CURRENT_DIRECTORY).isChecked());
    Click(SettingsDialog::IDC_APPLY);
    EXPECT_EQ(Stored("Current Directory"), 0u);
    EXPECT_EQ(Stored("Favorite Activated"), 1u);
}

TEST_F(SettingsDialogOptions, HelpDocsOpensTheHelpPageBesideTheProgram) {
    QList<QUrl> opened;
    platform::shell::SetOpenRecorder([&](const QUrl& url) { opened << url; });
    Open();
    Click(SettingsDialog::IDC_HELP_DOCS);
    platform::shell::SetOpenRecorder({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl::fromLocalFile(ModuleFolder() + "help/help.htm"));
    EXPECT_TRUE(dialog->isVisible());

    // The page installed beside the program explains every option of the dialog.
    const std::string page = tw::test::ReadFile(tw::test::BinDir() / "help" / "help.htm");
    for (const QCheckBox* box : dialog->findChildren<QCheckBox*>())
        EXPECT_NE(page.find(box->text().toStdString()), std::string::npos)
            << box->text().toStdString();
    EXPECT_EQ(page.find("src=\"http"), std::string::npos);
}

} // namespace
