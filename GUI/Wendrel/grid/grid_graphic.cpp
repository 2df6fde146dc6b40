#include "grid/grid_graphic.h"

#include <algorithm>
#include <cstring>

#include <commctrl.h>

namespace {

// The style of a pass whose table is empty.
const GRAPHIC_CELL_STYLE& FallbackStyle() {
    static const GRAPHIC_CELL_STYLE style;
    return style;
}

// Resets the current column at the end of a cell, also when drawing throws.
class TColumnScope {
public:
    explicit TColumnScope(int& column) : m_column(column) {}
    ~TColumnScope() { m_column = GRID_UNSET; }
    TColumnScope(const TColumnScope&) = delete;
    TColumnScope& operator=(const TColumnScope&) = delete;

private:
    int& m_column;
};

}  // namespace

CSize ImageListIconSize(HIMAGELIST list) {
    int cx = 0, cy = 0;
    if (!list || !ImageList_GetIconSize(list, &cx, &cy)) return CSize(0, 0);
    return CSize(cx, cy);
}

// ---------------------------------------------------------------- ICellCanvas

ICellCanvas::~ICellCanvas() = default;
void ICellCanvas::BeginCell(const CELL_RANGE&, const CELL_RANGE&) {}
void ICellCanvas::SetElement(const CELL_ELEMENT&) {}
void ICellCanvas::EndCell(const CELL_RANGE&, const CELL_RANGE&) {}
void ICellCanvas::FillBackground(const RECT&) {}
void ICellCanvas::DrawImage(int, const RECT&) {}
void ICellCanvas::DrawText(const char*, int, int, int, int) {}
void ICellCanvas::DrawButton(const RECT&, int, UINT, int) {}
void ICellCanvas::DrawHorizontalLine(int, int, int) {}
void ICellCanvas::DrawVerticalLine(int, int, int) {}
void ICellCanvas::DrawTreeLine(int, int, int, int) {}

// ---------------------------------------------------------------- GRAPHIC_DEVICE

GRAPHIC_DEVICE::GRAPHIC_DEVICE(HDC dc, const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles)
    : m_image(image), m_styles(styles), m_dc(dc ? dc : ::GetDC(nullptr)), m_ownsDC(dc == nullptr) {}

GRAPHIC_DEVICE::~GRAPHIC_DEVICE() {
    if (m_originalFont) ::SelectObject(m_dc, m_originalFont);
    if (m_ownsDC && m_dc) ::ReleaseDC(nullptr, m_dc);
}

const GRAPHIC_CELL_STYLE& GRAPHIC_DEVICE::GetStyle() const {
    if (m_style == 0 && m_column >= 0 && m_column < m_image.GetColumnCount()) {
        const boost::shared_ptr<GRAPHIC_CELL_STYLE>& own = m_image.GetColumn(m_column).style;
        if (own) return *own;
    }
    if (m_style >= 0 && size_t(m_style) < m_styles.size()) return m_styles[size_t(m_style)];
    // An index the table does not hold draws in the first style.
    return m_styles.empty() ? FallbackStyle() : m_styles.front();
}

DWORD GRAPHIC_DEVICE::GetFlags(int i) const {
    const CELL_STYLE& s = GetStyle();
    switch (i) {
    case 0: return s.format;
    case 1: return s.edge;
    case 2: return s.imageFlags;
    case 3: return s.lineFlags;
    default: return 0;
    }
}

void GRAPHIC_DEVICE::SelectStyleFont() {
    HFONT font = GetStyle().font.Get();
    if (!font || font == m_selectedFont) return;
    HGDIOBJ old = ::SelectObject(m_dc, font);
    if (!old) return;
    if (!m_originalFont) m_originalFont = static_cast<HFONT>(old);
    m_selectedFont = font;
}

const TCharMetrics& GRAPHIC_DEVICE::GetCharMetrics() {
    HFONT current = static_cast<HFONT>(::GetCurrentObject(m_dc, OBJ_FONT));
    for (auto& entry : m_metrics)
        if (entry.first == current) return *entry.second;
    m_metrics.emplace_back(current, std::make_unique<TCharMetrics>(m_dc));
    return *m_metrics.back().second;
}

void GRAPHIC_DEVICE::MeasureText(const char* text, RECT& rect) {
    SelectStyleFont();
    const UINT format = (GetStyle().format & ~UINT(DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS)) | DT_CALCRECT;
    ::DrawTextA(m_dc, text ? text : "", -1, &rect, format);
}

int GRAPHIC_DEVICE::TextWidth(const char* text) {
    if (!text || !*text) return 0;
    SelectStyleFont();
    SIZE size = {0, 0};
    return ::GetTextExtentPoint32A(m_dc, text, int(std::strlen(text)), &size) ? int(size.cx) : 0;
}

void GRAPHIC_DEVICE::StretchColumn(int column, int w, bool preferred) {
    if (column < 0 || column >= m_image.GetColumnCount()) return;
    const GRAPHIC_CELL_STYLE& s = GetStyle();
    const int width = w + 2 * s.hMargin + (s.edge ? 1 : 0) + 1;
    COLUMN_INFO& col = m_image.GetColumnVar(column);
    int& target = preferred ? col.prefWidth : col.minWidth;
    target = std::max(target, width);
}

void GRAPHIC_DEVICE::StretchRow(int row, int h) {
    if (row < 0 || row >= m_image.GetRowCount()) return;
    const GRAPHIC_CELL_STYLE& s = GetStyle();
    const int height = h + (s.edge ? 1 : 0) + 2 * s.vMargin + 1;
    ROW_INFO& r = m_image.GetRowVar(row);
    r.height = std::max(r.height, height);
}

