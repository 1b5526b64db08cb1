#include "controls/static_button.h"
#include "pictures.h"
#include "ui_support/ui_test_support.h"

#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kIconColour(200, 30, 30);

// A shown window holding one button at its top-left corner, so the pointer can be put on it.
class ButtonWindow {
public:
    explicit ButtonWindow(const QString& text = {}, QSize size = QSize(40, 30))
        : host_((tw::test::EnsureApplication(), nullptr)) {
        host_.resize(200, 120);
        host_.move(300, 300);
        button_ = new CStaticButton(text, &host_);
        button_->setGeometry(QRect(QPoint(10, 10), size));
        host_.show();
        host_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host_));
        // Start with the pointer well away from every window.
        QCursor::setPos(0, 0);
        QCoreApplication::processEvents();
    }

    CStaticButton& Button() { return *button_; }
    QImage Picture() { return button_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void PointerOnButton() {
        QCursor::setPos(button_->mapToGlobal(button_->rect().center()));
        ASSERT_TRUE(tw::test::WaitUntil([&] { return button_->IsHovering(); }));
    }

private:
    QWidget host_;
    CStaticButton* button_ = nullptr;
};

// Counts the paint events a widget receives and can swallow the pointer's own messages.
class EventLog : public QObject {
public:
    explicit EventLog(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;
    bool dropPointerMessages = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Paint:
            ++paints;
            return false;
        case QEvent::MouseMove:
        case QEvent::Leave:
        case QEvent::HoverLeave:
        case QEvent::HoverMove:
            return dropPointerMessages;
        default:
            return false;
        }
    }
};

struct PixelCase {
    int x, y;
    QColor normal;   // while not hovering
    QColor hovering; // while hovering
};

TEST(StaticButton, IconSitsInTheMiddleAndLiftsOverItsShadowWhileHovering) {
    ButtonWindow window;
    CStaticButton& button = window.Button();
    button.setIcon(tw::test::SolidIcon(kIconColour));
    CStaticButton::Colours colours = button.ButtonColours();
    colours.normalBackground = QColor(255, 255, 255);
    button.SetColours(colours);
    const QColor frame = colours.normalFrame;
    const QColor fill = colours.normalBackground;
    const QColor hoverFill = colours.hoverBackground;

    // 40 x 30: the icon covers (12, 7) to (27, 22), lifted to (11, 6) to (26, 21) over the
    // shadow drawn in the normal frame colour.
    const PixelCase cases[] = {
        {0, 0, frame, colours.hoverFrame},  {39, 29, frame, colours.hoverFrame},
        {39, 0, frame, colours.hoverFrame}, {5, 15, fill, hoverFill},
        {12, 7, kIconColour, kIconColour},  {27, 22, kIconColour, frame},
        {11, 6, fill, kIconColour},         {26, 21, kIconColour, kIconColour},
        {27, 7, kIconColour, frame},        {11, 22, fill, hoverFill},
        {28, 23, fill, hoverFill},          {10, 5, fill, hoverFill},
    };
    const QImage normal = window.Picture();
    window.PointerOnButton();
    const QImage hovering = window.Picture();
    for (const PixelCase& c : cases) {
        EXPECT_EQ(normal.pixelColor(c.x, c.y), c.normal) << c.x << "," << c.y;
        EXPECT_EQ(hovering.pixelColor(c.x, c.y), c.hovering) << c.x << "," << c.y;
    }
}

TEST(StaticButton, LeavesTheHoverLookByPollingWithoutAnyMouseMessage) {
    ButtonWindow window;
    CStaticButton& button = window.Button();
    button.setIcon(tw::test::SolidIcon(kIconColour));
    const QImage normal = window.Picture();
    QCoreApplication::processEvents(); // the redraw the new icon asked for
    EventLog log(button);
    window.PointerOnButton();
    EXPECT_EQ(log.paints, 1) << "entering the hover state redraws once";

    // The pointer stays inside: the poll keeps running and draws nothing.
    log.paints = 0;
    QTest::qWait(10 * CStaticButton::kPollMilliseconds);
    EXPECT_TRUE(button.IsHovering());
    EXPECT_EQ(log.paints, 0);

    // The pointer jumps off the button and off the window, and the button never hears of it.
    log.dropPointerMessages = true;
    QCursor::setPos(0, 0);
    EXPECT_TRUE(tw::test::WaitUntil([&] { return !button.IsHovering(); }));
    EXPECT_EQ(log.paints, 1) << "leaving redraws once";
    EXPECT_EQ(window.Picture(), normal);

    log.paints = 0;
    QTest::qWait(4 * CStaticButton::kPollMilliseconds);
    EXPECT_EQ(log.paints, 0) << "the poll stops once the pointer has left";
}

TEST(StaticButton, FocusAndPressingLeaveTheLookUnchanged) {
    ButtonWindow window(u"&Extract All"_qs, QSize(80, 26));
    CStaticButton& button = window.Button();
    const QImage plain = window.Picture();
    button.setFocus();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 10),
                      button.mapToGlobal(QPointF(20, 10)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &press);
    ASSERT_TRUE(button.hasFocus());
    ASSERT_TRUE(button.isDown());
    EXPECT_EQ(window.Picture(), plain);
}

// The darkest pixel inside the frame, and how many pixels differ from the background.
struct Ink {
    QColor darkest;
    int count = 0;
};

Ink InkOf(const QImage& picture, const QColor& background) {
    Ink ink{background, 0};
    for (int y = 1; y < picture.height() - 1; ++y)
        for (int x = 1; x < picture.width() - 1; ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (pixel == background)
                continue;
            ++ink.count;
            if (pixel.lightness() < ink.darkest.lightness())
                ink.darkest = pixel;
        }
    return ink;
}

TEST(StaticButton, DrawsTextOnlyWhenThereIsTextAndIconOnlyWhenThereIsAnIcon) {
    ButtonWindow empty({}, QSize(80, 26));
    EXPECT_EQ(InkOf(empty.Picture(), empty.Button().NormalBackgroundColour()).count, 0);

    ButtonWindow text(u"&Remove"_qs, QSize(80, 26));
    const Ink ink = InkOf(text.Picture(), text.Button().NormalBackgroundColour());
    EXPECT_GT(ink.count, 20);
    EXPECT_EQ(ink.darkest, text.Button().ButtonColours().normalText);
}

// The box around every pixel that is not the background.
QRect InkBox(const QImage& picture, const QColor& background) {
    QRect box;
    for (int y = 1; y < picture.height() - 1; ++y)
        for (int x = 1; x < picture.width() - 1; ++x)
            if (picture.pixelColor(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(StaticButton, AccessLetterIsUnderlinedNotShown) {
    ButtonWindow marked(u"&Remove"_qs, QSize(80, 26));
    ButtonWindow plain(u"Remove"_qs, QSize(80, 26));
    const QColor background = plain.Button().NormalBackgroundColour();
    const QRect withMark = InkBox(marked.Picture(), background);
    const QRect without = InkBox(plain.Picture(), background);
    EXPECT_NEAR(withMark.width(), without.width(), 2) << "the ampersand itself is not drawn";
    EXPECT_GT(withMark.bottom(), without.bottom()) << "the underline below the letters";
}

} // namespace
