#include "grid/grid_measure.h"

#include <algorithm>

TMeasureCanvas::TMeasureCanvas(TMeasureDevice& device, int column, const RECT& cell)
    : m_device(device), m_column(column), m_cell(cell) {}

TMeasureCanvas::~TMeasureCanvas() {
    if (m_extent > 0) m_device.StretchColumn(m_column, m_extent - 4, m_device.IsPreferred());
}

void TMeasureCanvas::Reach(int right) { m_extent = std::max(m_extent, right - int(m_cell.left)); }

void TMeasureCanvas::DrawText(const char* text, int left, int, int, int) { Reach(left + m_device.TextWidth(text)); }

TMeasureDevice::TMeasureDevice(HDC dc, const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles, bool preferred)
    : DRAW_DEVICE(dc, image, styles, true), m_preferred(preferred) {}

void TMeasureDevice::DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    if (gridRange.Width() != 1) return;
    m_column = gridRange.left;
    CallSinks(gridRange, content);
    const GRAPHIC_CELL_STYLE& style = GetStyle();
    int width = GetElementSize(content.left).cx + GetElementSize(content.right).cx + TextWidth(content.middle.text);
    if (content.middle.image != -1) width += ImageListIconSize(style.cellImages).cx + 2 * style.hMargin;
    if (width != 0) StretchColumn(gridRange.left, width, m_preferred);
    m_column = GRID_UNSET;
}

ICellCanvas& TMeasureDevice::GetCellCanvas(const CELL_RANGE&, const CELL_RANGE& gridRange, bool) {
    if (gridRange.Width() != 1 || !m_image.HoldsRange(gridRange)) return m_plain;
    RECT cell;
    m_image.GetRangeRect(gridRange, cell);
    m_canvas.reset();
    m_canvas.emplace(*this, gridRange.left, cell);
    return *m_canvas;
}

void TMeasureDevice::ReleaseCellCanvas(ICellCanvas& canvas) {
    if (m_canvas && &*m_canvas == &canvas) m_canvas.reset();
}
