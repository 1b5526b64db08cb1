#include "app/batch_options.h"

namespace {

const QString kBatch = u"--batch"_qs;
const QString kDest = u"--dest"_qs;
const QString kHelp = u"--help"_qs;
const QString kVersion = u"--version"_qs;

BatchOptions Bad(const QString& problem) {
    BatchOptions options;
    options.action = BatchOptions::Action::BadUsage;
    options.problem = problem;
    return options;
}

} // namespace

bool IsBatchCommandLine(const QStringList& arguments) {
    return !arguments.isEmpty() && (arguments.first() == kBatch || arguments.first() == kHelp ||
                                    arguments.first() == u"-h" || arguments.first() == kVersion);
}

BatchOptions ParseBatchArguments(const QStringList& arguments) {
    if (!IsBatchCommandLine(arguments))
        return Bad(u"the first argument must be --batch"_qs);
    BatchOptions options;
    bool destinationGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            options.paths << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == kHelp || argument == u"-h") {
            options.action = BatchOptions::Action::Help;
            return options;
        } else if (argument == kVersion) {
            options.action = BatchOptions::Action::Version;
            return options;
        } else if (argument == kBatch && i == 0) {
            continue;
        } else if (argument == kDest || argument.startsWith(kDest + u'=')) {
            if (destinationGiven)
                return Bad(u"--dest is given more than once"_qs);
            destinationGiven = true;
            if (argument == kDest) {
                if (++i == arguments.size())
                    return Bad(u"--dest needs a folder"_qs);
                options.destination = arguments.at(i);
            } else {
                options.destination = argument.mid(kDest.size() + 1);
            }
            if (options.destination.isEmpty())
                return Bad(u"--dest needs a folder"_qs);
        } else {
            return Bad(u"unknown option "_qs + argument);
        }
    }
    if (options.paths.isEmpty())
        return Bad(u"no archive or folder given"_qs);
    return options;
}

QString BatchUsage() {
    return uR"(Usage: tamblewick [PATH]... [/auto]
       tamblewick --batch [--dest DIR] PATH...
       tamblewick --help | --version

Without --batch the main window opens with the archives listed; /auto extracts them at once.

--batch extracts every PATH without a window, with the settings of the registry store
(see tamblewick-reg), and ends when the run ends. A PATH is an archive, or a folder that is
searched for archives with everything below it. Paths are processed in the order given.

  --dest DIR   extract into DIR where the settings leave the folder to the user (no
               favourite folder, not beside each archive); DIR is created when missing.
               Without it the folder is asked on the terminal, or the run is canceled.
  --help       show this text
  --version    show the program's version

Every history row is printed on standard output as it is added; status texts and, on a
terminal, a progress line go to standard error. Passwords are asked on the terminal, or read
one line per request from standard input: printf '1234\n' | tamblewick --batch x.ace --dest out

Exit status: 0 when the run added no error row, 1 when it did or was canceled, 2 for bad
usage, 130 when stopped with Ctrl+C (after the current archive is finished).
)"_qs;
}
