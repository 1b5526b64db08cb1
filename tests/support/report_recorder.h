#pragma once

#include "extract/ui_links.h"

#include <QString>
#include <QStringList>

namespace tw::test {

// Stands in for the main window as the receiver of reports and records each one as a line:
// "error|SUBJECT|MESSAGE", "item|TEXT", "archive|ARCHIVE|DESTINATION", "status|TEXT",
// "range|LOW|HIGH", "pos|N", "step|N", "recording|N", "add|PATH", "crc".
class ReportRecorder : public ReportReceiver {
public:
    ReportRecorder();
    ~ReportRecorder();

    platform::LRESULT WindowProc(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;
    void RefreshCounters() override {}
    void AddCrcOkEntry() override;

    // Every message, in order.
    const QStringList& Messages() const { return messages_; }
    // The history rows as the list would show them: nothing while recording is off.
    const QStringList& Rows() const { return rows_; }
    // The per-archive bar: range and position after the last message.
    int Position() const { return position_; }
    int High() const { return high_; }
    void Clear();

private:
    QStringList messages_;
    QStringList rows_;
    bool recording_ = true;
    int position_ = 0;
    int high_ = 0;
};

} // namespace tw::test
