#include "grid/grid_draw_device.h"

#include <cstring>

#include <commctrl.h>

namespace {

// DrawText flags that do not change the height of one line of text.
constexpr UINT kOneLineSafeFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS |
                                   DT_NOCLIP | DT_NOPREFIX | DT_CALCRECT | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS |
                                   DT_WORD_ELLIPSIS | DT_RTLREADING | DT_HIDEPREFIX | DT_PREFIXONLY |
                                   DT_EXTERNALLEADING;

bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// The 8 by 8 checkerboard of the tree lines: rows alternate 0xAA and 0x55.
HBITMAP MakeDotPattern() {
    static const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    return ::CreateBitmap(8, 8, 1, 1, rows);
}

}  // namespace

// ---------------------------------------------------------------- TDrawCanvas

TDrawCanvas::TDrawCanvas(DRAW_DEVICE& device, COLORREF bk, COLORREF text, HBRUSH brush, const RECT* clip)
    : m_device(device), m_dc(device.GetDC()), m_brush(brush), m_bk(bk), m_hasClip(clip != nullptr) {
    device.SelectStyleFont();
    m_oldText = ::SetTextColor(m_dc, text);
    m_oldBk = ::SetBkColor(m_dc, bk);
    if (clip) m_clip = *clip;
}

TDrawCanvas::~TDrawCanvas() {
    if (m_clipped) ::SelectClipRgn(m_dc, m_hadClipRegion == 1 ? m_device.m_savedClip.Get() : nullptr);
    ::SetTextColor(m_dc, m_oldText);
    ::SetBkColor(m_dc, m_oldBk);
}

void TDrawCanvas::EnsureClip() {
    if (!m_hasClip || m_clipped) return;
    if (!m_device.m_savedClip.Get()) m_device.m_savedClip.Reset(::CreateRectRgn(0, 0, 0, 0));
    HRGN saved = m_device.m_savedClip.Get();
    m_hadClipRegion = saved ? ::GetClipRgn(m_dc, saved) : 0;
    ::IntersectClipRect(m_dc, m_clip.left, m_clip.top, m_clip.right, m_clip.bottom);
    m_clipped = true;
}

