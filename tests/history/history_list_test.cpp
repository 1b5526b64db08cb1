#include "archives/icon_cache.h"
#include "history/history_list.h"
#include "history/time_stamps.h"
#include "ui_support/ui_test_support.h"

#include <QAbstractItemView>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct Row {
    QString text;
    int icon;
    bool stamped;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.text.toStdString() << " icon " << row.icon << (row.stamped ? " stamped" : "");
}

std::vector<Row> Rows(const HistoryList& list) {
    std::vector<Row> rows;
    for (int row = 0; row < list.ItemCount(); ++row)
        rows.push_back(
            {list.ItemText(row, 0), list.ItemImage(row), !list.ItemText(row, 1).isEmpty()});
    return rows;
}

class HistoryListTest : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        list = std::make_unique<HistoryList>();
        list->Icons().ResetIcons();
        list->InsertColumn(0, u"File\\Error"_qs, 100);
        list->InsertColumn(1, u"Date"_qs, 0);
    }
    std::unique_ptr<HistoryList> list;
};

constexpr int kOk = IconCache::Ok;
constexpr int kErr = IconCache::Error;
constexpr int kProc = IconCache::Processed;
constexpr int kDir = IconCache::FolderCreated;

TEST_F(HistoryListTest, ReportedPathsGiveAFolderRowOncePerFolder) {
    struct Case {
        QStringList reports;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {{u"C:\\out\\a\\b.txt"_qs, u"C:\\out\\a\\c.txt"_qs},
         {{u"Created C:\\out\\a\\"_qs, kDir, true},
          {u"Processed C:\\out\\a\\b.txt"_qs, kProc, true},
          {u"Processed C:\\out\\a\\c.txt"_qs, kProc, true}}},
        {{u"dir/sub/f.txt"_qs},
         {{u"Created dir/sub/"_qs, kDir, true}, {u"Processed dir/sub/f.txt"_qs, kProc, true}}},
        {{u"a\\b/c.txt"_qs},
         {{u"Created a\\"_qs, kDir, true}, {u"Processed a\\b/c.txt"_qs, kProc, true}}},
        {{u"||Deleted to Recycling Bin"_qs}, {{u"Deleted to Recycling Bin"_qs, kProc, true}}},
        {{u"Done"_qs}, {{u"Done"_qs, kOk, false}}},
        {{u"plain.txt"_qs, QString()}, {{u"Processed plain.txt"_qs, kProc, true}}},
    };
    for (const Case& c : cases) {
        HistoryList fresh;
        fresh.InsertColumn(0, u"File\\Error"_qs, 100);
        fresh.InsertColumn(1, u"Date"_qs, 0);
        for (const QString& report : c.reports)
            fresh.AddTextEntry(report);
        EXPECT_EQ(Rows(fresh), c.rows) << c.reports.join(u',').toStdString();
    }
}

TEST_F(HistoryListTest, ErrorsNameTheirSubjectOnlyForSomeMessages) {
    list->AddErrorEntry(u"C:\\OUT\\Readme.TXT"_qs, u"File already exists"_qs);
    list->AddErrorEntry({}, u"Not a valid archive"_qs);
    list->AddErrorEntry(u"Secret.ZIP"_qs, u"Invalid password"_qs);
    list->AddErrorEntry(u"Other.ZIP"_qs, u"CRC failed"_qs);
    EXPECT_EQ(Rows(*list), (std::vector<Row>{
                               {u"Error: File already exists - c:\\out\\readme.txt"_qs, kErr, true},
                               {u"Error: Not a valid archive"_qs, kErr, true},
                               {u"Error: Invalid password - secret.zip"_qs, kErr, true},
                               {u"Error: CRC failed"_qs, kErr, true},
                           }));
}

TEST_F(HistoryListTest, AnArchiveNameComesOncePerDestination) {
    list->AddArchiveEntry(u"/dl/set.rar"_qs, u"/out/"_qs);
    list->AddArchiveEntry(u"/dl/set.r00"_qs, {});
    list->AddArchiveEntry(u"/dl/set.r00"_qs, {});
    list->AddArchiveEntry(u"/dl/set.r00"_qs, u"/ignored/"_qs);
    list->AddArchiveEntry(u"/other/set.rar"_qs, u"/out2/"_qs);
    EXPECT_EQ(Rows(*list), (std::vector<Row>{
                               {u"Archive: set.rar"_qs, kOk, true},
                               {u"Destination: /out/"_qs, kOk, true},
                               {u"Archive: set.r00"_qs, kOk, true},
                               {u"Archive: set.rar"_qs, kOk, true},
                               {u"Destination: /out2/"_qs, kOk, true},
                           }));
}

TEST_F(HistoryListTest, CrcOkGoesDirectlyUnderTheLastDestination) {
    list->AddCrcOkEntry();
    list->AddArchiveEntry(u"/dl/a.rar"_qs, u"/out/"_qs);
    list->AddTextEntry(u"/out/x.txt"_qs);
    list->AddCrcOkEntry();
    EXPECT_EQ(list->ItemText(0, 0), u"CRC OK") << "without a destination row it appends";
    EXPECT_EQ(list->ItemText(3, 0), u"CRC OK");
    EXPECT_EQ(list->ItemText(2, 0), u"Destination: /out/");
    EXPECT_EQ(list->ItemImage(3), kProc);
}

TEST_F(HistoryListTest, NothingIsAddedWhileRecordingIsOff) {
    list->SetRecording(false);
    list->AddTextEntry(u"/a/b.txt"_qs);
    list->AddErrorEntry(u"s"_qs, u"m"_qs);
    list->AddArchiveEntry(u"/a.zip"_qs, u"/out/"_qs);
    list->AddCrcOkEntry();
    EXPECT_EQ(list->ItemCount(), 0);
}

TEST_F(HistoryListTest, ClearingKeepsTheRememberedFolder) {
    list->AddTextEntry(u"/out/a/b.txt"_qs);
    list->Clear();
    list->AddTextEntry(u"/out/a/c.txt"_qs);
    EXPECT_EQ(Rows(*list), (std::vector<Row>{{u"Processed /out/a/c.txt"_qs, kProc, true}}));
}

TEST_F(HistoryListTest, ClickTextDropsTheRowPrefixes) {
    list->AddTextEntry(u"/x.txt"_qs);
    EXPECT_EQ(list->StatusTextForClick(), u" Done.");
    list->SetSelected(1, true);
    list->ActiveView()->setCurrentIndex(list->ActiveView()->model()->index(1, 0));
    EXPECT_EQ(list->StatusTextForClick(), u" /x.txt");
}

TEST(TimeStamps, BracketedTwoDigitFieldsWithTheDesignator) {
    const QDateTime afternoon(QDate(2024, 3, 7), QTime(14, 5, 9));
    EXPECT_EQ(DateStamp(afternoon), u"[03/07/24]");
    EXPECT_TRUE(
        QRegularExpression(u"^\\[02:05:09 \\S+\\]$"_qs).match(TimeStamp(afternoon)).hasMatch())
        << TimeStamp(afternoon).toStdString();
    EXPECT_NE(TimeStamp(afternoon), TimeStamp(QDateTime(QDate(2024, 3, 7), QTime(2, 5, 9))));
}

} // namespace
