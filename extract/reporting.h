#pragma once

#include <QString>

// How the worker, the engines, the folder search and the update check report, from any thread.
// Each call is one synchronous message to the receiver in UiLinks(): it returns when the report
// has been carried out, so reports appear in call order. Without a receiver they do nothing.
void ReportStatus(const QString& text);
void ReportItem(const QString& text);
void ReportError(const QString& subject, const QString& message);
void ReportArchive(const QString& archive, const QString& destination);
void SetArchiveRange(int low, int high); // both bounds keep only their low 16 bits
void SetArchivePosition(int position);
void AdvanceArchiveProgress(int step);
void SetHistoryRecording(bool on);
void ReportFoundArchive(const QString& path);
void RefreshCounters();
// The "CRC OK" row of a RAR archive whose test passed, under its destination row.
void ReportCrcOk();
