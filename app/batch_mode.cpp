#include "app/batch_mode.h"

#include "app/batch_console.h"
#include "app/batch_options.h"
#include "app/batch_run_host.h"
#include "app/startup.h"
#include "archives/folder_walk.h"
#include "archives/naming.h"
#include "engines/password_protocol.h"
#include "extract/extraction_worker.h"
#include "extract/load_engines.h"
#include "extract/run_state.h"
#include "platform/terminal.h"
#include "platform/ui_thread.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <thread>

namespace terminal = platform::terminal;

namespace {

constexpr int kNoErrors = 0;
constexpr int kErrors = 1;
constexpr int kBadUsage = 2;
constexpr int kInterrupted = 130;

void Print(terminal::Stream stream, const QString& text) {
    terminal::Write(stream, text.toStdString());
}

ListedArchive Listed(const QString& path) {
    return {FolderOf(path), FileNameOf(path)};
}

// The paths as the window's list would take them, folders searched for archives.
std::vector<ListedArchive> ListArchives(const QStringList& paths, BatchConsole& console) {
    std::vector<ListedArchive> archives;
    bool reminded = false;
    for (const QString& given : paths) {
        const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(given));
        if (QFileInfo(path).isDir()) {
            WalkFolderForArchives(
                path, {{}, [&](const QString& found) { archives.push_back(Listed(found)); }},
                StopRequested);
        } else if (ArchiveKindOf(path) == NotArchive) {
            console.Note(u"tamblewick: not an archive, left out: "_qs + given);
        } else {
            if (!reminded && VolumeExtensions().contains(ExtensionOf(path))) {
                console.Note(u"tamblewick: for multi-volume archives only the first volume is "
                             u"needed: "_qs +
                             given);
                reminded = true;
            }
            archives.push_back(Listed(path));
        }
    }
    return archives;
}

QString AnswerForPassword(BatchConsole& console, const QString& prompt) {
    std::optional<QString> answer;
    platform::RunDialogOnUiThread([&] { answer = console.AskPassword(prompt); });
    return answer.value_or(kCanceled);
}

int Run(const BatchOptions& options) {
    BatchConsole console;
    terminal::StopOnInterrupt(StopRequested, "\ntamblewick: stopping after the current archive "
                                             "(Ctrl+C again ends at once)\n");
    std::vector<ListedArchive> archives = ListArchives(options.paths, console);
    if (terminal::Interrupted())
        return kInterrupted;
    if (archives.empty()) {
        console.Note(u"tamblewick: no archives to extract"_qs);
        return kErrors;
    }

    UiLinks().mainWindow = &console;
    LoadEngines([&](const QString& message) { console.Note(u"tamblewick: "_qs + message); });
    SetPasswordPrompt(
        [&console](const QString& prompt) { return AnswerForPassword(console, prompt); });
    BatchRunHost host(std::move(archives), options.destination, console);
    RunInProgress = true;
    std::thread worker([&host] {
        ExtractionWorker(host);
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    QCoreApplication::exec();
    worker.join();
    UnloadEngines();
    SetPasswordPrompt(nullptr);
    UiLinks().mainWindow = nullptr;
    console.Finish();

    if (!options.destination.isEmpty() && !host.DestinationAsked())
        console.Note(u"tamblewick: --dest was not used: the settings choose the folder "
                     u"(\"Favorite Activated\" or \"Current Directory\")"_qs);
    if (terminal::Interrupted())
        return kInterrupted;
    return host.Canceled() || console.ErrorRows() > 0 ? kErrors : kNoErrors;
}

} // namespace

bool WantsBatchMode(int argc, char** argv) {
    return argc > 1 && IsBatchCommandLine({QString::fromLocal8Bit(argv[1])});
}

int RunBatchMode(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const BatchOptions options = ParseBatchArguments(arguments);
    switch (options.action) {
    case BatchOptions::Action::Help:
        Print(terminal::Stream::Output, BatchUsage());
        return kNoErrors;
    case BatchOptions::Action::Version:
        Print(terminal::Stream::Output, WindowTitle() + u'\n');
        return kNoErrors;
    case BatchOptions::Action::BadUsage:
        Print(terminal::Stream::Error,
              u"tamblewick: "_qs + options.problem + u"\nTry 'tamblewick --help'.\n"_qs);
        return kBadUsage;
    case BatchOptions::Action::Run:
        break;
    }
    // The run shows no window; the history it prints comes from a list that is never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt sees the program name alone: a path such as "-style" is no option of Qt's.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    return Run(options);
}
