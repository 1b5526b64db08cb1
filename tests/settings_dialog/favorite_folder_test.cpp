#include "auxiliary/folder_browser.h"
#include "settings_dialog_fixture.h"
#include "support/fixtures.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

using tw::test::BoxAnswerer;
using tw::test::WorkPath;

namespace {

const QString kQuestion = "Cannot find favorite folder.\n\nClick 'Yes' to try and create the "
                          "directory.\nClick 'No' to select a different directory.";
const QString kInvalid = "Invalid favorite folder. Select a new one.\n";
const QString kCreationFailed = "Error creating directory. Try agian.";

enum class Outcome {
    Saved,       // every option stored, dialog closed
    FolderKept,  // only the folder and "Favorite Activated" = 0 stored, dialog open
    NothingSaved // dialog open, store untouched
};

struct Case {
    const char* name;
    QString folder; // as typed; "@" stands for the test's work folder
    bool activated;
    QMessageBox::StandardButton answer;
    QStringList boxes;
    Outcome outcome;
    bool folderExistsAfterwards;
};

QString Expand(const QString& folder) {
    QString expanded = folder;
    return expanded.replace(u'@', WorkPath("").chopped(1));
}

class SettingsDialogFavorite : public tw::test::SettingsDialogFixture {
protected:
    void Enter(const QString& folder, bool activated) {
        Open();
        auto& box = Control<QCheckBox>(SettingsDialog::IDC_FAVORITE_ACTIVATED);
        if (box.isChecked() != activated)
            box.click();
        Control<QLineEdit>(SettingsDialog::IDC_FAVORITE_FOLDER).setText(folder);
    }
};

TEST_F(SettingsDialogFavorite, ApplyChecksTheFolderAsTheOptionRequires) {
    tw::test::WriteFile(tw::test::CurrentHome().work / "plain-file", "x");
    QDir().mkdir(WorkPath("exists"));
    const QString tooLong = "@/" + QString(300, u'n');
    const Case cases[] = {
        {"missing, Yes creates it",
         "@/made",
         true,
         QMessageBox::Yes,
         {kQuestion},
         Outcome::Saved,
         true},
        {"missing, No keeps the text",
         "@/declined",
         true,
         QMessageBox::No,
         {kQuestion},
         Outcome::FolderKept,
         false},
        {"parent missing",
         "@/a/b",
         true,
         QMessageBox::Yes,
         {kQuestion, kCreationFailed},
         Outcome::FolderKept,
         false},
        {"a file is no folder",
         "@/plain-file",
         true,
         QMessageBox::Yes,
         {kQuestion, kCreationFailed},
         Outcome::FolderKept,
         true},
        {"relative", "new", true, QMessageBox::Yes, {kInvalid}, Outcome::NothingSaved, false},
        {"drive letter",
         "C:\\new",
         true,
         QMessageBox::Yes,
         {kInvalid},
         Outcome::NothingSaved,
         false},
        {"colon first", ":new", true, QMessageBox::Yes, {kInvalid}, Outcome::NothingSaved, false},
        {"empty", "", true, QMessageBox::Yes, {kInvalid}, Outcome::NothingSaved, false},
        {"too long to read back",
         tooLong,
         false,
         QMessageBox::Yes,
         {kInvalid},
         Outcome::NothingSaved,
         false},
        {"missing but not used", "@/unused", false, QMessageBox::Yes, {}, Outcome::Saved, false},
        {"existing, blanks around",
         "  @/exists \t",
         true,
         QMessageBox::Yes,
         {},
         Outcome::Saved,
         true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        DeleteTree(HKEY_LOCAL_MACHINE, kProgramKey);
        const QString folder = Expand(test.folder).trimmed();
        Enter(Expand(test.folder), test.activated);
        {
            BoxAnswerer answerer(test.answer);
            Click(SettingsDialog::IDC_APPLY);
            EXPECT_EQ(answerer.Texts(), test.boxes);
        }
        EXPECT_EQ(QFileInfo::exists(folder), test.folderExistsAfterwards);
        const QString storedFolder =
            ReadString(HKEY_LOCAL_MACHINE, kProgramKey, "Favorite Folder", "<none>");
        const std::uint32_t storedActivated =
            ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Favorite Activated", 99);
        switch (test.outcome) {
        case Outcome::Saved:
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_EQ(storedFolder, folder);
            EXPECT_EQ(storedActivated, test.activated ? 1u : 0u);
            EXPECT_TRUE(tw::test::ProgramValueExists("Overwrite"));
            break;
        case Outcome::FolderKept:
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(storedFolder, folder);
            EXPECT_EQ(storedActivated, 0u);
            EXPECT_FALSE(tw::test::ProgramValueExists("Overwrite"));
            EXPECT_TRUE(Control<QCheckBox>(SettingsDialog::IDC_FAVORITE_ACTIVATED).isChecked());
            break;
        case Outcome::NothingSaved:
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(storedFolder, "<none>");
            EXPECT_FALSE(tw::test::ProgramValueExists("Overwrite"));
            break;
        }
        dialog->hide();
    }
}

TEST_F(SettingsDialogFavorite, TheBrowserStartsAtTheTypedFolderAndOnlyAChoiceReplacesIt) {
    QDir().mkpath(WorkPath("start/inner"));
    Enter(WorkPath("start"), true);
    auto& field = Control<QLineEdit>(SettingsDialog::IDC_FAVORITE_FOLDER);
    QString seenTitle;
    QString seenStart;
    const auto browse = [&](bool choose) {
        QTimer::singleShot(0, [&, choose] {
            auto* browser = qobject_cast<FolderBrowserDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(browser, nullptr);
            seenStart = browser->SelectedPath();
            const auto labels = browser->findChildren<QLabel*>();
            seenTitle = labels.isEmpty() ? QString() : labels.first()->text();
            if (choose) {
                browser->SelectPath(WorkPath("start/inner"));
                browser->accept();
            } else {
                browser->reject();
            }
        });
        Click(SettingsDialog::IDC_BROWSE_FAVORITE);
    };

    browse(false);
    EXPECT_EQ(seenStart, WorkPath("start/"));
    EXPECT_EQ(seenTitle,
              "Select a Favorite Folder in which files will be automatically extracted into :");
    EXPECT_EQ(field.text(), WorkPath("start"));
    browse(true);
    EXPECT_EQ(field.text(), WorkPath("start/inner"));
    EXPECT_TRUE(dialog->isVisible());
}

} // namespace
