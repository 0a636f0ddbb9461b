// Resource, control, menu and message ids of Botenruf. Ids are decimal; window messages
// and timer ids are hexadecimal.
#pragma once

// Icons, cursors, menus, bitmaps
#define IDR_MAINFRAME 128
#define IDC_EDITOR_CURSOR 147
#define IDR_MAINMENU 135
// The sort direction in a list's header (tools/make_icons.py draws them).
#define IDB_SORT_UP 180
#define IDB_SORT_DOWN 181

// Dialog templates
#define IDD_MAIN 102
#define IDD_SINGLE_RECIPIENT 147
#define IDD_LIST_NAME 150
#define IDD_DOMAIN_COUNTDOWN 166
#define IDD_STATION_INFO 136
#define IDD_LIST_CHECK 165
#define IDD_DOMAIN_BROWSER 167
#define IDD_SHARES 168
#define IDD_LIST_EDITOR 146
#define IDD_SEND_REPORT 170

// String table
#define IDS_ABOUTBOX 101
#define IDS_SOCKETS_INIT_FAILED 103
#define IDS_HELP_HINT 104

// Main dialog (102)
#define IDC_MESSAGE 1001
#define IDC_INFO 1002
#define IDC_RECIPIENT 1004
#define IDC_MODE_LIST 1031
#define IDC_MODE_SINGLE 1032
#define IDC_MODE_DOMAIN 1033
#define IDC_CLEAR 1040
#define IDC_NOTIFY_GROUP 1046
#define IDC_SEND 1052

// Single recipient dialog (147) and list name dialog (150)
#define IDC_ALIAS 1035
#define IDC_STATION 1036

// Domain countdown dialog (166)
#define IDC_COUNTDOWN_PROGRESS 1056
#define IDC_COUNTDOWN_TEXT 1057

// Station info dialog (136)
#define IDC_STATION_INFO_NAME 1005
#define IDC_STATION_INFO_USERS 1006
#define IDC_STATION_INFO_IP 1007
#define IDC_STATION_INFO_MAC 1008

// The browser windows: list check (165), domain (167), shares (168)
#define IDC_BROWSER_STATUS 1055
#define IDC_LIST_CHECK_ROWS 1054
#define IDC_DOMAIN_STATIONS 1059
#define IDC_SHARES 1060

// The domain browser's popup menu
#define IDM_TAKE_OVER_SINGLES 108
#define IDM_SHOW_SHARES 109
#define IDM_SELECT_ALL 110
#define IDM_TAKE_OVER_LIST 111

// The send report (170); "Schließen" is IDCANCEL
#define IDC_REPORT_HEADING 1070
#define IDC_REPORT_ROWS 1071
#define IDC_REPORT_RESEND 1072
#define IDC_REPORT_COPY 1073
#define IDC_REPORT_ONLY_FAILED 1074

// The list editor (146)
#define IDC_EDITOR_SINGLES 1020
#define IDC_EDITOR_LISTS 1021
#define IDC_EDITOR_MEMBERS 1022
#define IDC_EDITOR_STATION 1023
#define IDC_EDITOR_LIST_NEW 1024
#define IDC_EDITOR_LIST_REMOVE 1025
#define IDC_EDITOR_SINGLE_NEW 1026
#define IDC_EDITOR_SINGLE_REMOVE 1027
#define IDC_EDITOR_UNDO 1028
#define IDC_EDITOR_OK 1029
#define IDC_EDITOR_MODE_LISTS 1031
#define IDC_EDITOR_MODE_SINGLES 1032
#define IDC_EDITOR_MEMBER_ADD 1033
#define IDC_EDITOR_MEMBER_REMOVE 1034
#define IDC_EDITOR_LIST_CHANGE 1037
#define IDC_EDITOR_SINGLE_CHANGE 1038
#define IDC_EDITOR_SINGLE_UP 1039
#define IDC_EDITOR_SINGLE_DOWN 1040
#define IDC_EDITOR_LIST_UP 1041
#define IDC_EDITOR_LIST_DOWN 1042
#define IDC_EDITOR_MEMBER_UP 1043
#define IDC_EDITOR_MEMBER_DOWN 1044

