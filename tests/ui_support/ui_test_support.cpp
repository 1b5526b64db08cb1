#include "ui_support/ui_test_support.h"

#include "platform/library.h"
#include "platform/shell.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace tw::test {

void EnsureApplication() {
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tw-widget-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    platform::shell::UseDesktopIconTheme();
    // Test binaries live outside the program's folder; the window's libraries are in it.
    platform::SetLibraryFolder(BinDir().string());
}

void MarkNotFirstStart() {
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"First Load"_qs, 0);
}

ModalWatcher::ModalWatcher(std::function<void(QWidget*)> otherDialog)
    : otherDialog_(std::move(otherDialog)) {
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::Look);
    timer_.start(10);
}

QStringList ModalWatcher::Texts() const {
    QStringList texts;
    for (const Box& box : boxes_)
        texts << box.text;
    return texts;
}

void ModalWatcher::Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        boxes_.append({box->windowTitle(), box->text(), box->icon()});
        box->done(0);
    } else if (modal && otherDialog_) {
        otherDialog_(modal);
    }
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return done();
}

} // namespace tw::test
