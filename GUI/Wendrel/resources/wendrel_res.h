// Resource ids of the library's own resource script (wendrel.rc). The console
// defines some of the same numbers for its own resources; the resource chain
// looks in the exe first, so toolkit code loads these under the library's
// module state (VEzaToolkitResourceScope) where it must have its own.
#pragma once

// The grid's selection pattern: an 8x8 monochrome checkerboard.
#define IDB_WENDREL_CHECKER 1008

// Grid tool cursors.
#define IDC_WENDREL_HAND_OPEN 130
#define IDC_WENDREL_HAND_CLOSED 131
#define IDC_WENDREL_RESIZE 133
#define IDC_WENDREL_FILTER 135
#define IDC_WENDREL_SORT 136
#define IDC_WENDREL_ROW_SELECT 138
#define IDC_WENDREL_SELECT 139

// The grid's filter drop-down.
#define IDD_WENDREL_FILTER 137
#define IDC_WENDREL_FILTER_ALL 1002
#define IDC_WENDREL_FILTER_LIST 1003

// Texts with built-in defaults in the toolkit's windows.
#define IDS_WENDREL_RECENT_FILE 30004
#define IDS_WENDREL_RECENT_FILE_NAMED 30005
#define IDS_WENDREL_DOCUMENT 30006
#define IDS_WENDREL_MORE_WINDOWS 30007
#define IDS_WENDREL_MANAGE_WINDOWS 30008
#define IDS_WENDREL_SHOW_HIDE_PANELS 30009
#define IDS_WENDREL_CUSTOM_COLOR 30010
#define IDS_WENDREL_DEFAULT_COLOR 30011
#define IDS_WENDREL_HIDE 30048
#define IDS_WENDREL_OPTIONS 30049
#define IDS_WENDREL_AUTO_HIDE 30056
#define IDS_WENDREL_COLOR_FIRST 30302
#define IDS_WENDREL_COLOR_LAST 30341
#define IDS_WENDREL_TEAR_OFF_TIP 30402

// Dock-marker pictures (green is transparent). Classic set: arrows up, down,
// left, right, the tab-area marker and the compass centre; second set the
// same; then the frames behind the separate side arrows.
#define IDB_WENDREL_MARKER_BOTTOM 30343
#define IDB_WENDREL_MARKER_LEFT 30344
#define IDB_WENDREL_MARKER_RIGHT 30345
#define IDB_WENDREL_MARKER_TAB 30346
#define IDB_WENDREL_MARKER_TOP 30347
#define IDB_WENDREL_MARKER_CENTRE 30348
#define IDB_WENDREL_MARKER2_LEFT 30390
#define IDB_WENDREL_MARKER2_RIGHT 30391
#define IDB_WENDREL_MARKER2_TOP 30392
#define IDB_WENDREL_MARKER2_BOTTOM 30393
#define IDB_WENDREL_MARKER2_CENTRE 30394
#define IDB_WENDREL_MARKER2_TAB 30395
#define IDB_WENDREL_MARKER_FRAME_LEFT 30396
#define IDB_WENDREL_MARKER_FRAME_RIGHT 30397
#define IDB_WENDREL_MARKER_FRAME_TOP 30398
#define IDB_WENDREL_MARKER_FRAME_BOTTOM 30399
