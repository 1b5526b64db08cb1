#pragma once

#include <QString>
#include <QUrl>
#include <chrono>

// What the update server's version file gave: no answer at all, an answer without a single
// line, or its first line.
struct FirstLine {
    enum Outcome { ConnectionFailed, NoLine, Line };
    Outcome outcome = ConnectionFailed;
    QString text; // without its line end
};

// The longest first line read; the rest of the answer is never fetched.
inline constexpr qsizetype kFirstLineLimit = 4096;

// How many times `timeout` the whole answer may take.
inline constexpr int kSlowAnswerFactor = 3;

// GET `url` (http or https only) through the system's proxy settings and read no more than its
// first line. Gives up (ConnectionFailed) when the server sends nothing for `timeout`, or has
// not finished the line after kSlowAnswerFactor times as long. An error page counts as an
// answer, as the version file's reader decides by its text. Blocks the calling thread, which
// needs no event loop of its own.
FirstLine FetchFirstLine(const QUrl& url, std::chrono::milliseconds timeout);
