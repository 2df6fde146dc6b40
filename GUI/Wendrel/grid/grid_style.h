// Cell styles and the shared style table. A GRAPHIC_CELL_STYLE owns its font
// and brushes (an owned flag per handle, so a style that gives a handle away
// by assignment no longer deletes it). The table is a shared pointer to a
// vector of styles, shared by the grid window, its printer, its Excel export
// and the console; it lives as long as the last pointer. GUI thread only.
#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "afxwin.h"
#include "grid/grid_owner.h"
#include "wendrel_export.h"

// The plain words of a style, in this order; a device reads word i with GetFlags(i).
struct WENDREL_API CELL_STYLE {
    DWORD format = DT_WORD_ELLIPSIS | DT_NOPREFIX;  // DrawText flags (0x40800)
    DWORD edge = 0;                                 // DrawEdge flags around the cell, 0 none
    DWORD imageFlags = ILD_TRANSPARENT;             // ImageList_Draw style of the cell pictures
    DWORD lineFlags = 0;                            // grid lines drawn for cells of this style
};

// Colours and brush of a cell state (focused, selected, selected while inactive).
struct CELL_ADORNMENT {
    COLORREF bkColor = 0;
    COLORREF textColor = 0;
    TGdiHandle<HBRUSH> brush;
};

struct WENDREL_API GRAPHIC_CELL_STYLE : CELL_STYLE {
    int hMargin = 2;           // pixels between each side of the cell and its content
    int vMargin = 2;           // pixels above and below the content
    int minHeight = 0;         // height of an element without text
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    TGdiHandle<HFONT> font;              // null: the pass's current font
    TGdiHandle<HBRUSH> bkBrush;          // solid brush of bkColor
    TGdiHandle<HBRUSH> shadeBrush;       // solid brush of shadeColor
    HIMAGELIST cellImages = nullptr;     // not owned
    HIMAGELIST elementImages = nullptr;  // not owned
    COLORREF shadeColor = 0xFFFFFF;      // background of alternate rows
    CELL_ADORNMENT focus;
    CELL_ADORNMENT selection;
    CELL_ADORNMENT inactiveSelection;
    BYTE shadedRows = 0;

    // Defaults, system adornments, no brushes until SetBkColor.
    GRAPHIC_CELL_STYLE();
    // An independent copy: own font and brushes made anew; the adornments are
    // the system ones, not the source's.
    GRAPHIC_CELL_STYLE(const GRAPHIC_CELL_STYLE& src);
    // Keeps every field, the handles with their owned flags: a table that
    // grows keeps its styles exactly as they were.
    GRAPHIC_CELL_STYLE(GRAPHIC_CELL_STYLE&& src) noexcept;
    // Copies the plain fields and takes the source's handles (the source keeps
    // them but no longer owns them).
    GRAPHIC_CELL_STYLE& operator=(const GRAPHIC_CELL_STYLE& src);
    GRAPHIC_CELL_STYLE& operator=(GRAPHIC_CELL_STYLE&& src) noexcept;
    ~GRAPHIC_CELL_STYLE() = default;

    COLORREF GetTextColor() const { return textColor; }
    void SetTextColor(COLORREF c) { textColor = c; }
    COLORREF GetBkColor() const { return bkColor; }
    // Sets the background, its brush, and the shade colour (95% of each
    // channel; 0x050505 for black) with its brush.
    void SetBkColor(COLORREF c);
    // Focus and selection in the system highlight colours, inactive selection
    // on the button face.
    void InitAdornment();

    // The shade of a background colour.
    static COLORREF ShadeOf(COLORREF c);
};

typedef std::vector<GRAPHIC_CELL_STYLE> CELL_STYLE_VECTOR;
typedef boost::shared_ptr<CELL_STYLE_VECTOR> CELL_STYLE_TABLE;

// Indices of the basic styles, the names under which the console saves them.
enum BASIC_STYLE {
    STYLE_NORMAL = 0,
    STYLE_HORIZONTAL_TITLE1 = 1,
    STYLE_HORIZONTAL_TITLE2 = 2,
    STYLE_VERTICAL_TITLE1 = 3,
    STYLE_HEADER = 4,
    STYLE_PAGE = 5,
    STYLE_LEVEL1 = 6,
    STYLE_FILTER_ALL = 7,
};

// A new table of the eight basic styles, each with a font of its own.
WENDREL_API CELL_STYLE_TABLE CreateBasicStyles();
