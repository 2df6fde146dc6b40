// What a grid window tells its owner (WM_NOTIFY) and the command ids it takes.
#pragma once

#include "afxwin.h"
#include "grid/grid_content.h"
#include "grid/grid_geometry.h"

// The record of every grid notification; zero-filled except for the fields
// the code names.
struct tagNM_DEFGRID {
    NMHDR hdr;
    CELL_RANGE range;
    POINT point;
    DWORD_PTR data;
};

enum GRID_NOTIFY_CODE {
    GN_ACTIVATE = 1,        // space, or a double click nobody took
    GN_SCROLLED = 2,        // the view scrolled or the focus moved
    GN_SORTED = 3,
    GN_SELECTION = 4,
    GN_CELL_COMMAND = 5,    // range = the element's cell, data = the element
};

// Tool commands (40200-40299) and options (40300-40331, bit = id - 40300).
enum : UINT {
    ID_GRID_TOOL_HAND = 40200,
    ID_GRID_TOOL_ROWS = 40201,
    ID_GRID_TOOL_SELECT = 40202,
    ID_GRID_TOOL_ONE_ROW = 40203,
    ID_GRID_TOOL_LAST = 40299,
    ID_GRID_OPTION_FIRST = 40300,
    ID_GRID_OPTION_HIDE_EMPTY = 40300,
    ID_GRID_OPTION_LAST = 40331,
};

// The grid's own messages: deferred update; close the popup (wParam: its
// handle, or 0 for any).
constexpr UINT WM_GRID_SYNC = WM_USER + 1;
constexpr UINT WM_GRID_KILLPOPUP = WM_USER + 2;
