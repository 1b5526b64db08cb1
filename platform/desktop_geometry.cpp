#include "platform/desktop_geometry.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {

constexpr int kMargin = 50;

// Start of a span of `length` wished at `wanted` within [0, total).
int ClampSpan(int wanted, int length, int total) {
    if (wanted < kMargin)
        return kMargin;
    if (wanted + length > total)
        return total - length - kMargin;
    return wanted;
}

} // namespace

QSize DesktopSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QRect ClampToDesktop(int w, int h, int x, int y, QSize desktop) {
    return {ClampSpan(x, w, desktop.width()), ClampSpan(y, h, desktop.height()), w, h};
}

QRect ClampToDesktop(int w, int h, int x, int y) {
    return ClampToDesktop(w, h, x, y, DesktopSize());
}

} // namespace platform
