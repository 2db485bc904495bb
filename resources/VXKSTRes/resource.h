#pragma once
// Ids of the recorder's resource library VXKSTRes: dialogs, menus, bitmaps,
// the hand cursor and the string table. The recorder finds them by these
// numbers, so they never change.

// Dialogs.
#define IDD_SCHEDULE     132
#define IDD_SET_IP       179
#define IDD_MAIN         182
#define IDD_RECORD_QUERY 366
#define IDD_ABOUT        5050
#define IDD_SYS_PARAM    5076

// Menus, each holding one sub-menu.
#define IDR_MENU_LIST         5175
#define IDR_MENU_TRAY         5176
#define IDR_MENU_RECORD       5177
#define ID_MENU_EDIT_CAMERA   32771
#define ID_MENU_DELETE_CAMERA 32772
#define ID_MENU_START_CAMERA  32773
#define ID_MENU_STOP_CAMERA   32776
#define ID_MENU_RESTORE       32777
#define ID_MENU_EXIT          32778
#define ID_MENU_ABOUT         32779
#define ID_MENU_START_ALL     32780
#define ID_MENU_STOP_ALL      32781
#define ID_MENU_RECORD_OPEN   32782
#define ID_MENU_RECORD_CUT    32783
#define ID_MENU_RECORD_COPY   32784
#define ID_MENU_RECORD_DELETE 32785
#define ID_MENU_RECORD_FOLDER 32786

// Bitmaps. Buttons list their pressed, normal and disabled pictures.
#define IDB_CAMERA_VIEW        131
#define IDB_EXIT               188
#define IDB_EXIT_DOWN          189
#define IDB_SCHEDULE_MAIN      190
#define IDB_CANCEL             191
#define IDB_CANCEL_DOWN        192
#define IDB_LEGEND_CLEAR       193
#define IDB_LEGEND_CONTINUOUS  194
#define IDB_LEGEND_MOTION      195
#define IDB_OK                 196
#define IDB_OK_DOWN            197
#define IDB_RADIO_OFF          198
#define IDB_RADIO_ON           199
#define IDB_CHECK_OFF          200
#define IDB_CHECK_ON           201
#define IDB_MIN_DOWN           208
#define IDB_MIN                209
#define IDB_ABOUT_MAIN         5087
#define IDB_SELECT_PATH        5098
#define IDB_SYSPARAM_DOWN      5169
#define IDB_SYSPARAM_DISABLED  5170
#define IDB_SYSPARAM           5171
#define IDB_MAX                5176
#define IDB_SETUP_DISABLED     5189
#define IDB_SETUP              5190
#define IDB_SETUP_DOWN         5191
#define IDB_DELETEALL_DISABLED 5192
#define IDB_DELETEALL          5193
#define IDB_DELETEALL_DOWN     5194
#define IDB_SCHEDULE_DISABLED  5195
#define IDB_SCHEDULE           5196
#define IDB_SCHEDULE_DOWN      5197
#define IDB_QUERY_DISABLED     5198
#define IDB_QUERY              5199
#define IDB_STOPALL_DOWN       5200
#define IDB_STARTALL_DISABLED  5201
#define IDB_STARTALL           5202
#define IDB_STARTALL_DOWN      5203
#define IDB_STOPALL_DISABLED   5204
#define IDB_STOPALL            5205
#define IDB_QUERY_DOWN         5206
#define IDB_CLEAR_ALL          5207

// The hand cursor of buttons and links.
#define IDC_HAND_CURSOR 207

// Controls of the main window.
#define IDC_BTN_EXIT         1000
#define IDC_BTN_ADD_CAMERA   1001
#define IDC_BTN_MIN          1011
#define IDC_BTN_SYS_PARAM    1014
#define IDC_BTN_REC_SCHEDULE 1015
#define IDC_BTN_MAX          1018
#define IDC_BTN_START_ALL    1121
#define IDC_BTN_REC_QUERY    1122
#define IDC_BTN_STOP_ALL     5240
#define IDC_BTN_DELETE_ALL   5241
#define IDC_LIST_CAMERA      5242

// Strings.
#define IDS_ERROR_CAPTION          1
#define IDS_COL_CHANNEL            14
#define IDS_COL_NAME               15
#define IDS_COL_TYPE               16
#define IDS_COL_STREAM             19
#define IDS_TYPE_0                 20
#define IDS_TYPE_2                 21
#define IDS_TYPE_3                 27
#define IDS_STREAM_MAIN            28
#define IDS_STREAM_SUB             29
#define IDS_STREAM_THIRD           30
#define IDS_COL_NUMBER             32
#define IDS_FOLDER_BAD             89
#define IDS_FOLDER_EMPTY           90
#define IDS_TIME_RANGE             131
#define IDS_QUERY_COL_NUMBER       133
#define IDS_QUERY_COL_FILE         134
#define IDS_QUERY_COL_SIZE         135
#define IDS_DATE_RANGE             136
#define IDS_ASK_DELETE_RECORD      139
#define IDS_DELETE_RECORD_FAILED   140
#define IDS_QUERY_COL_START        151
#define IDS_QUERY_COL_PATH         152
#define IDS_COL_FREE_SPACE         155
#define IDS_TIP_SETUP_CAMERA       215
#define IDS_TIP_REC_SCHEDULE       221
#define IDS_TIP_CLEAR_ALL          231
#define IDS_TIP_SELECT_PATH        233
#define IDS_TIP_DELETE_ALL         235
#define IDS_TIP_STOP_ALL           236
#define IDS_TIP_START_ALL          237
#define IDS_TIP_REC_QUERY          245
#define IDS_TIP_SYS_PARAM          246
#define IDS_TIP_MIN                311
#define IDS_TIP_EXIT               312
#define IDS_CAPTION                326
#define IDS_ASK_EXIT               327
#define IDS_BROWSE_TITLE           328
#define IDS_ASK_DELETE_ALL         329
#define IDS_STATE_PLAY_FAILED      330
#define IDS_STATE_CONNECT_FAILED   331
#define IDS_STATE_NO_CAMERA        332
#define IDS_STATE_IDLE             333
#define IDS_STATE_STOPPED          334
#define IDS_STATE_RECORDING        335
#define IDS_STATE_OFF_SCHEDULE     336
#define IDS_STATE_DISABLED         337
#define IDS_STATE_DISK_LOW         338
#define IDS_COL_HOST               339
#define IDS_COL_STATUS             340
#define IDS_ASK_EXIT_RUNNING       341
#define IDS_ASK_DELETE_ALL_RUNNING 342
#define IDS_ASK_START_ALL          343
#define IDS_ASK_STOP_ALL           344
#define IDS_ASK_DELETE_CAMERA      345
#define IDS_STATE_WAIT_MOTION      346
#define IDS_OPEN_RECORD_FAILED     360
#define IDS_OPEN_NO_PROGRAM        361
#define IDS_OPEN_MISSING           362
#define IDS_OPEN_REFUSED           363
#define IDS_STATE_NO_SCHEDULE      364
#define IDS_STATE_LOGIN_REFUSED    365
#define IDS_USER_MISSING           3
#define IDS_NAME_MISSING           5
#define IDS_HOST_BAD               200
#define IDS_STATE_FOLDER_FAILED    370
#define IDS_STATE_WRITE_FAILED     371
#define IDS_STATE_DISK_FULL        372
#define IDS_STATE_NOT_RECORDABLE   373
