// The drag context of a dockable bar: the modal drag and resize loops with their
// screen outlines, and the toggle between docked and floating.
#include "afxwin.h"

namespace {

constexpr int kBorder2 = 2;

bool Horz(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0; }
bool Vert(DWORD style) { return (style & CBRS_ORIENT_VERT) != 0; }

// Moves rect so that pt lies inside it (rectangles made at a bar's corner may not
// contain the point the user grabbed).
void KeepPointInside(CRect& rect, CPoint pt)
{
    int dx = 0, dy = 0;
    if (pt.x < rect.left) dx = pt.x - rect.left;
    if (pt.x >= rect.right) dx = pt.x - rect.right + 1;
    if (pt.y < rect.top) dy = pt.y - rect.top;
    if (pt.y >= rect.bottom) dy = pt.y - rect.bottom + 1;
    rect.OffsetRect(dx, dy);
}

// The outline of a floating frame around a bar rectangle.
CRect FrameOutline(const CRect& bar)
{
    CRect r = bar;
    CMiniFrameWnd::CalcBorders(&r);
    r.InflateRect(-kBorder2, -kBorder2);
    return r;
}

}  // namespace

CDockContext::CDockContext(CControlBar* bar) : m_pBar(bar), m_pDockSite(bar ? bar->m_pDockSite : nullptr) {}

CDockContext::~CDockContext()
{
    if (m_pDC) CancelLoop();
}

void CDockContext::InitLoop()
{
    // Paint what is pending first: outlines are drawn over the screen as it is.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bFlip = FALSE;
    m_bDitherLast = FALSE;
    // Ctrl held from the start keeps the bar floating.
    m_bForceFrame = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (!m_pDC) {
        m_pDC = new CDC;
        m_pDC->Attach(::GetDCEx(::GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE));
    }
}

void CDockContext::CancelLoop()
{
    if (m_pDC) DrawFocusRect(TRUE);  // erases the outline
    if (::GetCapture() == m_pBar->m_hWnd) ::ReleaseCapture();
    if (m_pDC) {
        ::ReleaseDC(::GetDesktopWindow(), m_pDC->Detach());
        delete m_pDC;
        m_pDC = nullptr;
    }
}

// ---- dragging

void CDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd) return;
    m_bDragging = TRUE;
    InitLoop();
    if (!m_pDockSite) {
        CancelLoop();
        return;
    }
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        // Each orientation asks the bar for its size there.
        CSize horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
        CSize vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
        CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
        m_rectDragHorz = CRect(rect.TopLeft(), horz);
        m_rectDragVert = CRect(rect.TopLeft(), vert);
        m_rectFrameDragHorz = FrameOutline(CRect(rect.TopLeft(), floating));
        m_rectFrameDragVert = FrameOutline(CRect(rect.TopLeft(), floating));
    } else {
        // The bar's own orientation keeps its rectangle; the other one is asked for,
        // centred on the point.
        bool horz = Horz(m_dwStyle);
        CSize other = m_pBar->CalcDynamicLayout(-1, horz ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK));
        if (horz) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), other);
        } else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), other);
        }
        m_rectFrameDragHorz = FrameOutline(m_rectDragHorz);
        m_rectFrameDragVert = FrameOutline(m_rectDragVert);
    }
    KeepPointInside(m_rectDragHorz, pt);
    KeepPointInside(m_rectDragVert, pt);
    KeepPointInside(m_rectFrameDragHorz, pt);
    KeepPointInside(m_rectFrameDragVert, pt);
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    Move(pt);
    Track();
}

