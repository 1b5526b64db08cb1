#include "app/main_dialog.h"
#include "platform/desktop_geometry.h"
#include "ui_support/ui_test_support.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const QString kPlacement = kProgramKey + u"\\WindowPos"_qs;

TEST(ClampToDesktop, KeepsFiftyPixelsFromEveryEdgeItCrosses) {
    const QSize desktop(1000, 800);
    struct Case {
        int x, y;
        QPoint expected;
    };
    const Case cases[] = {
        {100, 100, {100, 100}}, // inside
        {10, 20, {50, 50}},     // left of and above the margin
        {900, 700, {590, 440}}, // over the right and bottom edges
        {630, 480, {630, 480}}, // within the margin but not over the edge
        {-1, -5, {50, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::ClampToDesktop(360, 310, c.x, c.y, desktop),
                  QRect(c.expected, QSize(360, 310)))
            << c.x << "," << c.y;
}

class PlacementTest : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        tw::test::MarkNotFirstStart();
    }
};

TEST_F(PlacementTest, ShowingAppliesTheSavedPlacementClamped) {
    const QSize desktop = platform::DesktopSize();
    struct Case {
        std::optional<int> left, top, width, height;
        QRect expected;
    };
    const Case cases[] = {
        {{},
         {},
         {},
         {},
         platform::ClampToDesktop(360, 310, desktop.width() / 2 - 180, desktop.height() / 2 - 155,
                                  desktop)},
        {10, 20, 300, 250, {50, 50, 300, 250}},
        {desktop.width() - 100,
         desktop.height() - 100,
         400,
         300,
         {desktop.width() - 450, desktop.height() - 350, 400, 300}},
    };
    for (const Case& c : cases) {
        SettingsStore(HKEY_LOCAL_MACHINE, kPlacement).DeleteTree();
        const auto write = [](const QString& name, std::optional<int> value) {
            if (value)
                WriteDword(HKEY_LOCAL_MACHINE, kPlacement, name,
                           static_cast<std::uint32_t>(*value));
        };
        write(u"Left"_qs, c.left);
        write(u"Top"_qs, c.top);
        write(u"Width"_qs, c.width);
        write(u"Height"_qs, c.height);
        MainDialog dialog({});
        dialog.Start();
        EXPECT_EQ(dialog.frameGeometry(), c.expected) << c.expected.x();
    }
}

TEST_F(PlacementTest, MinusOneOrMinimizedLeavesTheWindowWhereItIs) {
    for (const auto& [name, value] : {std::pair{u"Left"_qs, 0xFFFFFFFFu}, {u"Minimized"_qs, 1u}}) {
        SettingsStore(HKEY_LOCAL_MACHINE, kPlacement).DeleteTree();
        WriteDword(HKEY_LOCAL_MACHINE, kPlacement, u"Top"_qs, 77);
        WriteDword(HKEY_LOCAL_MACHINE, kPlacement, name, value);
        MainDialog dialog({});
        dialog.move(5, 6);
        const QSize before = dialog.size();
        dialog.Start();
        EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(5, 6)) << name.toStdString();
        EXPECT_EQ(dialog.size(), before);
    }
}

TEST_F(PlacementTest, ANegativeCoordinateReadsBackAsItself) {
    MainDialog dialog({});
    dialog.Start();
    dialog.move(-1, 40);
    dialog.close();
    EXPECT_EQ(static_cast<int>(ReadDword(HKEY_LOCAL_MACHINE, kPlacement, u"Left"_qs, 0)), -1);
}

} // namespace
