// A static splitter that hosts existing windows side by side and remembers
// whether the user has moved its bar, and the layout helpers of the
// console's dialogs: splitting a rectangle in two and laying out rows of
// footer buttons. GUI thread only.
#pragma once

#include "afxext.h"
#include "afxwin.h"
#include "wendrel_export.h"

class WENDREL_API CSplitterCtrl : public CSplitterWnd {
    DECLARE_DYNAMIC(CSplitterCtrl)
public:
    CSplitterCtrl() = default;

    // 1 once the user has started dragging the bar.
    int IsSplitterMoved() const { return m_moved; }
    // Makes an existing window object the pane (row, col), sized (0, 0,
    // size.cx, size.cy), which also becomes the column's and row's ideal size.
    int CreateView(int row, int col, CWnd* wnd, SIZE size, DWORD exStyle, LPCSTR className, LPCSTR windowName,
                   DWORD style);
    using CSplitterWnd::CreateView;

    void StartTracking(int hit) override;
    // Gives the focus back to the window that had it when the drag started,
    // also when the drag is cancelled.
    void StopTracking(BOOL accept) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

private:
    // Kept as a handle: the window object of a temporary lookup does not
    // outlive the messages of a drag.
    HWND m_focusBeforeDrag = nullptr;
    int m_moved = 0;
};

// 0 on success, -1 when a step fails.
WENDREL_API int CreateHorzSplitter(CWnd* parent, CSplitterCtrl& splitter, CWnd* left, CWnd* right, DWORD exStyle,
                                   LPCSTR className, LPCSTR windowName, DWORD style);
// Two views of a class; a failed view destroys the splitter.
WENDREL_API int CreateHorzSplitter(CWnd* parent, CSplitterWnd& splitter, CRuntimeClass* viewClass);
// Moves the splitter; the bar stays centred until the user moves it.
WENDREL_API void LayoutHorzSplitter(CSplitterCtrl& splitter, CRect& rect);
WENDREL_API void CenterHorzSplitter(CSplitterWnd& splitter);
// Left and right halves (an odd width leaves the last pixel column to
// neither); inset shrinks both by 5 on every side.
WENDREL_API void SplitRectHorz(const CRect& whole, CRect& left, CRect& right, bool inset);
// count equal slots across the strip, one control each.
WENDREL_API void LayoutFooterButtons(CWnd* dialog, CRect strip, const UINT* ids, int count, bool inset);
// The buttons at their sizes in a right-aligned row, 5 pixels apart, 10
// from the right edge, 5 below the strip's top.
WENDREL_API void LayoutFooterButtons2(CWnd* dialog, CRect strip, const UINT* ids, int count);
