#include "res/resource_icons.h"

#include "res/resource_ids.h"

#include <map>

namespace res {
namespace {

QString FileOf(int id) {
    static const std::map<int, QString> files = {
        {IDI_PROGRAM, u"app"_qs},
        {IDI_NEW_FOLDER, u"new_folder"_qs},
        {IDI_SEARCHING, u"searching"_qs},
        {IDI_SETTINGS_DIALOG, u"settings_dialog"_qs},
        {IDB_ABOUT_PICTURE, u"about_picture"_qs},
        {IDB_SETTINGS_PICTURE, u"settings_picture"_qs},
        {IDB_SETTINGS_LOWER_BAND, u"settings_lower_band"_qs},
        {IDB_SETTINGS_UPPER_BAND, u"settings_upper_band"_qs},
        {IDI_VIEW_SWITCH, u"view_switch"_qs},
        {IDI_SETTINGS, u"settings"_qs},
        {IDI_EMAIL, u"email"_qs},
        {IDI_HISTORY_OK, u"ok"_qs},
        {IDI_HISTORY_PROCESSED, u"processed"_qs},
        {IDI_HISTORY_DIRCREATE, u"dircreate"_qs},
        {IDI_WEB_SITE, u"web"_qs},
        {IDI_HISTORY_ERROR, u"error"_qs},
        {IDI_CLEAR, u"clear"_qs},
        {IDI_TRAY_RESTORE, u"restore"_qs},
        {IDI_TRAY_EXIT, u"exit"_qs},
        {IDI_VIEW_DETAILS, u"view_details"_qs},
        {IDI_VIEW_LARGE, u"view_large"_qs},
        {IDI_VIEW_SMALL, u"view_small"_qs},
        {IDI_ADD_FILES, u"add_files"_qs},
        {IDI_SEARCH, u"search"_qs},
        {IDI_VIEW_LIST, u"view_list"_qs},
        {IDI_TIP_INFORMATION, u"tip_info"_qs},
        {IDI_TIP_ERROR, u"tip_error"_qs},
        {IDI_DOCUMENT, u"document"_qs},
    };
    const auto found = files.find(id);
    return found == files.end() ? QString() : u":/icons/%1.svg"_qs.arg(found->second);
}

} // namespace

QIcon Icon(int id) {
    const QString file = FileOf(id);
    return file.isEmpty() ? QIcon() : QIcon(file);
}

QString IconUrl(int id) {
    return u"qrc"_qs + FileOf(id);
}

} // namespace res
