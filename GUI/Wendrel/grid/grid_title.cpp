#include "grid/grid_title.h"

#include "grid/grid_column.h"
#include "grid/grid_device.h"
#include "grid/grid_style.h"

CTitleGridView::CTitleGridView(bool horizontal) : m_horizontal(horizontal) { m_cells.SetCellText(0, 0, "", 0); }

void CTitleGridView::SetTitle(const std::string& title) {
    m_cells.SetCellText(0, 0, title.c_str(), 0);
    m_titleMode = true;
}

std::string CTitleGridView::GetTitle() const {
    const char* text = m_cells.GetCellText(0, 0);
    return text ? text : "";
}

VECTOR_CELL_DATA& CTitleGridView::GetTitleCell() {
    m_titleMode = true;
    return m_cells.AllocateCell(0, 0);
}

void CTitleGridView::SetColumnLabel(int column, const char* text, int type) { m_cells.SetCellText(column, 0, text, type); }

void CTitleGridView::SetColumnVariant(int column, const _variant_t& value, int type) {
    m_cells.SetCellVariant(column, 0, value, _variant_t(), type);
}

void CTitleGridView::SetRowLabel(int row, const char* text) { m_cells.SetCellText(0, row, text, 0); }

int CTitleGridView::GetStyle() const {
    if (m_style != -1) return m_style;
    if (!m_titleMode) return STYLE_HEADER;
    return m_horizontal ? STYLE_HORIZONTAL_TITLE1 : STYLE_VERTICAL_TITLE1;
}

TGridColumn* CTitleGridView::CreateColumn(int column) {
    const VECTOR_CELL_DATA* label = m_cells.GetCellUnsafe(column, 0);
    return CreateGridColumn(label ? label->tag : COLUMN_TYPE_TEXT);
}

void CTitleGridView::Draw(GRID_DEVICE& device, const CELL_INFO& info) {
    TStyleScope scope(device, GetStyle());
    if (!m_titleMode) {
        m_cells.Draw(device, info);
        return;
    }
    // One merged cell over the docked view; nothing before it is docked.
    if (!m_docked) return;
    const CELL_COORD size = m_docked->GetSize();
    const CELL_RANGE range = m_horizontal ? CELL_RANGE(0, 0, size.column, 1) : CELL_RANGE(0, 0, 1, size.row);
    // A pass over other cells (the body under a frozen title) must not get
    // the title: it would paint it over the body's first row.
    if (info.range.IsEmpty() || !range.Intersects(info.range)) return;
    CELL_CONTENT content;
    if (const VECTOR_CELL_DATA* cell = m_cells.GetCellUnsafe(0, 0)) CVectorGridView::FillElement(*cell, content.middle);
    device.RenderRange(range, content);
}
