#include "support/report_recorder.h"

#include "extract/messages.h"

namespace tw::test {

ReportRecorder::ReportRecorder() {
    UiLinks().mainWindow = this;
}

ReportRecorder::~ReportRecorder() {
    if (UiLinks().mainWindow == this)
        UiLinks().mainWindow = nullptr;
}

void ReportRecorder::AddCrcOkEntry() {
    messages_ << "crc";
    if (recording_)
        rows_ << "crc";
}

void ReportRecorder::Clear() {
    messages_.clear();
    rows_.clear();
}

platform::LRESULT ReportRecorder::WindowProc(unsigned message, platform::WPARAM wParam,
                                             platform::LPARAM lParam) {
    QString line;
    bool row = false;
    switch (message) {
    case UM_HISTORYERROR:
        line = "error|" + TextOf(wParam) + "|" + TextOf(lParam);
        row = true;
        break;
    case UM_HISTORYITEM:
        line = "item|" + TextOf(wParam);
        row = true;
        break;
    case UM_HISTORYARCHIVE:
        line = "archive|" + TextOf(wParam) + "|" + TextOf(lParam);
        row = true;
        break;
    case UM_STATUSTEXT:
        line = "status|" + TextOf(wParam);
        break;
    case UM_ADDITEM:
        line = "add|" + TextOf(wParam);
        break;
    case UM_PROGRESSRANGE:
        high_ = static_cast<int>(lParam & 0xFFFF);
        line = QString("range|%1|%2").arg(wParam & 0xFFFF).arg(high_);
        break;
    case UM_PROGRESSPOS:
        position_ = static_cast<int>(wParam);
        line = QString("pos|%1").arg(position_);
        break;
    case UM_PROGRESSSTEP:
        position_ += static_cast<int>(wParam);
        line = QString("step|%1").arg(wParam);
        break;
    case UM_HISTORYRECORDING:
        recording_ = wParam == 1;
        line = QString("recording|%1").arg(wParam);
        break;
    default:
        line = QString("message|%1").arg(message);
    }
    messages_ << line;
    if (row && recording_)
        rows_ << line;
    return 0;
}

} // namespace tw::test
