#include "gridwnd/splitter_ctrl.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CSplitterCtrl, CSplitterWnd)

int CSplitterCtrl::CreateView(int row, int col, CWnd* wnd, SIZE size, DWORD exStyle, LPCSTR className,
                              LPCSTR windowName, DWORD style)
{
    int current, minimum;
    GetColumnInfo(col, current, minimum);
    SetColumnInfo(col, size.cx, minimum);
    GetRowInfo(row, current, minimum);
    SetRowInfo(row, size.cy, minimum);
    return wnd->CreateEx(exStyle, className, windowName, style | WS_CHILD | WS_VISIBLE,
                         CRect(0, 0, size.cx, size.cy), this, UINT(IdFromRowCol(row, col)))
               ? 1
               : 0;
}

void CSplitterCtrl::StartTracking(int hit)
{
    m_focusBeforeDrag = ::GetFocus();
    CSplitterWnd::StartTracking(hit);
    m_moved = 1;
}

void CSplitterCtrl::StopTracking(BOOL accept)
{
    CSplitterWnd::StopTracking(accept);
    HWND focus = m_focusBeforeDrag;
    m_focusBeforeDrag = nullptr;
    if (focus && ::IsWindow(focus)) ::SetFocus(focus);
}

BOOL CSplitterCtrl::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_TABSTOP;
    cs.dwExStyle |= WS_EX_CONTROLPARENT;
    return CWnd::PreCreateWindow(cs);
}

int CreateHorzSplitter(CWnd* parent, CSplitterCtrl& splitter, CWnd* left, CWnd* right, DWORD exStyle,
                       LPCSTR className, LPCSTR windowName, DWORD style)
{
    if (!splitter.CreateStatic(parent, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return -1;
    if (!splitter.CreateView(0, 0, left, CSize(0, 0), exStyle, className, windowName, style)) return -1;
    if (!splitter.CreateView(0, 1, right, CSize(0, 0), exStyle, className, windowName, style)) return -1;
    return 0;
}

int CreateHorzSplitter(CWnd* parent, CSplitterWnd& splitter, CRuntimeClass* viewClass)
{
    if (!splitter.CreateStatic(parent, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return -1;
    if (!splitter.CreateView(0, 0, viewClass, CSize(0, 0), nullptr) ||
        !splitter.CreateView(0, 1, viewClass, CSize(0, 0), nullptr)) {
        splitter.DestroyWindow();
        return -1;
    }
    return 0;
}

void CenterHorzSplitter(CSplitterWnd& splitter)
{
    int current, minimum;
    splitter.GetColumnInfo(0, current, minimum);
    splitter.SetColumnInfo(0, 0, minimum);
    splitter.RecalcLayout();
    int rest, restMinimum;
    splitter.GetColumnInfo(1, rest, restMinimum);
    splitter.SetColumnInfo(0, rest / 2, minimum);
    splitter.RecalcLayout();
}

void LayoutHorzSplitter(CSplitterCtrl& splitter, CRect& rect)
{
    splitter.MoveWindow(&rect, TRUE);
    splitter.RecalcLayout();
    if (!splitter.IsSplitterMoved()) CenterHorzSplitter(splitter);
}

void SplitRectHorz(const CRect& whole, CRect& left, CRect& right, bool inset)
{
    const int half = whole.Width() / 2;
    left = CRect(whole.left, whole.top, whole.left + half, whole.bottom);
    right = CRect(whole.left + half, whole.top, whole.left + 2 * half, whole.bottom);
    if (inset) {
        left.DeflateRect(5, 5);
        right.DeflateRect(5, 5);
    }
}

void LayoutFooterButtons(CWnd* dialog, CRect strip, const UINT* ids, int count, bool inset)
{
    if (count <= 0) return;
    const double slot = double(strip.Width()) / count;
    const int width = int(std::lround(slot));
    for (int i = 0; i < count; ++i) {
        CRect r(strip.left + int(std::lround(i * slot)), strip.top, 0, strip.bottom);
        r.right = r.left + width;
        if (inset) r.DeflateRect(5, 5);
        if (CWnd* item = dialog->GetDlgItem(int(ids[i]))) item->MoveWindow(&r, TRUE);
    }
}

void LayoutFooterButtons2(CWnd* dialog, CRect strip, const UINT* ids, int count)
{
    for (int i = 0; i < count; ++i) {
        CWnd* item = dialog->GetDlgItem(int(ids[i]));
        if (!item) continue;
        CRect r;
        item->GetWindowRect(&r);
        const int x = strip.right - (count - i) * (r.Width() + 5) - 10;
        item->SetWindowPos(nullptr, x, strip.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
}
