// Resource ids of the program. Shared by the .rc file and the code.
#pragma once

// Raw data written to disk at start-up.
#define IDR_DEFAULT_INI 100
#define IDR_LTMP3_DLL 101

// Icon groups, in the order the file-type association counts them.
#define IDI_APP 1
#define IDI_LIST 101
#define IDI_LIST2 102
#define IDI_MOVIE 200
#define IDI_PICTURE 201
#define IDI_MUSIC 202

// Skin pictures.
#define IDB_CONTROLLER 1001
#define IDB_BUTTONS 1002
#define IDB_FILTER_POINT 1003
#define IDB_TACK 1004

// The settings panel: background and the start-up option images.
#define IDB_SETTINGS_BACK 600
#define IDB_SETTINGS_OPTIONS 601

// Picture window (300-399).
#define IDB_TOOL_ICONS 300

// Music player skin (400-499).
#define IDR_PLAYER_BACK 400
#define IDB_PLAYER_BTNS 401
#define IDB_PLAYER_PLAY 402
#define IDB_PLAYER_MINI 403
#define IDB_PLAYER_RESET 404
#define IDB_PLAYER_SCL 405
#define IDB_PLAYER_VOL 406
#define IDB_PLAYER_WD 407
#define IDB_PLAYER_TYPE 408
#define IDB_PLAYER_TIM 409
