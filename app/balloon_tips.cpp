#include "app/balloon_tips.h"

#include "app/control_ids.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"

#include <QWidget>

namespace {

struct Tip {
    int control;
    const char16_t* title;
    bool errorIcon;
    const char16_t* text;
};

QString AsHtml(const QString& text) {
    return text.toHtmlEscaped().replace(u'\n', u"<br>"_qs);
}

} // namespace

void SetBalloonTip(QWidget& control, const QString& title, bool errorIcon, const QString& text) {
    const QString icon = res::IconUrl(errorIcon ? res::IDI_TIP_ERROR : res::IDI_TIP_INFORMATION);
    control.setToolTip(
        u"<table cellspacing='0' cellpadding='1'><tr><td><img src='%1' width='16' height='16'>"
        u"</td><td><b>%2</b></td></tr></table><p style='white-space:pre'>%3</p>"_qs.arg(
            icon, AsHtml(title), AsHtml(text)));
}

void InstallMainWindowTips(QWidget& dialog) {
    using namespace ids;
    static const Tip tips[] = {
        {IDC_ARCHIVE_LIST, u"List of Archives To Extract", false,
         u"Drag & drop archives from Windows Explorer here to \nspecify which archives to "
         u"extract. You can then press \nExtract to extract all the archives that you've "
         u"dragged \nhere.\n\nNote: If multi-volume archive, drop only the first volume\n"
         u"Supported: ACE, ZIP, RAR"},
        {IDC_SETTINGS, u"Help", false, u"Settings"},
        {IDC_ARCHIVE_BAR, u"Help", false,
         u"Shows the progress of individual \narchives during extraction"},
        {IDC_OVERALL_BAR, u"Help", false, u"Shows the progress of all archives during extraction"},
        {IDC_STATUS, u"Help", false, u"Displays various status information"},
        {IDC_VIEW_SWITCH, u"Window Switch", false,
         u"Switch between LIST OF ARCHIVES TO EXTRACT &\nLIST OF EXTRACTION HISTORY"},
        {IDC_WEB_SITE, u"Contact", false, u"Tamblewick website"},
        {IDC_EMAIL, u"Contact", false,
         u"E-mail the author of Tamblewick\nReport bugs or send comments"},
        {IDC_CLEAR_HISTORY, u"Tasks", false, u"Clear extraction history"},
        {IDC_EXTRACT_ALL, u"Tasks", false,
         u"Extract all archives shown in \nthe LIST OF ARCHIVES TO EXTRACT"},
        {IDC_REMOVE, u"Tasks", false,
         u"Remove selected archives in \nthe LIST OF ARCHIVES TO EXTRACT"},
        {IDC_HISTORY_LIST, u"Logging", false, u"History of what happened during extraction"},
        {IDC_WRITE_LOG, u"Logging", false, u"Write extraction history to a log file"},
        {IDC_STOP, u"Tasks - Stop", true, u"Stops current extraction operation"},
    };
    for (const Tip& tip : tips)
        if (auto* control = dialog.findChild<QWidget*>(QString::number(tip.control)))
            SetBalloonTip(*control, QString::fromUtf16(tip.title), tip.errorIcon,
                          QString::fromUtf16(tip.text));
}
