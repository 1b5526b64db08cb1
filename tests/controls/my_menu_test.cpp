#include "controls/my_menu.h"
#include "controls/my_menu_style.h"
#include "pictures.h"
#include "ui_support/ui_test_support.h"

#include <QFontMetrics>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor kIconColour(200, 30, 30);
const MyMenuStyle::Colours kColours;

// A menu owned by a window with a font of its own, the way the main window owns its menus.
class MyMenu : public ::testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        owner_ = std::make_unique<QWidget>();
        owner_->setFont(QFont(u"DejaVu Sans"_qs, 11));
        menu_ = std::make_unique<CMyMenu>(owner_.get());
    }

    QAction* Item(const QString& text, int command, int flags = 0, bool withIcon = true) {
        QAction* action = menu_->AppendItem(text, command, 0, flags);
        if (withIcon)
            action->setIcon(tw::test::SolidIcon(kIconColour));
        return action;
    }

    QImage Picture(QAction* selected = nullptr) {
        menu_->ensurePolished();
        menu_->adjustSize();
        menu_->setActiveAction(selected);
        return menu_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    int TextWidth(const QString& text) const {
        return QFontMetrics(owner_->font()).horizontalAdvance(text);
    }

    std::unique_ptr<QWidget> owner_;
    std::unique_ptr<CMyMenu> menu_;
};

TEST_F(MyMenu, MeasuresItemsFromTheOwnersFont) {
    QAction* restore = Item(u"&Restore"_qs, 24);
    EXPECT_EQ(menu_->sizeHint().width() - 2, 16 + TextWidth(u"&Restore"_qs) + 20) << "widest item";
    menu_->addSeparator();
    QAction* exit = Item(u"E&xit"_qs, 16);
    Picture();
    EXPECT_EQ(menu_->actionGeometry(restore).height(), 22);
    EXPECT_EQ(menu_->actionGeometry(menu_->actions()[1]).height(), 5);
    EXPECT_EQ(menu_->actionGeometry(exit).top(), menu_->actionGeometry(restore).top() + 27);
    EXPECT_EQ(menu_->actionGeometry(exit).width(), menu_->actionGeometry(restore).width())
        << "every item takes the width of the widest";
}

TEST_F(MyMenu, ShortcutTextAddsFifteenPixels) {
    const QString text = u"&Open\tCtrl+O"_qs;
    QAction* open = Item(text, 1);
    Picture();
    // The tab is measured as one blank, not as a jump to a tab stop.
    EXPECT_EQ(menu_->actionGeometry(open).width(), 16 + TextWidth(u"&Open Ctrl+O"_qs) + 20 + 15);
    EXPECT_EQ(open->text(), u"&Open"_qs) << "the shortcut is not part of the command's name";
}

TEST_F(MyMenu, SeparatorIsOnlyAnEtchedLineFromThirtyPixels) {
    Item(u"&Add File(s)"_qs, 7802);
    QAction* separator = menu_->addSeparator();
    Item(u"&Clear All Files"_qs, 7801); // a separator at the end would not be shown
    const QImage picture = Picture();
    const QRect r = menu_->actionGeometry(separator);
    const int m = r.top() + 2;
    EXPECT_EQ(picture.pixelColor(r.left() + 10, m), kColours.iconBand);
    EXPECT_EQ(picture.pixelColor(r.left() + 29, m), kColours.textArea);
    EXPECT_EQ(picture.pixelColor(r.left() + 30, m), kColours.grey);
    EXPECT_EQ(picture.pixelColor(r.right(), m), kColours.grey);
    for (int y : {r.top(), m - 1, m + 1, r.bottom()})
        EXPECT_EQ(picture.pixelColor(r.left() + 30, y), kColours.textArea) << y;
}

struct PixelCase {
    int dx, dy; // from the item's top-left corner
    QColor expected;
};

void ExpectPixels(const QImage& picture, const QRect& r, std::initializer_list<PixelCase> cases) {
    for (const PixelCase& c : cases)
        EXPECT_EQ(picture.pixelColor(r.left() + c.dx, r.top() + c.dy), c.expected)
            << c.dx << "," << c.dy;
}

