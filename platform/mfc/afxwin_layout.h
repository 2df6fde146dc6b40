// Layout of a window's bars: the record WM_SIZEPARENT carries to each bar while a
// parent lays out its children (CWnd::RepositionBars), and the placing helper the bars
// use. In a query the record has no deferred-position handle: bars only report the
// room they take. GUI thread only; the record lives on the caller's stack.
#pragma once
#include "afxwin_wnd.h"

struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;       // deferred positions of this pass; NULL in a query
    RECT rect;       // the room still free, shrunk by each bar in turn
    SIZE sizeTotal;  // room the bars took: summed across, largest along
    BOOL bStretch;   // bars stretch along the free room
};

// Moves hWnd to rect (parent client coordinates) within the layout pass: deferred
// when the pass has positions, at once without a pass, never in a query, and not at
// all when the window is already there.
TRVMFC_API void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hWnd, LPCRECT rect);