void TDrawCanvas::FillBackground(const RECT& rect) {
    const DWORD edge = m_device.GetStyle().edge;
    if (edge) EnsureClip();
    // Without an edge nothing leaves the cell: fill just the clipped part.
    RECT r = rect;
    if (m_hasClip && !m_clipped && !::IntersectRect(&r, &rect, &m_clip)) r = RECT{0, 0, 0, 0};
    if (m_brush) {
        ::FillRect(m_dc, &r, m_brush);
    } else {
        ::ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
    if (edge) {
        RECT e = rect;
        ::DrawEdge(m_dc, &e, edge, BF_RECT);
    }
}

void TDrawCanvas::DrawImage(int index, const RECT& rect) {
    const GRAPHIC_CELL_STYLE& style = m_device.GetStyle();
    if (!style.cellImages) return;
    EnsureClip();
    ImageList_Draw(style.cellImages, index, m_dc, rect.left, rect.top, style.imageFlags);
}

void TDrawCanvas::DrawText(const char* text, int left, int top, int right, int bottom) {
    const UINT format = m_device.GetStyle().format;
    RECT r = {left, top, right, bottom};
    if (IsWrappedFormat(format)) {
        // Wrapped lines may run below the cell.
        EnsureClip();
        DrawWrappedText(m_dc, text, r, format, m_device.GetCharMetrics());
        return;
    }
    // DrawText clips to its rectangle unless told not to.
    if (format & DT_NOCLIP) EnsureClip();
    ::DrawTextA(m_dc, text, -1, &r, format);
}

void TDrawCanvas::DrawButton(const RECT& rect, int kind, UINT state, int image) {
    EnsureClip();
    RECT r = rect;
    if (!(state & DFCS_FLAT)) {
        ::DrawFrameControl(m_dc, &r, UINT(kind), state | DFCS_ADJUSTRECT);
        ::FillRect(m_dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    HIMAGELIST images = m_device.GetStyle().elementImages;
    if (image == -1 || !images) return;
    const CSize icon = ImageListIconSize(images);
    int x = rect.left + (rect.right - rect.left - icon.cx) / 2;
    int y = rect.top + (rect.bottom - rect.top - icon.cy) / 2;
    if (state & DFCS_PUSHED) {
        ++x;
        ++y;
    }
    ImageList_Draw(images, image, m_dc, x, y, ILD_TRANSPARENT);
}

void TDrawCanvas::DrawHorizontalLine(int x1, int x2, int y) {
    EnsureClip();
    ::MoveToEx(m_dc, x1, y, nullptr);
    ::LineTo(m_dc, x2, y);
}

void TDrawCanvas::DrawVerticalLine(int x, int y1, int y2) {
    EnsureClip();
    ::MoveToEx(m_dc, x, y1, nullptr);
    ::LineTo(m_dc, x, y2);
}

void TDrawCanvas::DrawTreeLine(int x, int y1, int x2, int y2) {
    EnsureClip();
    // The pattern's clear bits take the text colour, its set bits the background.
    ::SetTextColor(m_dc, ::GetSysColor(COLOR_GRAYTEXT));
    HBRUSH brush = m_device.GetPatternBrush();
    const RECT down = {x, y1, x + 1, y2 + 1};
    const RECT across = {x, y2, x2 + 1, y2 + 1};
    ::FillRect(m_dc, &down, brush);
    ::FillRect(m_dc, &across, brush);
}

// ---------------------------------------------------------------- DRAW_DEVICE

DRAW_DEVICE::DRAW_DEVICE(HDC dc, const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles, bool keepViewport)
    : GRAPHIC_DEVICE(dc, image, styles), m_keepViewport(keepViewport) {
    if (!m_keepViewport) ::SetViewportOrgEx(m_dc, image.origin.x, image.origin.y, &m_savedOrigin);
}

DRAW_DEVICE::~DRAW_DEVICE() {
    m_canvas.reset();
    if (!m_keepViewport) ::SetViewportOrgEx(m_dc, m_savedOrigin.x, m_savedOrigin.y, nullptr);
}

HBRUSH DRAW_DEVICE::GetPatternBrush() {
    if (!m_patternBrush.Get()) {
        m_pattern.Reset(MakeDotPattern());
        if (m_pattern.Get()) m_patternBrush.Reset(::CreatePatternBrush(m_pattern.Get()));
    }
    return m_patternBrush.Get();
}

ICellCanvas& DRAW_DEVICE::GetCellCanvas(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, bool clip) {
    const GRAPHIC_CELL_STYLE& style = GetStyle();
    const bool inLayout = m_image.HoldsRange(gridRange);
    const unsigned rowState = inLayout ? m_image.GetRow(gridRange.top).state : 0;
    const unsigned columnState = inLayout ? m_image.GetColumnState(gridRange.left) : 0;
    COLORREF bk, text;
    HBRUSH brush;
    if (!(rowState & ROW_STATE_SELECTED) && !RegionMeetsRange(m_selection, gridRange)) {
        if (m_focusColors && (gridRange == CELL_RANGE(m_focus) || (columnState & COLUMN_STATE_PARTIAL))) {
            bk = style.focus.bkColor;
            text = style.focus.textColor;
            brush = style.focus.brush.Get();
        } else if (style.shadedRows && viewRange.Height() == 1 && AbsToVisible(gridRange.top) % 2 == 0) {
            bk = style.shadeColor;
            text = style.textColor;
            brush = style.shadeBrush.Get();
        } else {
            bk = style.bkColor;
            text = style.textColor;
            brush = style.bkBrush.Get();
        }
    } else if (m_activeSelection) {
        bk = style.selection.bkColor;
        text = style.selection.textColor;
        brush = style.selection.brush.Get();
    } else {
        bk = style.inactiveSelection.bkColor;
        text = style.textColor;
        brush = style.inactiveSelection.brush.Get();
    }
    RECT clipRect;
    const bool clipped = clip && inLayout;
    if (clipped) m_image.GetRangeClientRect(gridRange, clipRect);
    m_canvas.reset();
    m_canvas.emplace(*this, bk, text, brush, clipped ? &clipRect : nullptr);
    return *m_canvas;
}

void DRAW_DEVICE::ReleaseCellCanvas(ICellCanvas& canvas) {
    if (m_canvas && &*m_canvas == &canvas) m_canvas.reset();
}

void DRAW_DEVICE::HorizontalGridLine(int, int x1, int x2, int y) { HorizontalLine(x1, x2, y); }
void DRAW_DEVICE::VerticalGridLine(int, int x, int y1, int y2) { VerticalLine(x, y1, y2); }

void DRAW_DEVICE::HorizontalLine(int x1, int x2, int y) {
    if (!m_pen.Get()) m_pen.Reset(::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_GRAYTEXT)));
    HGDIOBJ old = ::SelectObject(m_dc, m_pen.Get());
    ::MoveToEx(m_dc, x1, y, nullptr);
    ::LineTo(m_dc, x2, y);
    ::SelectObject(m_dc, old);
}

void DRAW_DEVICE::VerticalLine(int x, int y1, int y2) {
    if (!m_pen.Get()) m_pen.Reset(::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_GRAYTEXT)));
    HGDIOBJ old = ::SelectObject(m_dc, m_pen.Get());
    ::MoveToEx(m_dc, x, y1, nullptr);
    ::LineTo(m_dc, x, y2);
    ::SelectObject(m_dc, old);
}

void DRAW_DEVICE::Rectangle(const RECT& rect) { ::Rectangle(m_dc, rect.left, rect.top, rect.right, rect.bottom); }

long DRAW_DEVICE::MeasureElement(const CELL_ELEMENT& element, int width) {
    const GRAPHIC_CELL_STYLE& style = GetStyle();
    const CSize icon = ImageListIconSize(style.cellImages);
    const long imageHeight = element.image != -1 ? icon.cy : 0;
    long textHeight = style.minHeight;
    const int available = width - 2 * style.hMargin - (element.image != -1 ? icon.cx + 2 * style.hMargin : 0);
    if (element.HasText() && available > 0) {
        const UINT format = (style.format & ~UINT(DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS)) | DT_CALCRECT;
        SelectStyleFont();
        RECT r = {0, 0, available, 0};
        if (IsWrappedFormat(format)) {
            DrawWrappedText(m_dc, element.text, r, format, GetCharMetrics());
            textHeight = r.bottom;
        } else if (!(format & ~kOneLineSafeFlags) && ((format & DT_SINGLELINE) || !HasLineBreak(element.text))) {
            // One line: its height is the font's, as DrawText would measure it.
            TEXTMETRICA tm;
            textHeight = GetCharMetrics().lineHeight;
            if ((format & DT_EXTERNALLEADING) && ::GetTextMetricsA(m_dc, &tm)) textHeight += tm.tmExternalLeading;
        } else {
            ::DrawTextA(m_dc, element.text, -1, &r, format);
            textHeight = r.bottom;
        }
    }
    return imageHeight > textHeight ? imageHeight : textHeight;
}
