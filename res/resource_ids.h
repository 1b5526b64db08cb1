#pragma once

// Identifiers of the program's pictures and of the main window's template.
namespace res {

inline constexpr int IDD_MAIN_DIALOG = 102;

inline constexpr int IDI_PROGRAM = 128;
inline constexpr int IDI_NEW_FOLDER = 149;
inline constexpr int IDI_VIEW_SWITCH = 158;
inline constexpr int IDI_SETTINGS = 192;
inline constexpr int IDI_SEARCHING = 194;
inline constexpr int IDI_EMAIL = 196;
inline constexpr int IDI_SETTINGS_DIALOG = 204;
inline constexpr int IDI_HISTORY_OK = 235;
inline constexpr int IDI_HISTORY_PROCESSED = 236;
inline constexpr int IDI_HISTORY_DIRCREATE = 237;
inline constexpr int IDI_WEB_SITE = 238;
inline constexpr int IDI_HISTORY_ERROR = 240;
inline constexpr int IDI_CLEAR = 241;
inline constexpr int IDI_TRAY_RESTORE = 243;
inline constexpr int IDI_TRAY_EXIT = 246;
inline constexpr int IDI_VIEW_DETAILS = 248;
inline constexpr int IDI_VIEW_LARGE = 249;
inline constexpr int IDI_VIEW_SMALL = 250;
inline constexpr int IDI_ADD_FILES = 251;
inline constexpr int IDI_SEARCH = 252;
inline constexpr int IDI_VIEW_LIST = 253;

// Bitmaps: the About box's picture and the settings dialog's bands and picture.
inline constexpr int IDB_ABOUT_PICTURE = 170;
inline constexpr int IDB_SETTINGS_PICTURE = 199;
inline constexpr int IDB_SETTINGS_LOWER_BAND = 201;
inline constexpr int IDB_SETTINGS_UPPER_BAND = 218;
// Pictures without a number of their own: the balloon tips' title icons and the stand-in for
// the desktop's generic document icon.
inline constexpr int IDI_TIP_INFORMATION = 1;
inline constexpr int IDI_TIP_ERROR = 2;
inline constexpr int IDI_DOCUMENT = 3;

} // namespace res
