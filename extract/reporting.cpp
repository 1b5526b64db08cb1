#include "extract/reporting.h"

#include "extract/messages.h"
#include "extract/ui_links.h"
#include "platform/ui_thread.h"

using platform::LPARAM;
using platform::WPARAM;

namespace {

void Send(unsigned message, WPARAM wParam, LPARAM lParam) {
    if (ReportReceiver* receiver = UiLinks().mainWindow)
        platform::SendWindowMessage(*receiver, message, wParam, lParam);
}

LPARAM TextArgument(const QString& text) {
    return static_cast<LPARAM>(TextParameter(text));
}

} // namespace

void ReportStatus(const QString& text) {
    Send(UM_STATUSTEXT, TextParameter(text), 0);
}

void ReportItem(const QString& text) {
    Send(UM_HISTORYITEM, TextParameter(text), 0);
}

void ReportError(const QString& subject, const QString& message) {
    Send(UM_HISTORYERROR, TextParameter(subject), TextArgument(message));
}

void ReportArchive(const QString& archive, const QString& destination) {
    Send(UM_HISTORYARCHIVE, TextParameter(archive), TextArgument(destination));
}

void SetArchiveRange(int low, int high) {
    Send(UM_PROGRESSRANGE, static_cast<WPARAM>(low), high);
}

void SetArchivePosition(int position) {
    Send(UM_PROGRESSPOS, static_cast<WPARAM>(position), 0);
}

void AdvanceArchiveProgress(int step) {
    Send(UM_PROGRESSSTEP, static_cast<WPARAM>(step), 0);
}

void SetHistoryRecording(bool on) {
    Send(UM_HISTORYRECORDING, on ? 1 : 0, 0);
}

void ReportFoundArchive(const QString& path) {
    Send(UM_ADDITEM, TextParameter(path), 0);
}

void RefreshCounters() {
    if (ReportReceiver* receiver = UiLinks().mainWindow)
        platform::RunOnUiThread([receiver] { receiver->RefreshCounters(); });
}

void ReportCrcOk() {
    if (ReportReceiver* receiver = UiLinks().mainWindow)
        platform::RunOnUiThread([receiver] { receiver->AddCrcOkEntry(); });
}