void CDockContext::Move(CPoint pt)
{
    CPoint offset = pt - m_ptLast;
    m_rectDragHorz.OffsetRect(offset);
    m_rectFrameDragHorz.OffsetRect(offset);
    m_rectDragVert.OffsetRect(offset);
    m_rectFrameDragVert.OffsetRect(offset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int ch, BOOL down)
{
    if (ch == VK_CONTROL) UpdateState(&m_bForceFrame, down);
    if (ch == VK_SHIFT) UpdateState(&m_bFlip, down);
}

void CDockContext::UpdateState(BOOL* flag, BOOL newValue)
{
    if (*flag == newValue) return;
    *flag = newValue;
    // Flipping means something only for bars that dock both ways.
    m_bFlip = Horz(m_dwDockStyle) && Vert(m_dwDockStyle) && m_bFlip;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

DWORD CDockContext::CanDock()
{
    bool horz = Horz(m_dwStyle);
    if (m_bFlip) horz = !horz;
    DWORD dock = 0;
    // The bar's orientation first, then (unless Shift forces it) the other one when
    // both outlines agree on the side.
    if (horz && Horz(m_dwDockStyle))
        dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    else if (Vert(m_dwDockStyle))
        dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (!m_bFlip) {
        if (!dock && Horz(m_dwDockStyle)) {
            DWORD other = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            if (dock != other) dock = 0;
        }
        if (!dock && Vert(m_dwDockStyle)) {
            DWORD other = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            if (dock != other) dock = 0;
        }
    }
    return dock;
}

CDockBar* CDockContext::GetDockBar(DWORD overDockStyle)
{
    CDockBar* dock = nullptr;
    if (Horz(overDockStyle))
        m_pDockSite->CanDock(m_rectDragHorz, overDockStyle & CBRS_ORIENT_HORZ, &dock);
    else if (Vert(overDockStyle))
        m_pDockSite->CanDock(m_rectDragVert, overDockStyle & CBRS_ORIENT_VERT, &dock);
    return dock;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (m_dwOverDockStyle) {
        CDockBar* dock = GetDockBar(m_dwOverDockStyle);
        if (!dock) return;
        CRect rect = Vert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        UINT id = (UINT)(WORD)dock->GetDlgCtrlID();
        if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = id;
            m_rectMRUDockPos = rect;
            dock->ScreenToClient(&m_rectMRUDockPos);
        }
        m_pDockSite->DockControlBar(m_pBar, dock, &rect);
        m_pDockSite->RecalcLayout();
    } else if ((m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip)) {
        m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
        m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    } else {
        m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
        m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    }
}

// ---- resizing a floating bar

void CDockContext::StartResize(int hitTest, CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd) return;
    m_bDragging = FALSE;
    InitLoop();
    if (!m_pDockSite) {
        CancelLoop();
        return;
    }
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    m_nHitTest = hitTest;
    CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectRequestedSize = CRect(rect.TopLeft(), size);
    m_rectActualSize = m_rectRequestedSize;
    m_rectActualFrameSize = FrameOutline(m_rectActualSize);
    m_rectFrameBorders = CRect(m_rectActualFrameSize.left - m_rectActualSize.left,
                               m_rectActualFrameSize.top - m_rectActualSize.top,
                               m_rectActualFrameSize.right - m_rectActualSize.right,
                               m_rectActualFrameSize.bottom - m_rectActualSize.bottom);
    m_dwOverDockStyle = 0;
    Stretch(pt);
    Track();
}