// Menu 135
#define IDM_MESSAGE_SAVE 40002
#define IDM_MESSAGE_LOAD 40003
#define IDM_ABOUT 40004
#define IDM_EXIT 40005
#define IDM_VERSION_HISTORY 40006
#define IDM_LIST_PATH 40008
#define IDM_AUTOSTART 40010
#define IDM_TNA_START 40011
#define IDM_MESSAGE_CLEAR 40013
#define IDM_MODE_SINGLE 40018
#define IDM_MODE_LIST 40019
#define IDM_TOPMOST 40020
#define IDM_SUCCESS_LIST 40024
#define IDM_MINIMIZE_TASKBAR 40025
#define IDM_MINIMIZE_SYSTRAY 40027
#define IDM_SUCCESS_SINGLE 40028
#define IDM_LIST_EDIT 40029
#define IDM_LIST_INFO 40037
#define IDM_VERSAND_INFO 40038
#define IDM_MODE_DOMAIN 40039
#define IDM_SUCCESS_DOMAIN 40040
#define IDM_ORIGINAL_SIZE 40041
#define IDM_TOOLTIPS 40042
#define IDM_GRID_LINES 40043
#define IDM_FULL_ROW 40044
#define IDM_UPDATE 40045
#define IDM_SEND_REPORT 40046
#define IDM_DELIVERY_AUTO 40047
#define IDM_DELIVERY_NET_SEND 40048
#define IDM_DELIVERY_MSG 40049

// Commands outside the menu bar: the tray menu, the greeting item and the system menu.
#define IDM_TRAY_ABOUT 102
#define IDM_TRAY_EXIT 104
#define IDM_TRAY_VERSION_HISTORY 105
#define IDM_TRAY_LIST_INFO 106
#define IDM_MEMORIAM 107
#define IDM_SYS_ABOUT 16
#define IDM_SYS_TOPMOST 105
#define IDM_HELP 57670

// Private window messages (WM_APP = 0x8000)
#define WM_APP_TRAY_CALLBACK 0x8003
#define WM_APP_FILE_DROPPED 0x8004
#define WM_APP_STATION_INFO_DONE 0x8005
#define WM_APP_LIST_CHECK_DONE 0x8006
#define WM_APP_COUNTDOWN_DONE 0x8007
#define WM_APP_DOMAIN_INFO_DONE 0x800A
#define WM_APP_SHARES_DONE 0x800B
#define WM_APP_DOMAIN_LIST_READY 0x800C
// The notification poller hands its changes to the user-interface thread with this one.
#define WM_APP_NOTIFICATION_CHANGED 0x8010
// A query worker hands a change of its browser window to the window's thread with this one,
// and the update check its boxes to the main window's thread.
#define WM_APP_WINDOW_CALL 0x8011
// A send worker hands its outcome to the send report's thread with this one (wParam: the
// report's number, lParam: the outcome).
#define WM_APP_SEND_OUTCOME 0x8012
// A send report that the user closed asks the main window to let it go.
#define WM_APP_SEND_REPORT_CLOSED 0x8013
// A send report learns the stations of a domain sent to through msg.
#define WM_APP_SEND_REPORT_EXPAND 0x8016
// A send report opens in steps of its own (wParam: the step), so that no step holds up the
// main window for long.
#define WM_APP_SEND_REPORT_STEP 0x8017

// Timers
#define IDT_COUNTDOWN 0x8008
#define IDT_LIST_CHECK_FLASH 0x8009

// About box (100), text viewer (137), dedication (152), help hint (157), hidden text (164)
#define IDD_ABOUT 100
#define IDD_TEXT_VIEWER 137
#define IDD_DEDICATION 152
#define IDD_HELP_HINT 157
#define IDD_HIDDEN_TEXT 164
#define IDR_AVI_DEDICATION 151
#define IDR_AVI_ABOUT 156
#define IDR_AVI_HELP_HINT 158
#define IDI_HIDDEN_SECOND 160
#define IDI_HIDDEN_FIRST 161
#define IDI_HIDDEN_REVEAL 162
#define IDC_ABOUT_ICON 1005
#define IDC_ABOUT_VERSION 1007
#define IDC_ABOUT_LEGAL 1008
#define IDC_ABOUT_COMMENTS 1009
#define IDC_VIEWER_TEXT 1011
#define IDC_ABOUT_FEEDBACK 1023
#define IDC_DEDICATION_ANIMATION 1043
#define IDC_DEDICATION_TEXT 1044
#define IDC_ABOUT_ANIMATION 1045
#define IDC_HINT_TEXT 1047
#define IDC_HIDDEN_TEXT 1047
#define IDC_HINT_ANIMATION 1048
