#include "platform/ui_thread.h"

#include "platform/window_procedure.h"

#include <QCoreApplication>
#include <QThread>
#include <mutex>

namespace platform {

bool IsUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void RunOnUiThread(const std::function<void()>& work) {
    if (IsUiThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void RunDialogOnUiThread(const std::function<void()>& work) {
    if (IsUiThread()) {
        work();
        return;
    }
    static std::mutex oneDialogAtATime;
    const std::lock_guard lock(oneDialogAtATime);
    RunOnUiThread(work);
}

LRESULT SendWindowMessage(WindowProcedure& receiver, unsigned message, WPARAM wParam,
                          LPARAM lParam) {
    LRESULT result = 0;
    RunOnUiThread([&] { result = receiver.WindowProc(message, wParam, lParam); });
    return result;
}

} // namespace platform
