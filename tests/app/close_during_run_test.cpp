#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "archives/archive_list.h"
#include "archives/file_list_ctrl.h"
#include "extract/run_state.h"
#include "history/history_list.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "ui_support/ui_test_support.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace ids;

namespace {

constexpr int kArchives = 4;

// What the window showed and stored the moment close() came back, before any later event.
struct AfterClose {
    bool runInProgress = true;
    QStringList rows;
    QString status;
    QString overallCounter;
    int rowsAddedWhileClosing = 0;
};

int Count(const QStringList& rows, const QString& prefix) {
    int count = 0;
    for (const QString& row : rows)
        count += row.startsWith(prefix) ? 1 : 0;
    return count;
}

class CloseDuringRun : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        tw::test::MarkNotFirstStart();
        WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Current Directory"_qs, 1);
        WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Delete After Extraction"_qs, 1);
        dialog = std::make_unique<MainDialog>(QString());
        dialog->Start();
        // Enough entries per archive that the run is still busy when the window closes.
        for (int archive = 0; archive < kArchives; ++archive) {
            std::vector<tw::test::ZipEntry> entries;
            for (int file = 0; file < 200; ++file)
                entries.push_back(
                    {"a" + std::to_string(archive) + "/f" + std::to_string(file) + ".txt",
                     std::string(2000, static_cast<char>('a' + file % 26))});
            const fs::path path = Archive(archive);
            tw::test::WriteZip(path, entries);
            AddToArchiveList(QString::fromStdString(path.string()), dialog->ArchiveList());
        }
    }

    static fs::path Archive(int index) {
        return tw::test::CurrentHome().work / ("run" + std::to_string(index) + ".zip");
    }

    void StartRun() { dialog->findChild<QPushButton*>(QString::number(IDC_EXTRACT_ALL))->click(); }

    AfterClose Close() {
        AfterClose after;
        bool closing = false;
        QObject::connect(dialog->History().DetailsView()->model(),
                         &QAbstractItemModel::rowsInserted, dialog.get(), [&] {
                             if (closing)
                                 ++after.rowsAddedWhileClosing;
                         });
        closing = true;
        dialog->close();
        closing = false;
        after.runInProgress = RunInProgress;
        for (int row = 0; row < dialog->History().ItemCount(); ++row)
            after.rows << dialog->History().ItemText(row, 0);
        after.status = dialog->StatusLine().text();
        after.overallCounter =
            dialog->findChild<QLabel*>(QString::number(IDC_OVERALL_COUNTER))->text();
        return after;
    }

    // Every archive that was begun was reported to its end, and nothing after the stop began.
    static void ExpectStoppedAfterWholeArchives(const AfterClose& after, int maxArchives) {
        const QString rows = after.rows.join(u"\n"_qs);
        EXPECT_FALSE(after.runInProgress);
        EXPECT_EQ(after.status, u" Operation Stopped.");
        const int done = Count(after.rows, u"Done"_qs);
        EXPECT_EQ(Count(after.rows, u"Archive: "_qs), done) << rows.toStdString();
        EXPECT_LE(done, maxArchives) << rows.toStdString();
        if (done > 0) {
            EXPECT_EQ(after.rows.constLast(), u"Done");
            EXPECT_EQ(after.rows[after.rows.size() - 2], u"Deleted to Recycling Bin");
        }
        EXPECT_EQ(after.overallCounter, u"%1/%2"_qs.arg(done).arg(kArchives));
        for (int archive = 0; archive < kArchives; ++archive)
            EXPECT_EQ(fs::exists(Archive(archive)), archive >= done) << archive;
    }

    static void ExpectSaved() {
        EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey + u"\\LoadOnRun"_qs, u"0"_qs, 0),
                  static_cast<std::uint32_t>(kArchives));
        EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Last View"_qs, 9), 0u);
        EXPECT_NE(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey + u"\\WindowPos"_qs, u"Width"_qs, 0),
                  0u);
    }

    std::unique_ptr<MainDialog> dialog;
};

TEST_F(CloseDuringRun, TheCurrentArchiveIsFinishedWhileTheWindowServesTheWorker) {
    StartRun();
    ASSERT_TRUE(tw::test::WaitUntil([&] {
        for (int row = 0; row < dialog->History().ItemCount(); ++row)
            if (dialog->History().ItemText(row, 0).startsWith(u"Processed "))
                return true;
        return false;
    }));
    const AfterClose after = Close();
    ExpectStoppedAfterWholeArchives(after, kArchives - 1);
    // At least the stopped archive's "Done" arrived while the close handler waited.
    EXPECT_GT(after.rowsAddedWhileClosing, 0);
    EXPECT_FALSE(dialog->isVisible());
    ExpectSaved();
}

TEST_F(CloseDuringRun, AStopAtTheVeryStartOfARunIsNotLost) {
    StartRun();
    const AfterClose after = Close();
    ExpectStoppedAfterWholeArchives(after, 1);
    ExpectSaved();
}

} // namespace
