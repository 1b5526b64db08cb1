#include "archives/search_dialog.h"
#include "extract/messages.h"
#include "extract/ui_links.h"
#include "platform/dialog_units.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Stands in for the main window: records every archive the search reports and, at the first
// one, does what the test asks while the search thread waits for the answer.
class FindReceiver : public ReportReceiver {
public:
    explicit FindReceiver(std::function<void()> atFirstFind = {})
        : atFirstFind_(std::move(atFirstFind)) {
        UiLinks().mainWindow = this;
    }
    ~FindReceiver() { UiLinks().mainWindow = nullptr; }

    platform::LRESULT WindowProc(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM) override {
        if (message != UM_ADDITEM)
            return 0;
        found << TextOf(wParam);
        if (found.size() == 1 && atFirstFind_)
            atFirstFind_();
        return 0;
    }
    void RefreshCounters() override {}
    void AddCrcOkEntry() override {}

    QStringList found;

private:
    std::function<void()> atFirstFind_;
};

QString ProgressOf(const SearchDialog& dialog) {
    return dialog.findChild<QLabel*>(QString::number(SearchDialog::IDC_PROGRESS))->text();
}

class SearchDialogTest : public testing::Test {
protected:
    void SetUp() override { tw::test::EnsureApplication(); }
    fs::path work = tw::test::CurrentHome().work;
};

TEST_F(SearchDialogTest, ProgressTextShowsShortFoldersWholeAndCutsLongOnes) {
    const QString prefix = u"Searching for archives in :\n"_qs;
    const QString thirty = u"/ABCDEFGHIJKLMNOPQRSTUVWXYZ12/"_qs;
    const QString forty = u"/HOME/USER/DOWNLOADS/ARCHIVES/2024/JUNE/"_qs;
    ASSERT_EQ(thirty.size(), 30);
    ASSERT_EQ(forty.size(), 40);
    struct Case {
        QString folder;
        QString shown;
    };
    for (const Case& c : {Case{u"/"_qs, u"/"_qs}, Case{thirty, thirty},
                          Case{u"X"_qs + thirty, u"X/A..."_qs + thirty},
                          Case{forty, u"/HO.../DOWNLOADS/ARCHIVES/2024/JUNE/"_qs}})
        EXPECT_EQ(SearchProgressText(c.folder), prefix + c.shown) << c.folder.toStdString();

    // The dialog shows the folder it enters, upper-cased and cut the same way.
    const QString folder = u"searched-folder-with-a-long-name-abcdef"_qs;
    ASSERT_EQ(folder.size() + 1, 40);
    QDir().mkdir(folder);
    SearchDialog dialog(nullptr, folder);
    EXPECT_EQ(ProgressOf(dialog), u"Started In:");
    EXPECT_EQ(dialog.exec(), 0);
    EXPECT_EQ(ProgressOf(dialog), prefix + u"SEA...OLDER-WITH-A-LONG-NAME-ABCDEF/"_qs);
}

TEST_F(SearchDialogTest, PlacementFollowsTheOwnerWidth) {
    struct Case {
        QRect owner;
        int currentWidth;
        QRect placed;
    };
    for (const Case& c : {Case{{100, 50, 250, 200}, 288, {110, 120, 240, 80}},
                          Case{{100, 50, 299, 200}, 288, {110, 120, 289, 80}},
                          Case{{100, 50, 300, 200}, 305, {98, 120, 300, 80}},
                          Case{{100, 50, 400, 200}, 289, {155, 120, 300, 80}}})
        EXPECT_EQ(SearchDialogPlacement(c.owner, c.currentWidth), c.placed) << c.owner.width();

    // The real dialog, placed from its window's width when it shows: the template's and the frame.
    const int templateWidth = platform::DialogUnitsToPixels(QRect(0, 0, 192, 43)).width();
    fs::create_directory(work / "empty");
    for (const int ownerWidth : {250, 400}) {
        QWidget owner;
        owner.setGeometry(100, 50, ownerWidth, 200);
        owner.show();
        SearchDialog dialog(&owner, u"empty"_qs);
        dialog.exec();
        const int frameWidth = dialog.frameGeometry().width() - dialog.width();
        EXPECT_EQ(dialog.frameGeometry(),
                  SearchDialogPlacement(owner.frameGeometry(), templateWidth + frameWidth));
    }
}

TEST_F(SearchDialogTest, StopEscapeAndCloseEndADeepSearchBeforeTheNextEntry) {
    fs::path level = work / "deep";
    for (int depth = 0; depth < 10; ++depth) {
        for (const char* name : {"one.zip", "two.rar", "branch/three.ace"})
            tw::test::WriteFile(level / name, "x");
        level /= "deeper";
    }
    using Action = std::function<void(SearchDialog&)>;
    const std::vector<std::pair<const char*, Action>> actions = {
        {"Stop",
         [](SearchDialog& d) {
             d.findChild<QPushButton*>(QString::number(SearchDialog::IDC_STOP))->click();
         }},
        {"Escape", [](SearchDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close", [](SearchDialog& d) { d.close(); }},
    };
    for (const auto& [name, act] : actions) {
        SearchDialog* running = nullptr;
        bool visibleAfterwards = false;
        FindReceiver receiver([&] {
            act(*running);
            visibleAfterwards = running->isVisible();
        });
        {
            SearchDialog dialog(nullptr, u"deep"_qs);
            running = &dialog;
            EXPECT_EQ(dialog.exec(), 0) << name;
            EXPECT_TRUE(visibleAfterwards) << name << ": the dialog waits for its search";
        }
        EXPECT_EQ(receiver.found.size(), 1) << name << ": the walk has 30 archives";
        EXPECT_FALSE(SearchStop) << name;
    }
}

} // namespace
