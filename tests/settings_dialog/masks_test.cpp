#include "archives/file_list_ctrl.h"
#include "extract/run_state.h"
#include "settings_dialog_fixture.h"
#include "support/fixtures.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace {

const QString kMaskKey = kProgramKey + "\\No Extract";

void StoreMasks(std::uint32_t count, const QStringList& values) {
    WriteDword(HKEY_LOCAL_MACHINE, kMaskKey, "0", count);
    for (int i = 0; i < values.size(); ++i)
        WriteString(HKEY_LOCAL_MACHINE, kMaskKey, QString::number(i + 1), values.at(i));
}

class SettingsDialogMasks : public tw::test::SettingsDialogFixture {
protected:
    FileListCtrl& List() { return Control<FileListCtrl>(SettingsDialog::IDC_MASK_LIST); }

    QStringList Rows() {
        QStringList rows;
        for (int row = 0; row < List().ItemCount(); ++row)
            rows << List().ItemText(row, 0);
        return rows;
    }

    void Add(const QString& mask) {
        Control<QLineEdit>(SettingsDialog::IDC_MASK).setText(mask);
        Click(SettingsDialog::IDC_ADD_MASK);
    }

    void DeleteRows(const QList<int>& rows) {
        for (int row = 0; row < List().ItemCount(); ++row)
            List().SetSelected(row, rows.contains(row));
        Click(SettingsDialog::IDC_DELETE_MASK);
    }
};

TEST_F(SettingsDialogMasks, LoadFollowsTheCountSkipsEmptyEntriesAndTakesIconsByExtension) {
    StoreMasks(3, {"*.txt", "", "temp", "beyond the count"});
    masks = {"stale"};
    Open();
    EXPECT_EQ(Rows(), QStringList({"*.txt", "temp"}));
    EXPECT_EQ(masks, QStringList({"*.txt", "temp"}));
    IconCache& icons = List().Icons();
    EXPECT_EQ(icons.Names().mid(0, 5), QStringList({"*", "OK", "ERR", "PROC", "DIRCREATE"}));
    EXPECT_EQ(List().ItemImage(0), icons.Names().indexOf(".txt"));
    EXPECT_EQ(List().ItemImage(1), icons.Names().indexOf("temp"));
}

TEST_F(SettingsDialogMasks, AddPutsTheMaskFirstAndApplyStoresTheListInOrder) {
    StoreMasks(1, {"temp"});
    Open();
    Add("*.log");
    EXPECT_EQ(Rows(), QStringList({"*.log", "temp"}));
    EXPECT_EQ(List().ItemImage(0), List().Icons().Names().indexOf(".log"));
    EXPECT_EQ(masks, QStringList({"temp", "*.log"}));
    EXPECT_EQ(Control<QLineEdit>(SettingsDialog::IDC_MASK).text(), "*.log");
    // Not trimmed, and not checked for duplicates.
    Add(" temp");
    Add("*.log");
    Click(SettingsDialog::IDC_APPLY);
    ASSERT_FALSE(dialog->isVisible());
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kMaskKey, "0", 0), 4u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kMaskKey, "3", {}), " temp");

    Open();
    EXPECT_EQ(Rows(), QStringList({"temp", "*.log", " temp", "*.log"}));
}

TEST_F(SettingsDialogMasks, DeleteLeavesNoEntryWithTheDeletedText) {
    StoreMasks(5, {"x", "y", "x", "z", "x"});
    Open();
    // Two selected rows of the same text; the third "x" row stays listed but its entry goes too.
    DeleteRows({0, 2});
    EXPECT_EQ(Rows(), QStringList({"y", "z", "x"}));
    EXPECT_EQ(masks, QStringList({"y", "z"}));
    // The entry that stands last among the masks.
    DeleteRows({1});
    EXPECT_EQ(masks, QStringList({"y"}));
    Click(SettingsDialog::IDC_APPLY);

    Open();
    EXPECT_EQ(Rows(), QStringList({"y"}));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kMaskKey, "5", {}), "x");
}

TEST_F(SettingsDialogMasks, ADroppedArchiveIsListedButIsNoMask) {
    const auto archive = tw::test::CurrentHome().work / "dropped.zip";
    tw::test::WriteFile(archive, "PK");
    Open();
    List().DropFiles({QString::fromStdString(archive.string())});
    EXPECT_EQ(Rows(), QStringList({"dropped.zip"}));
    EXPECT_TRUE(masks.isEmpty());
    Click(SettingsDialog::IDC_APPLY);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kMaskKey, "0", 99), 0u);
}

TEST_F(SettingsDialogMasks, ARunInProgressKeepsTheMasksItStartedWith) {
    StoreMasks(1, {"saved"});
    masks = {"running"};
    RunInProgress = true;
    Open();
    Add("new");
    EXPECT_EQ(masks, QStringList({"running"}));
    Click(SettingsDialog::IDC_APPLY);
    RunInProgress = false;
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kMaskKey, "0", 0), 2u);

    Open();
    EXPECT_EQ(masks, QStringList({"saved", "new"}));
    DeleteRows({0});
    EXPECT_EQ(masks, QStringList({"new"}));
}

} // namespace