TEST_F(MyMenu, SelectedItemIsFramedAndItsIconLiftsOverAShadow) {
    QAction* first = Item(u"&Add File(s)"_qs, 7802);
    QAction* second = Item(u"&Clear All Files"_qs, 7801);
    const QImage picture = Picture(second);
    const QRect plain = menu_->actionGeometry(first);
    const QRect selected = menu_->actionGeometry(second);
    ExpectPixels(picture, plain,
                 {{23, 21, kColours.iconBand},
                  {24, 21, kColours.textArea},
                  {4, 4, kIconColour},
                  {19, 19, kIconColour},
                  {3, 3, kColours.iconBand}});
    const int right = selected.width() - 1;
    ExpectPixels(picture, selected,
                 {{0, 0, kColours.selectionFrame},
                  {right, 21, kColours.selectionFrame},
                  {2, 20, kColours.selectionFill},
                  {right - 1, 20, kColours.selectionFill},
                  {3, 3, kIconColour},
                  {18, 18, kIconColour},
                  {19, 19, kColours.shadow},
                  {19, 4, kColours.shadow},
                  {2, 2, kColours.selectionFill}});
}

int CountColour(const QImage& picture, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += picture.pixelColor(x, y) == colour;
    return count;
}

TEST_F(MyMenu, CheckedItemShowsAFramedCheckBoxInsteadOfItsIcon) {
    QAction* details = Item(u"&Details"_qs, 7795, CMyMenu::Checked);
    QAction* list = Item(u"L&ist"_qs, 7794);
    const QRect box(1, 1, 21, 20);
    for (const bool selected : {false, true}) {
        const QImage picture = Picture(selected ? details : list);
        const QRect r = menu_->actionGeometry(details);
        const QColor inside = selected ? kColours.checkSelected : kColours.checkUnselected;
        ExpectPixels(picture, r,
                     {{1, 1, kColours.selectionFrame},
                      {21, 20, kColours.selectionFrame},
                      {21, 1, kColours.selectionFrame},
                      {2, 2, inside},
                      {20, 19, inside}});
        const QRect area = box.translated(r.topLeft());
        EXPECT_GT(CountColour(picture, area, Qt::black), 10) << "the check mark";
        EXPECT_EQ(CountColour(picture, area, kIconColour), 0) << "no icon";
    }
}

TEST_F(MyMenu, GreyedItemHasNoHighlightAndAGreySilhouette) {
    QAction* greyed = Item(u"&Clear All Files\tDel"_qs, 7801, CMyMenu::Greyed);
    const QRect r = menu_->actionGeometry(greyed);
    ExpectPixels(Picture(greyed), r,
                 {{0, 0, kColours.iconBand},
                  {r.width() - 1, 21, kColours.textArea},
                  {4, 4, kColours.grey},
                  {19, 19, kColours.grey},
                  {3, 3, kColours.iconBand}});
    const QImage picture = Picture();
    const int shortcutLeft = r.width() - TextWidth(u"Del     "_qs);
    const QRect textArea(r.left() + 30, r.top(), shortcutLeft - 30, r.height());
    const QRect shortcutArea(r.left() + shortcutLeft, r.top(), r.width() - shortcutLeft,
                             r.height());
    EXPECT_EQ(CountColour(picture, textArea, kColours.normalText), 0);
    EXPECT_GT(CountColour(picture, textArea, kColours.grey), 5);
    EXPECT_GT(CountColour(picture, shortcutArea, kColours.selectionFrame), 5);
}

// The rightmost column of the item that holds anything but the background.
int InkRight(const QImage& picture, const QRect& r, const QColor& background) {
    for (int x = r.right(); x >= r.left(); --x)
        for (int y = r.top() + 1; y < r.bottom(); ++y)
            if (picture.pixelColor(x, y) != background)
                return x;
    return -1;
}

TEST_F(MyMenu, ShortcutEndsFiveBlanksBeforeTheRightEdge) {
    QAction* wide = Item(u"&Search Through Folder For Files"_qs, 7804);
    QAction* open = Item(u"&Open\tCtrl+O   "_qs, 1, 0, false);
    const QImage picture = Picture();
    const QRect r = menu_->actionGeometry(open);
    ASSERT_EQ(r.width(), menu_->actionGeometry(wide).width());
    const int end = r.right() + 1 - TextWidth(u"     "_qs);
    EXPECT_NEAR(InkRight(picture, r, kColours.textArea), end - 1, 2)
        << "trailing blanks of the shortcut are dropped, five are added";
}

TEST_F(MyMenu, TextsAreCutAtTheRecordLength) {
    const QString longText(80, u'x');
    EXPECT_EQ(Item(longText, 1)->text().size(), CMyMenu::kMaxTextLength);
}

} // namespace
