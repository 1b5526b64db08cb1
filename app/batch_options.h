#pragma once

#include <QString>
#include <QStringList>

// `tamblewick --batch [--dest DIR] PATH...`, `--help` and `--version`.
struct BatchOptions {
    enum class Action { Run, Help, Version, BadUsage };
    Action action = Action::Run;
    QString destination; // empty when not given
    QStringList paths;   // in the order given
    QString problem;     // what is wrong, for BadUsage
};

// Whether the command line (without the program name) asks for the window-less front end.
bool IsBatchCommandLine(const QStringList& arguments);

BatchOptions ParseBatchArguments(const QStringList& arguments);

QString BatchUsage();
