#pragma once

// Controls of the main window (template 102) and the commands of its menus.
namespace ids {

inline constexpr int IDC_CAPTION = 1025;
inline constexpr int IDC_ARCHIVE_LIST = 1006;
inline constexpr int IDC_HISTORY_LIST = 1081;
inline constexpr int IDC_VIEW_SWITCH = 1023;
inline constexpr int IDC_EMAIL = 1022;
inline constexpr int IDC_WEB_SITE = 1024;
inline constexpr int IDC_SETTINGS = 1021;
inline constexpr int IDC_REMOVE = 1008;
inline constexpr int IDC_EXTRACT_ALL = 1013;
inline constexpr int IDC_WRITE_LOG = 1014;
inline constexpr int IDC_CLEAR_HISTORY = 1015;
inline constexpr int IDC_OVERALL_BAR = 1011;
inline constexpr int IDC_OVERALL_COUNTER = 1016;
inline constexpr int IDC_ARCHIVE_BAR = 1010;
inline constexpr int IDC_ARCHIVE_COUNTER = 1017;
inline constexpr int IDC_STATUS = 1102;
inline constexpr int IDC_STOP = 1095;

inline constexpr int ID_VIEW_LARGEICONS = 7792;
inline constexpr int ID_VIEW_SMALLICONS = 7793;
inline constexpr int ID_VIEW_LIST = 7794;
inline constexpr int ID_VIEW_DETAILS = 7795;
inline constexpr int ID_LIST_CLEAR = 7801;
inline constexpr int ID_LIST_ADDFILES = 7802;
inline constexpr int ID_LIST_SEARCH = 7804;

// Window-menu (system menu) commands.
inline constexpr int IDM_MINIMIZETOTRAY = 7;
inline constexpr int IDM_CHECKVERSION = 8;
inline constexpr int IDM_ALWAYSONTOP = 9;
inline constexpr int IDM_ABOUT = 16;
inline constexpr int SC_MINIMIZE = 0xF020;
inline constexpr int SC_RESTORE = 0xF120;

// Tray menu commands; 16 is a command here, not a system command.
inline constexpr int ID_TRAY_RESTORE = 24;
inline constexpr int ID_TRAY_EXIT = 16;

inline constexpr unsigned UM_TRAYNOTIFY = 4227;
inline constexpr int kTrayIconId = 8414;

} // namespace ids
