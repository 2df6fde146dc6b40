// Painting of the grid window: everything goes through one off-screen bitmap
// per WM_PAINT and the background is never erased on its own, so the grid
// does not flicker.
#include <algorithm>

#include "grid/grid_draw_device.h"
#include "gridwnd/grid_ctrl.h"

namespace {

// The background brush of a style; a solid brush of its colour when it has none.
class TStyleBrush {
public:
    explicit TStyleBrush(const GRAPHIC_CELL_STYLE& style)
        : m_brush(style.bkBrush.Get()), m_own(m_brush ? nullptr : ::CreateSolidBrush(style.bkColor))
    {
        if (m_own) m_brush = m_own;
    }
    ~TStyleBrush()
    {
        if (m_own) ::DeleteObject(m_own);
    }
    TStyleBrush(const TStyleBrush&) = delete;
    TStyleBrush& operator=(const TStyleBrush&) = delete;
    HBRUSH Get() const { return m_brush; }

private:
    HBRUSH m_brush;
    HBRUSH m_own;
};

}  // namespace

void CDefGridCtrl::OnPaint()
{
    CPaintDC paint(this);
    const CELL_STYLE_VECTOR& styles = *m_styles;
    HDC mem = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(paint.m_hDC, std::max(1, m_client.Width()), std::max(1, m_client.Height()));
    HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
    {
        TStyleBrush background(styles[STYLE_NORMAL]);
        ::FillRect(mem, &m_client, background.Get());
    }
    const bool focused = ::GetFocus() == m_hWnd;

    CELL_IMAGE body = GetVisibleImage();
    {
        DRAW_DEVICE device(mem, body, styles, false);
        device.Advise(this);
        device.SetSelection(GetSelection());
        device.SetMeasuring(false);
        device.SetActiveSelection(focused);
        if (!body.range.IsEmpty()) m_view->Draw(device, CELL_INFO(body.range));
    }
    if (focused) DrawFocus(mem, body);

    CELL_IMAGE header = GetHeaderImage();
    {
        DRAW_DEVICE device(mem, header, styles, false);
        device.Advise(this);
        device.SetFocusCell(CELL_COORD(m_focused.left, 0));
        device.ShowFocus(m_enabledTools.test(GRID_TOOL_HEADER_SELECT));
        if (!header.range.IsEmpty()) {
            // The strip of the header band right of the last column, in
            // the header image's coordinates (the device moved the origin).
            const int right = m_layout.columns.empty()
                                  ? -header.origin.x
                                  : m_layout.columns.back().position + m_layout.columns.back().width;
            const int bottom = m_headerHeight - 1 - header.origin.y;
            RECT strip{right, 0, m_client.right - header.origin.x, bottom};
            if (strip.right > strip.left && strip.bottom > strip.top) {
                TStyleBrush fill(styles[STYLE_HEADER]);
                ::FillRect(mem, &strip, fill.Get());
                device.HorizontalLine(strip.left - 1, strip.right, strip.top - 1);
                device.HorizontalLine(strip.left - 1, strip.right, strip.bottom - 1);
                device.VerticalLine(strip.left - 1, strip.top - 1, strip.bottom);
                device.VerticalLine(strip.right - 1, strip.top - 1, strip.bottom);
            }
            m_view->Draw(device, CELL_INFO(header.range));
        }
    }

    CELL_IMAGE footer = GetFooterImage();
    if (!footer.range.IsEmpty()) {
        DRAW_DEVICE device(mem, footer, styles, false);
        device.Advise(this);
        m_view->Draw(device, CELL_INFO(footer.range));
    }

    ::BitBlt(paint.m_hDC, 0, 0, m_client.Width(), m_client.Height(), mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

void CDefGridCtrl::DrawFocus(HDC dc, const CELL_IMAGE& image)
{
    if (m_focused.left == GRID_UNSET || m_focused.top == GRID_UNSET || m_focused.right == GRID_UNSET ||
        m_focused.bottom == GRID_UNSET)
        return;
    if (m_focused.IsEmpty() || !image.HoldsRange(m_focused)) return;
    CRect rect;
    image.GetRangeRect(m_focused, rect);
    image.MyToWin(rect);
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    HRGN saved = ::CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = ::GetClipRgn(dc, saved) == 1;
    const int frozen = m_activeRange.left == GRID_UNSET ? 0 : m_activeRange.left;
    if (frozen > 0 && GetRowCount() > 0) {
        CRect left;
        image.GetRangeRect(CELL_RANGE(0, 0, frozen, GetRowCount()), left);
        image.MyToWin(left);
        ::LPtoDP(dc, reinterpret_cast<POINT*>(&left), 2);
        ::ExcludeClipRect(dc, left.left, left.top, left.right, left.bottom);
    }
    RECT frame{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
    ::DrawFocusRect(dc, &frame);
    ::SelectClipRgn(dc, hadClip ? saved : nullptr);
    ::DeleteObject(saved);
}
