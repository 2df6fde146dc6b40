// Bar layout of a parent window: WM_SIZEPARENT passes and the placing helper.
#include "afxwin.h"

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hWnd, LPCRECT rect)
{
    if (!hWnd || !rect) return;
    if (layout && !layout->hDWP) return;  // a query places nothing
    HWND parent = ::GetParent(hWnd);
    RECT now{};
    ::GetWindowRect(hWnd, &now);
    if (parent) ::MapWindowPoints(nullptr, parent, (LPPOINT)&now, 2);
    if (::EqualRect(&now, rect)) return;
    int cx = rect->right - rect->left;
    int cy = rect->bottom - rect->top;
    if (layout)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, hWnd, nullptr, rect->left, rect->top, cx, cy,
                                        SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, nullptr, rect->left, rect->top, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags, LPRECT rectParam, LPCRECT rectClient,
                          BOOL stretch)
{
    const UINT mode = flags & ~(UINT)reposNoPosLeftOver;
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = stretch;
    if (rectClient)
        layout.rect = *rectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    // Eight positions cover a frame's usual bars; the handle grows when more come.
    layout.hDWP = mode == reposQuery ? nullptr : ::BeginDeferWindowPos(8);

    // Children in z-order; ids compare in their low 16 bits, as control ids do.
    HWND leftOverWnd = nullptr;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        UINT id = (UINT)(WORD)::GetDlgCtrlID(child);
        if (id == leftOver) {
            leftOverWnd = child;
            continue;
        }
        if (id >= first && id <= last && FromHandlePermanent(child))
            ::SendMessageA(child, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (mode == reposQuery) {
        if (rectParam) {
            if (stretch)
                *rectParam = layout.rect;
            else
                ::SetRect(rectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }

    if (leftOver != 0 && leftOverWnd) {
        if (mode == reposExtra && rectParam) {
            layout.rect.left += rectParam->left;
            layout.rect.top += rectParam->top;
            layout.rect.right -= rectParam->right;
            layout.rect.bottom -= rectParam->bottom;
        }
        if (!(flags & reposNoPosLeftOver)) {
            FromHandle(leftOverWnd)->CalcWindowRect(&layout.rect);
            AfxRepositionWindow(&layout, leftOverWnd, &layout.rect);
        }
    }
    if (layout.hDWP && !::EndDeferWindowPos(layout.hDWP)) {
        // A child destroyed during the pass makes the batch fail; place what is left.
        ::OutputDebugStringA("RepositionBars: deferred window positions failed\n");
    }
}
