// Rows per second that the history takes from a worker thread through the reporting protocol,
// with the window shown in the history view, and the longest pause of the user interface.
//
//   tw-bench-history [ROWS]      (default 100000; runs offscreen in a temporary settings folder)
#include "app/main_dialog.h"
#include "extract/reporting.h"
#include "history/history_list.h"
#include "platform/library.h"
#include "platform/shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    qputenv("TMPDIR", settings.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::shell::UseDesktopIconTheme();

    // Built outside the program's folder; the window loads its libraries from there.
    platform::SetLibraryFolder(TW_BIN_DIR);
    MainDialog dialog({});
    dialog.Start();
    dialog.SwitchView(true);

    // A 10 ms tick on the UI thread: the widest gap between ticks is the longest pause.
    QElapsedTimer sinceTick;
    qint64 longestPause = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longestPause = std::max(longestPause, sinceTick.restart()); });
    tick.start(10);
    sinceTick.start();

    std::atomic<bool> done = false;
    QElapsedTimer clock;
    clock.start();
    std::thread worker([&] {
        ReportArchive(u"/dl/big.zip"_qs, u"/out/big/"_qs);
        for (int i = 0; i < rows; ++i)
            ReportItem(u"/out/big/folder%1/file%2.txt"_qs.arg(i / 100).arg(i));
        done = true;
    });
    while (!done)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    worker.join();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    QApplication::processEvents();

    const int listed = dialog.History().ItemCount();
    std::printf("reports: %d, history rows: %d, %.2f s, %.0f reports/s, %.0f rows/s, "
                "longest UI pause: %lld ms\n",
                rows, listed, seconds, rows / seconds, listed / seconds, longestPause);
    return listed >= rows ? 0 : 1;
}
