// Resource ids of the Windows program: dialog templates, controls, menus, commands, strings, icons and
// bitmaps. The numbers are fixed; code and tarnwick.rc both use these names.
#pragma once

// Dialog templates
#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_CONSOLE 103
#define IDD_PROGRESS 130
#define IDD_HARDWARE 132
#define IDD_MEDIA_INFO 144
#define IDD_CONFIRM 159
#define IDD_STORE 160

// Menus and accelerators
#define IDR_MAIN_MENU 4
#define IDR_ACCELERATORS 142
#define IDR_CONTEXT_MENUS 143

// Strings
#define IDS_ABOUT_ENTRY 101
#define IDS_USED_KEYS 102

// Icons
#define IDI_PROGRAM 103
#define IDI_DATABASES 138
#define IDI_DATABASE 139
#define IDI_ROW_MISSING 150
#define IDI_ROW_READONLY 151
#define IDI_ROW_PRECOMPUTE 152
#define IDI_ROW_OK 153
#define IDI_ROW_WARNING 154
#define IDI_ROW_FOLDER 155
#define IDI_ROW_MEDIA 156
#define IDI_ROW_AUDIO 157
#define IDI_ROW_OTHER 158

// Bitmaps
#define IDB_SORTED 140
#define IDB_UNSORTED 141
#define IDB_ABOUT 146

// Main window (template 102)
#define IDC_DATABASE_TREE 1002
#define IDC_FILE_LIST 1003
#define IDC_SCAN 1004
#define IDC_PROJECT_LIST 1005
#define IDC_HARDWARE_TOOL 1006
#define IDC_DELETE_DATABASES 1007
#define IDC_SEARCH_DATABASES 1008
#define IDC_HINT_STATISTICS 1013
#define IDC_FILE_STATUS 1014
#define IDC_USED_KEYS 1018

// Console (template 103)
#define IDC_CONSOLE_CLEAR 1001
#define IDC_CONSOLE_HIDE 1002
#define IDC_CONSOLE_LINES 1006

// Progress dialog (template 130) and its file bar
#define IDC_PROGRESS_BAR 1001
#define IDC_PROGRESS_PERCENT 1002
#define IDC_PROGRESS_TOTAL_TIME 1003
#define IDC_PROGRESS_ELAPSED 1004
#define IDC_PROGRESS_CANCEL 1006
#define IDC_FILE_BAR 10285

// Hardware tool (template 132): the bar of drive row r has id IDC_DRIVE_BAR_FIRST + r
#define IDC_DRIVE_BAR_FIRST 10285

// Media Info (template 144)
#define IDC_MEDIA_OPEN 1005
#define IDC_MEDIA_SHOW_CONSOLE 1007
#define IDC_MEDIA_DUMP_TOC 1008
#define IDC_MEDIA_TREE 1015

// Confirmation (template 159); its buttons are the answers 2, 6, 7, 8 and 9
#define IDC_CONFIRM_YES 6
#define IDC_CONFIRM_YES_TO_ALL 7
#define IDC_CONFIRM_SKIP 8
#define IDC_CONFIRM_SKIP_ALL 9
#define IDC_CONFIRM_FIRST_PATH 1016
#define IDC_CONFIRM_FIRST_LABEL 1017
#define IDC_CONFIRM_SECOND_PATH 1018
#define IDC_CONFIRM_SECOND_LABEL 1019

// Store (template 160)
#define IDC_STORE_BROWSE 1005
#define IDC_STORE_TARGET 1019
#define IDC_STORE_TO_FOLDER 1020
#define IDC_STORE_BY_PROJECT 1021
#define IDC_STORE_BY_FORMAT 1022
#define IDC_STORE_MOVE 1023

// Commands: menu bar (menu 4) and system menu
#define ID_ABOUT 16
#define ID_FILE 32771
#define ID_SHOW_CONSOLE 32773
#define ID_TEST 32774
#define ID_HARDWARE_TOOL 32775
#define ID_MEDIA_INFO 32797
#define ID_OPTIONS 32800
// Tools > "Save Report...": an addition to the menu bar, with a number no other id of the program uses.
#define ID_SAVE_REPORT 32810

// Commands: accelerators (table 142)
#define ID_SELECT_ALL 32776
#define ID_INVERT_SELECTION 32801
#define ID_SELECT_PRECOMPUTES 32803

// Commands: file list menu (first popup of menu 143) and its Headings
#define ID_HEADING_FILENAME 32779
#define ID_HEADING_SIZE 32780
#define ID_HEADING_NAME_IN_BIN 32781
#define ID_HEADING_PATH 32783
#define ID_HEADING_CREATION_DATE 32784
#define ID_HEADING_COMPRESSION 32785
#define ID_HEADING_PROJECT_NAME 32786
#define ID_HEADING_SOURCE_NAME 32787
#define ID_HEADING_MEDIA_TYPE 32798
#define ID_HEADING_UID 32799
#define ID_COPY 32788
#define ID_MOVE 32789
#define ID_DELETE 32790
#define ID_STORE 32791
#define ID_MEDIA_INFO_FILE 32792
#define ID_SCAN_MEDIA_INFO 32796

// Commands: project list menu (second popup of menu 143)
#define ID_PROJECT_STORE 32793
#define ID_PROJECT_STATISTICS 32794
#define ID_PROJECT_DELETE_MEDIA 32795
