#include "grid/grid_border.h"

#include <algorithm>

#include "grid/grid_device.h"

CELL_COORD CBorderDecorator::SizeOf(const TOwnPtr<CDefGridView>& view) {
    return view ? view->GetSize() : CELL_COORD(0, 0);
}

void CBorderDecorator::SetBorderView(int element, CDefGridView* view) {
    TOwnPtr<CDefGridView>* slot = nullptr;
    CDefGridView* dock = nullptr;
    switch (element) {
    case GRID_ELEMENT_HEADER: slot = &m_header; dock = m_centre.Get(); break;
    case GRID_ELEMENT_FOOTER: slot = &m_footer; dock = m_centre.Get(); break;
    case GRID_ELEMENT_LEFT: slot = &m_left; dock = this; break;
    case GRID_ELEMENT_RIGHT: slot = &m_right; dock = this; break;
    default: return;
    }
    slot->Reset(view);
    if (view) view->DockTo(dock);
}

TGridColumn* CBorderDecorator::CreateColumn(int column) {
    return m_header ? m_header->CreateColumn(column - GetLeftSize().column) : nullptr;
}

CELL_COORD CBorderDecorator::GetSize() const {
    const CELL_COORD centre = SizeOf(m_centre), header = GetHeaderSize(), footer = GetFooterSize();
    const int middle = std::max({centre.column, header.column, footer.column});
    return CELL_COORD(GetLeftSize().column + GetRightSize().column + middle, header.row + centre.row + footer.row);
}

void CBorderDecorator::GetActiveRange(CELL_RANGE& range) const {
    const CELL_COORD lt = GetLeftTop();
    m_centre->GetActiveRange(range);
    range.left += lt.column;
    range.right += lt.column;
    range.top += lt.row;
    range.bottom += lt.row;
    if (range.bottom <= range.top) {
        range.left = 0;
        range.right = GetSize().column;
    }
}

bool CBorderDecorator::Sort(int column, TRowComparator* comparator) {
    // The natural order (unset column) stays unset.
    return m_centre->Sort(column == GRID_UNSET ? column : column - GetLeftSize().column, comparator);
}

void CBorderDecorator::RenderSubView(GRID_DEVICE& device, const CELL_INFO& info, CDefGridView* view,
                                     const CELL_COORD& size, const CELL_COORD& origin) {
    const CELL_RANGE& r = info.range;
    if (!view || r.IsUnset()) return;
    const CELL_RANGE clipped(std::max(r.left - origin.column, 0), std::max(r.top - origin.row, 0),
                             std::min(r.right - origin.column, size.column), std::min(r.bottom - origin.row, size.row));
    TCellMapShift shift(device, origin);
    view->Draw(device, CELL_INFO(clipped));
}

void CBorderDecorator::Draw(GRID_DEVICE& device, const CELL_INFO& info) {
    const CELL_COORD lt = GetLeftTop();
    const CELL_COORD centre = SizeOf(m_centre);
    RenderSubView(device, info, m_centre.Get(), centre, lt);
    RenderSubView(device, info, m_header.Get(), GetHeaderSize(), CELL_COORD(lt.column, 0));
    RenderSubView(device, info, m_footer.Get(), GetFooterSize(), CELL_COORD(lt.column, lt.row + centre.row));
    RenderSubView(device, info, m_left.Get(), GetLeftSize(), CELL_COORD(0, lt.row));
    RenderSubView(device, info, m_right.Get(), GetRightSize(), CELL_COORD(lt.column + centre.column, lt.row));
}

void CBorderDecorator::BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) {
    TBuilderScope scope(builder);
    const int headerRows = GetHeaderSize().row;
    if (headerRows > 0) {
        m_header->BuildHierarchy(builder, tree);
        builder.parent = builder.offset;
    }
    builder.offset += headerRows;
    m_centre->BuildHierarchy(builder, tree);
    builder.offset += SizeOf(m_centre).row;
    if (m_footer) m_footer->BuildHierarchy(builder, tree);
}

std::vector<int>::iterator CBorderDecorator::IndexRows(bool store, std::vector<int>::iterator it) {
    if (m_header) it = m_header->IndexRows(store, it);
    it = m_centre->IndexRows(store, it);
    if (m_footer) it = m_footer->IndexRows(store, it);
    return it;
}
