#include "grid/grid_hittest.h"

#include <algorithm>

void THittestCanvas::TestElement(const RECT& rect) {
    HITTEST_RESULT* result = m_device.GetResult();
    if (!result || !m_element || m_element->toolKind == -1) return;
    if (!::PtInRect(&rect, m_device.GetPoint())) return;
    result->toolKind = m_element->toolKind;
    result->element = m_element->element;
    result->elementData = m_element->data;
    m_hit = true;
}

void THittestCanvas::DrawImage(int, const RECT& rect) { TestElement(rect); }

void THittestCanvas::DrawButton(const RECT& rect, int, UINT, int) { TestElement(rect); }

void THittestCanvas::DrawText(const char* text, int left, int top, int right, int bottom) {
    HITTEST_RESULT* result = m_device.GetResult();
    if (!result || !(result->flags & 1)) return;
    RECT r = {left, top, right, bottom};
    if (!::PtInRect(&r, m_device.GetPoint())) return;
    const CPoint origin = m_device.GetCellImage().origin;
    result->textRect = r;
    ::OffsetRect(&result->textRect, origin.x, origin.y);
    RECT needed = {0, 0, right - left, 0};
    m_device.MeasureText(text, needed);
    if (needed.right - needed.left > right - left) result->text = text;
}

void THittestCanvas::EndCell(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange) {
    if (!m_hit) return;
    if (HITTEST_RESULT* result = m_device.GetResult()) {
        result->elementViewRange = viewRange;
        result->elementCell = gridRange;
    }
    m_hit = false;
}

HITTEST_DEVICE::HITTEST_DEVICE(const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles, CPoint point)
    : GRAPHIC_DEVICE(nullptr, image, styles), m_point(image.WinToMy(point)), m_canvas(*this) {}

void HITTEST_DEVICE::DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    if (m_result && m_image.HoldsRange(gridRange)) {
        RECT r;
        m_image.GetRangeRect(gridRange, r);
        if (::PtInRect(&r, m_point)) {
            m_result->viewRange = viewRange;
            m_result->cell = gridRange;
            m_result->style = m_style;
        }
    }
    GRAPHIC_DEVICE::DoRenderRange(viewRange, gridRange, content);
}

ICellCanvas& HITTEST_DEVICE::GetCellCanvas(const CELL_RANGE&, const CELL_RANGE& gridRange, bool) {
    if (m_image.HoldsRange(gridRange)) {
        RECT r;
        m_image.GetRangeClientRect(gridRange, r);
        if (::PtInRect(&r, m_point)) return m_canvas;
    }
    return m_plain;
}

void HITTEST_DEVICE::VerticalGridLine(int column, int x, int y1, int y2) {
    if (!m_result || column < 0) return;
    if (m_point.x >= x - 3 && m_point.x < x + 4 && m_point.y >= y1 && m_point.y < y2)
        m_result->columnEdge = std::max(m_result->columnEdge, column);
}
