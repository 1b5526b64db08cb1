#include "auxiliary/folder_browser.h"
#include "platform/desktop_geometry.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The browser's own size; the name-folder check box needs 25 pixels more.
constexpr int kWidth = 355;
constexpr int kHeight = 305;

class FolderBrowserPlacement : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        owner = std::make_unique<QWidget>();
        owner->resize(360, 310);
    }
    std::unique_ptr<QWidget> owner;
    const QString start = QString::fromStdString(tw::test::CurrentHome().work.string());
};

TEST_F(FolderBrowserPlacement, WithTheNameFolderBoxItOpensBelowTheOwnerInsideTheDesktop) {
    const QSize desktop = platform::DesktopSize();
    const struct {
        QPoint owner;
        QPoint expected;
    } cases[] = {
        {{100, 80}, {110, 90}},                           // ten pixels right and down
        {{-30, 20}, {50, 50}},                            // left of and above the margin
        {{desktop.width() - 200, desktop.height() - 100}, // over the right and bottom
         {desktop.width() - kWidth - 50, desktop.height() - kHeight - 50}},
    };
    for (const auto& c : cases) {
        owner->move(c.owner);
        owner->show();
        FolderBrowserDialog browser(owner.get(), "Select :", true, start);
        browser.show();
        // Qt places a window by its frame's corner and sizes it by its client area.
        EXPECT_EQ(QRect(browser.pos(), browser.size()),
                  QRect(c.expected, QSize(kWidth, kHeight + 25)))
            << c.owner.x() << "," << c.owner.y();
    }
}

TEST_F(FolderBrowserPlacement, WithoutTheBoxOrWithoutAnOwnerTheBrowserIsNotPlaced) {
    owner->move(100, 80);
    owner->show();
    FolderBrowserDialog plain(owner.get(), "Select :", false, start);
    EXPECT_EQ(plain.size(), QSize(kWidth, kHeight));
    EXPECT_FALSE(plain.testAttribute(Qt::WA_Moved));

    FolderBrowserDialog ownerless(nullptr, "Select :", true, start);
    EXPECT_EQ(ownerless.size(), QSize(kWidth, kHeight + 25));
    EXPECT_FALSE(ownerless.testAttribute(Qt::WA_Moved));
}

} // namespace
