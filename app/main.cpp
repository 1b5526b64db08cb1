#include "app/batch_mode.h"
#include "app/display_check.h"
#include "app/startup.h"
#include "platform/shell.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (WantsBatchMode(argc, argv))
        return RunBatchMode(argc, argv);
    if (!DisplayAvailable()) {
        // "/remreg" opens no window, so it needs no display.
        const QCoreApplication core(argc, argv);
        if (AsksToRemoveRegistration(ProgramArguments()))
            return RunProgram(ProgramArguments());
        std::fputs("tamblewick: no display to open the window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set).\nStart it from a desktop session, or under a "
                   "virtual display: xvfb-run -a tamblewick\n",
                   stderr);
        return 2;
    }
    QApplication application(argc, argv);
    platform::shell::UseDesktopIconTheme();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    return RunProgram(arguments);
}
