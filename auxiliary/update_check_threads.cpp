#include "auxiliary/update_check_threads.h"

#include "auxiliary/update_check.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <atomic>
#include <list>
#include <thread>

namespace {

struct RunningCheck {
    std::atomic<bool> finished{false};
    std::thread thread;
};

std::list<RunningCheck>& Checks() {
    static std::list<RunningCheck> checks;
    return checks;
}

void ForgetFinishedChecks() {
    Checks().remove_if([](RunningCheck& check) {
        if (!check.finished)
            return false;
        check.thread.join();
        return true;
    });
}

} // namespace

void StartUpdateCheck() {
    ForgetFinishedChecks();
    RunningCheck& check = Checks().emplace_back();
    check.thread = std::thread([&check] {
        CheckForUpdate();
        check.finished = true;
        // Wakes a waiting UI thread that has nothing else to do.
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                application, [] {}, Qt::QueuedConnection);
    });
}

void WaitForUpdateChecks() {
    for (RunningCheck& check : Checks()) {
        while (!check.finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    ForgetFinishedChecks();
}