void CDockContext::Stretch(CPoint pt)
{
    CPoint offset = pt - m_ptLast;
    int length;
    DWORD mode = LM_HORZ;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
        if (m_nHitTest == HTLEFT)
            m_rectRequestedSize.left += offset.x;
        else
            m_rectRequestedSize.right += offset.x;
        length = m_rectRequestedSize.Width();
    } else {
        mode |= LM_LENGTHY;
        if (m_nHitTest == HTTOP)
            m_rectRequestedSize.top += offset.y;
        else
            m_rectRequestedSize.bottom += offset.y;
        length = m_rectRequestedSize.Height();
    }
    CSize size = m_pBar->CalcDynamicLayout(length > 0 ? length : 0, mode);
    CRect desk;
    ::GetWindowRect(::GetDesktopWindow(), &desk);
    // The frame grows from the edge being dragged; it must stay on the screen.
    int bordersW = m_rectFrameBorders.Width();
    int bordersH = m_rectFrameBorders.Height();
    CRect frame = m_rectActualFrameSize;
    CRect meet;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOP) {
        frame.left = frame.right - (size.cx + bordersW);
        frame.top = frame.bottom - (size.cy + bordersH);
        if (meet.IntersectRect(desk, frame)) {
            m_rectActualSize.left = m_rectActualSize.right - size.cx;
            m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
            m_rectActualFrameSize.left = frame.left;
            m_rectActualFrameSize.top = frame.top;
        }
    } else {
        frame.right = frame.left + size.cx + bordersW;
        frame.bottom = frame.top + size.cy + bordersH;
        if (meet.IntersectRect(desk, frame)) {
            m_rectActualSize.right = m_rectActualSize.left + size.cx;
            m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
            m_rectActualFrameSize.right = frame.right;
            m_rectActualFrameSize.bottom = frame.bottom;
        }
    }
    m_ptLast = pt;
    DrawFocusRect();
}

void CDockContext::EndResize()
{
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                                 CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// ---- the loop

BOOL CDockContext::Track()
{
    if (::GetCapture()) {  // someone else tracks the mouse
        CancelLoop();
        return FALSE;
    }
    HWND bar = m_pBar->m_hWnd;
    ::SetCapture(bar);
    while (::GetCapture() == bar) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP:
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            return TRUE;
        case WM_MOUSEMOVE:
            if (m_bDragging)
                Move(msg.pt);
            else
                Stretch(msg.pt);
            break;
        case WM_KEYUP:
            if (m_bDragging) OnKey((int)msg.wParam, FALSE);
            break;
        case WM_KEYDOWN:
            if (m_bDragging) OnKey((int)msg.wParam, TRUE);
            if (msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    CancelLoop();
    return FALSE;
}

void CDockContext::DrawFocusRect(BOOL removeRect)
{
    if (!m_pDC) return;
    // A thin outline over a dock bar, a thick dithered one where the bar would float.
    CSize size(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
    CBrush* white = CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
    CBrush* dither = CDC::GetHalftoneBrush();
    CBrush* brush = white;
    CRect rect;
    if (!m_bDragging) {
        rect = m_rectActualFrameSize;
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        brush = dither;
    } else if (Horz(m_dwOverDockStyle)) {
        rect = m_rectDragHorz;
    } else if (Vert(m_dwOverDockStyle)) {
        rect = m_rectDragVert;
    } else {
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        rect = ((Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip)) ? m_rectFrameDragHorz
                                                                                : m_rectFrameDragVert;
        brush = dither;
    }
    if (removeRect) size = CSize(0, 0);
    // Over a dock bar the outline sits one pixel in, as if pressed into it.
    if (m_bDragging && (Horz(m_dwOverDockStyle) || Vert(m_dwOverDockStyle))) rect.InflateRect(-1, -1);
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, brush, m_bDitherLast ? dither : white);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = brush == dither;
}

// ---- toggling

void CDockContext::ToggleDocking()
{
    if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite) return;
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;  // floating only
        CRect rect = m_rectMRUDockPos;
        CDockBar* dock = nullptr;
        if (m_uMRUDockID) {
            CControlBar* found = m_pDockSite->GetControlBar(m_uMRUDockID);
            if (found && found->IsDockBar()) {
                dock = static_cast<CDockBar*>(found);
                dock->ClientToScreen(&rect);
            }
        }
        m_pDockSite->ReDockControlBar(m_pBar, dock, dock ? &rect : nullptr);
        m_pDockSite->RecalcLayout();
    } else {
        CPoint pt = m_ptMRUFloatPos;
        if (pt.x < 0 || pt.y < 0) {
            // Never floated: where it is docked now.
            pt = m_rectMRUDockPos.TopLeft();
            m_pBar->GetParent()->ClientToScreen(&pt);
        }
        m_pDockSite->FloatControlBar(m_pBar, pt, m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
    }
}
