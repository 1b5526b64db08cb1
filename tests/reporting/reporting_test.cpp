// The reports of a background thread as the main window carries them out.
#include "app/main_dialog.h"
#include "archives/archive_list.h"
#include "controls/classic_progress_bar.h"
#include "extract/reporting.h"
#include "extract/run_state.h"
#include "history/history_list.h"
#include "ui_support/ui_test_support.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

class ReportingTest : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        tw::test::MarkNotFirstStart();
        dialog = std::make_unique<MainDialog>(QString());
        dialog->Start();
    }

    // Runs `reports` on a worker thread while this thread serves the window.
    void FromWorker(const std::function<void()>& reports) {
        std::atomic<bool> done = false;
        std::thread worker([&] {
            reports();
            done = true;
        });
        ASSERT_TRUE(tw::test::WaitUntil([&] { return done.load(); }));
        worker.join();
    }

    QString Text(int id) const { return dialog->findChild<QLabel*>(QString::number(id))->text(); }
    ClassicProgressBar& Bar(int id) const {
        return *dialog->findChild<ClassicProgressBar*>(QString::number(id));
    }

    std::unique_ptr<MainDialog> dialog;
};

TEST_F(ReportingTest, ProgressMessagesMoveTheBarAndRewriteTheCounters) {
    AddToArchiveList(u"/dl/a.zip"_qs, dialog->ArchiveList());
    AddToArchiveList(u"/dl/b.zip"_qs, dialog->ArchiveList());
    struct Step {
        std::function<void()> report;
        int position;
        int high;
        QString counter;
    };
    const Step steps[] = {
        {[] { SetArchiveRange(0, 10); }, 0, 10, u"0/10"_qs},
        {[] { SetArchivePosition(4); }, 4, 10, u"4/10"_qs},
        {[] { AdvanceArchiveProgress(3); }, 7, 10, u"7/10"_qs},
        {[] { AdvanceArchiveProgress(30); }, 10, 10, u"10/10"_qs},
        {[] { SetArchiveRange(0, 65536 + 5); }, 5, 5, u"5/5"_qs},
        {[] { SetArchivePosition(-3); }, 0, 5, u"0/5"_qs},
    };
    for (const Step& step : steps) {
        FromWorker(step.report);
        EXPECT_EQ(Bar(1010).Pos(), step.position);
        EXPECT_EQ(Bar(1010).RangeHigh(), step.high);
        EXPECT_EQ(Text(1017), step.counter);
        EXPECT_EQ(Text(1016), u"0/2") << "overall: bar position over the listed archives";
    }
}

TEST_F(ReportingTest, RecordingIsOnOnlyForOne) {
    FromWorker([] {
        ReportItem(u"/out/a.txt"_qs);
        SetHistoryRecording(false);
        ReportItem(u"/out/b.txt"_qs);
    });
    EXPECT_EQ(dialog->History().ItemCount(), 2);
    for (const auto& [parameter, recording] : {std::pair{2u, false}, {1u, true}, {0u, false}}) {
        dialog->WindowProc(7788, parameter, 0);
        EXPECT_EQ(dialog->History().Recording(), recording) << parameter;
    }
}

TEST_F(ReportingTest, StatusTextsAndHistoryRowsArriveInCallOrder) {
    FromWorker([] {
        ReportStatus(u" Scanning a.zip ..."_qs);
        ReportArchive(u"/dl/a.rar"_qs, u"/out/"_qs);
        ReportItem(u"/out/x/y.txt"_qs);
        ReportError(u"/OUT/Y.TXT"_qs, u"File already exists"_qs);
        UiLinks().historyList->AddCrcOkEntry();
        ReportItem(u"Done"_qs);
    });
    EXPECT_EQ(dialog->StatusLine().text(), u" Scanning a.zip ...");
    QStringList rows;
    for (int row = 0; row < dialog->History().ItemCount(); ++row)
        rows << dialog->History().ItemText(row, 0);
    EXPECT_EQ(rows, QStringList({u"Archive: a.rar"_qs, u"Destination: /out/"_qs, u"CRC OK"_qs,
                                 u"Created /out/x/"_qs, u"Processed /out/x/y.txt"_qs,
                                 u"Error: File already exists - /out/y.txt"_qs, u"Done"_qs}));
    FromWorker([] { ReportStatus({}); });
    EXPECT_EQ(dialog->StatusLine().text(), u"");
}

TEST_F(ReportingTest, FoundArchivesAreAddedAndAnEmptyOneReadsTheForwardingKey) {
    WriteString(HKEY_LOCAL_MACHINE, kProgramKey + u"\\AddItem"_qs, u"1"_qs, u"/fw/f.zip"_qs);
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey + u"\\AddItem"_qs, u"0"_qs, 1);
    FromWorker([] {
        ReportFoundArchive(u"/found/a.ace"_qs);
        ReportFoundArchive(QString());
    });
    ASSERT_EQ(dialog->ArchiveList().ItemCount(), 2);
    EXPECT_EQ(dialog->ArchiveList().ItemText(0, 0), u"a.ace");
    EXPECT_EQ(dialog->ArchiveList().ItemText(1, 0), u"f.zip");
}

TEST_F(ReportingTest, ClicksOnTheHistoryShowTheRowUnlessARunIsInProgress) {
    dialog->SwitchView(true);
    FromWorker([] { ReportItem(u"C:\\x.txt"_qs); });
    HistoryList& history = dialog->History();
    QWidget* viewport = history.ActiveView()->viewport();
    const QPoint row =
        history.ActiveView()->visualRect(history.ActiveView()->model()->index(1, 0)).center();
    RunInProgress = true;
    QTest::mouseClick(viewport, Qt::LeftButton, {}, row);
    QApplication::processEvents();
    EXPECT_EQ(dialog->StatusLine().text(), u" Done.");
    RunInProgress = false;
    QTest::mouseClick(viewport, Qt::LeftButton, {}, row);
    QApplication::processEvents();
    EXPECT_EQ(dialog->StatusLine().text(), u" C:\\x.txt");
}

TEST_F(ReportingTest, WithoutAReceiverReportsDoNothing) {
    dialog.reset();
    EXPECT_EQ(UiLinks().mainWindow, nullptr);
    FromWorker([] {
        ReportStatus(u"x"_qs);
        RefreshCounters();
    });
}

} // namespace
