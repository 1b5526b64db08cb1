#include "res/resource_icons.h"
#include "res/resource_ids.h"
#include "support/fixtures.h"
#include "ui_support/ui_test_support.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using namespace res;

// How much of a picture is drawn, from 0 (nothing) to 1 (every pixel opaque).
double Coverage(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    qint64 alpha = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            alpha += qAlpha(argb.pixel(x, y));
    return double(alpha) / (255.0 * argb.width() * argb.height());
}

TEST(ResourceIcons, EveryIconIdentifierHasAPictureAtSmallAndNormalSize) {
    tw::test::EnsureApplication();
    const int icons[] = {
        IDI_PROGRAM,
        IDI_NEW_FOLDER,
        IDI_VIEW_SWITCH,
        IDI_SETTINGS,
        IDI_SEARCHING,
        IDI_EMAIL,
        IDI_SETTINGS_DIALOG,
        IDI_HISTORY_OK,
        IDI_HISTORY_PROCESSED,
        IDI_HISTORY_DIRCREATE,
        IDI_WEB_SITE,
        IDI_HISTORY_ERROR,
        IDI_CLEAR,
        IDI_TRAY_RESTORE,
        IDI_TRAY_EXIT,
        IDI_VIEW_DETAILS,
        IDI_VIEW_LARGE,
        IDI_VIEW_SMALL,
        IDI_ADD_FILES,
        IDI_SEARCH,
        IDI_VIEW_LIST,
        IDI_TIP_INFORMATION,
        IDI_TIP_ERROR,
        IDI_DOCUMENT,
    };
    QSet<QString> files;
    for (const int id : icons) {
        ASSERT_TRUE(QFile::exists(IconUrl(id).mid(3))) << id << " " << IconUrl(id).toStdString();
        files.insert(IconUrl(id));
        for (const int size : {16, 32}) {
            const QImage picture = Icon(id).pixmap(QSize(size, size)).toImage();
            EXPECT_EQ(picture.size(), QSize(size, size)) << id;
            EXPECT_GT(Coverage(picture), 0.15) << id << " at " << size;
        }
    }
    EXPECT_EQ(files.size(), std::size(icons)) << "no two places share a picture";
    EXPECT_TRUE(Icon(9999).isNull());
}

TEST(ResourceIcons, BitmapsKeepTheShapeOfTheirPlaces) {
    tw::test::EnsureApplication();
    struct Bitmap {
        int id;
        QSize dialogUnits;
    };
    const Bitmap bitmaps[] = {{IDB_ABOUT_PICTURE, {61, 45}},
                              {IDB_SETTINGS_PICTURE, {60, 43}},
                              {IDB_SETTINGS_LOWER_BAND, {195, 9}},
                              {IDB_SETTINGS_UPPER_BAND, {195, 9}}};
    for (const Bitmap& bitmap : bitmaps) {
        const QSize place = bitmap.dialogUnits * 2;
        const QImage picture = Icon(bitmap.id).pixmap(place).toImage();
        ASSERT_FALSE(picture.isNull()) << bitmap.id;
        EXPECT_NEAR(double(picture.width()) / picture.height(),
                    double(place.width()) / place.height(), 0.4)
            << bitmap.id;
        EXPECT_GT(Coverage(picture), 0.9) << bitmap.id << " fills its place";
    }
}

TEST(ResourceIcons, DocumentIconFileHoldsTheUsualSizes) {
    tw::test::EnsureApplication();
    QImageReader reader(QString::fromStdString((tw::test::BinDir() / "twfileicon.ico").string()));
    ASSERT_TRUE(reader.canRead());
    QSet<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage picture = reader.read();
        EXPECT_EQ(picture.width(), picture.height());
        EXPECT_GT(Coverage(picture), 0.3) << picture.width();
        sizes.insert(picture.width());
    }
    for (const int size : {16, 32, 48})
        EXPECT_TRUE(sizes.contains(size)) << size;
}

} // namespace