CSize GRAPHIC_DEVICE::GetElementSize(const CELL_ELEMENT& element) const {
    if (element.IsButton()) return ImageListIconSize(GetStyle().elementImages) + CSize(4, 4);
    if (element.image != -1) return ImageListIconSize(GetStyle().cellImages) + CSize(2, 2);
    return CSize(0, 0);
}

void GRAPHIC_DEVICE::DrawElementHelper(ICellCanvas& canvas, const RECT& rect, const CELL_ELEMENT& element) {
    canvas.SetElement(element);
    if (element.IsButton()) {
        RECT r = rect;
        // A push button keeps its square shape at the bottom of a tall cell.
        if (!(element.buttonState & DFCS_FLAT) && r.bottom - r.top > r.right - r.left) r.top = r.bottom - (r.right - r.left);
        canvas.DrawButton(r, element.buttonKind, element.buttonState, element.image);
        return;
    }
    int x = rect.left;
    if (element.image != -1) {
        const CSize icon = ImageListIconSize(GetStyle().cellImages);
        const RECT r = {rect.left, rect.top, rect.left + icon.cx, rect.top + icon.cy};
        canvas.DrawImage(element.image, r);
        x = rect.left + 2 * GetStyle().hMargin + icon.cx;
    }
    if (element.HasText()) canvas.DrawText(element.text, x, rect.top, rect.right, rect.bottom);
}

void GRAPHIC_DEVICE::DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    TColumnScope columnScope(m_column);
    if (gridRange.Width() == 1) m_column = gridRange.left;
    CallSinks(gridRange, content);
    RenderCell(viewRange, gridRange, content);
}

void GRAPHIC_DEVICE::RenderCell(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    // Cells outside the layout have no pixels.
    if (!m_image.HoldsRange(gridRange)) return;
    const GRAPHIC_CELL_STYLE& style = GetStyle();
    const CSize leftSize = GetElementSize(content.left);
    const CSize rightSize = GetElementSize(content.right);
    const bool edge = style.edge != 0;
    if (!Measurement()) {
        RECT rect;
        m_image.GetRangeRect(gridRange, rect);
        TCanvasLease canvas(*this, viewRange, gridRange, true);
        canvas->BeginCell(viewRange, gridRange);
        canvas->FillBackground(rect);
        RECT inner = rect;
        if (edge) {
            ++inner.left;
            ++inner.top;
        }
        --inner.right;
        --inner.bottom;
        ::InflateRect(&inner, -style.hMargin, -style.vMargin);
        if (leftSize.cx > 0) {
            const RECT r = {inner.left, inner.top, inner.left + leftSize.cx, inner.bottom};
            DrawElementHelper(*canvas, r, content.left);
        }
        if (rightSize.cx > 0) {
            const RECT r = {inner.right - rightSize.cx, inner.top, inner.right, inner.bottom};
            DrawElementHelper(*canvas, r, content.right);
        }
        const RECT middle = {inner.left + leftSize.cx, inner.top, inner.right - rightSize.cx, inner.bottom};
        if (middle.left < middle.right) DrawElementHelper(*canvas, middle, content.middle);
        canvas->EndCell(viewRange, gridRange);
    } else if (gridRange.Height() == 1) {
        const int row = gridRange.top;
        StretchRow(row, leftSize.cy);
        StretchRow(row, rightSize.cy);
        long height;
        if (content.middle.IsButton()) {
            height = GetElementSize(content.middle).cy;
        } else {
            const COLUMN_INFO& first = m_image.GetColumn(gridRange.left);
            const COLUMN_INFO& last = m_image.GetColumn(gridRange.right - 1);
            const int w = last.position + last.width + (edge ? 0 : 1) - first.position - rightSize.cx - leftSize.cx - 2;
            height = MeasureElement(content.middle, w);
        }
        StretchRow(row, int(height));
    }
    RenderGridLine(gridRange, style.lineFlags);
}

void GRAPHIC_DEVICE::HorizontalGridLine(int, int, int, int) {}
void GRAPHIC_DEVICE::VerticalGridLine(int, int, int, int) {}

void GRAPHIC_DEVICE::RenderGridLine(const CELL_RANGE& range, DWORD flags) {
    if (Measurement() || !(flags & (GRID_LINE_TOP | GRID_LINE_BOTTOM | GRID_LINE_LEFT | GRID_LINE_RIGHT))) return;
    if (!m_image.HoldsRange(range)) return;
    RECT rect;
    m_image.GetRangeRect(range, rect);
    --rect.left;
    --rect.top;
    RenderGridLine(range, rect, flags);
}

void GRAPHIC_DEVICE::RenderGridLine(const CELL_RANGE& range, const RECT& rect, DWORD flags) {
    if (flags & GRID_LINE_TOP) HorizontalGridLine(range.top - 1, rect.left, rect.right, rect.top);
    if (flags & GRID_LINE_BOTTOM) HorizontalGridLine(range.bottom - 1, rect.left, rect.right, rect.bottom - 1);
    if (flags & GRID_LINE_LEFT) VerticalGridLine(range.left - 1, rect.left, rect.top, rect.bottom);
    if (flags & GRID_LINE_RIGHT) VerticalGridLine(range.right - 1, rect.right - 1, rect.top, rect.bottom);
}

long GRAPHIC_DEVICE::MeasureElement(const CELL_ELEMENT&, int) { return 0; }
