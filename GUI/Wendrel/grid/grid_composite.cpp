#include "grid/grid_composite.h"

#include <algorithm>
#include <numeric>

#include "grid/grid_comparator.h"
#include "grid/grid_device.h"

CCompositeGridView::~CCompositeGridView() = default;

void CCompositeGridView::InsertView(unsigned i, CDefGridView* view) {
    Child child;
    child.view.reset(view);
    m_children.insert(m_children.begin() + std::min<size_t>(i, m_children.size()), std::move(child));
    if (view) view->DockTo(this);
    Invalidate();
}

CDefGridView* CCompositeGridView::SetView(unsigned i, CDefGridView* view) {
    Child& child = m_children.at(i);
    CDefGridView* previous = child.view.release();
    child.view.reset(view);
    child.first = GRID_UNSET;
    child.count = -1;
    Invalidate();
    return previous;
}

void CCompositeGridView::DeleteView(unsigned i) {
    if (i >= m_children.size()) return;
    m_children.erase(m_children.begin() + i);
    Invalidate();
}

void CCompositeGridView::DeleteAllViews() {
    m_children.clear();
    Invalidate();
}

void CCompositeGridView::RecalcLayout() const {
    if (!m_dirty) return;
    int sum = 0, width = 0;
    for (Child& child : m_children) {
        const CELL_COORD size = child.view ? child.view->GetSize() : CELL_COORD(0, 0);
        child.first = sum;
        child.count = size.row;
        sum += size.row;
        width = std::max(width, size.column);
    }
    m_width = width;
    m_dirty = false;
}

CELL_COORD CCompositeGridView::GetSize() const {
    RecalcLayout();
    if (m_children.empty()) return CELL_COORD(m_width, 0);
    const Child& last = m_children.back();
    return CELL_COORD(m_width, last.first + last.count);
}

void CCompositeGridView::GetViewRange(unsigned i, CELL_RANGE& range) const {
    RecalcLayout();
    const Child& child = m_children.at(i);
    range = CELL_RANGE(0, child.first, m_width, child.first + child.count);
}

void CCompositeGridView::GetActiveRange(unsigned i, CELL_RANGE& range) const {
    RecalcLayout();
    const Child& child = m_children.at(i);
    child.view->GetActiveRange(range);
    range.top += child.first;
    range.bottom += child.first;
}

void CCompositeGridView::Draw(GRID_DEVICE& device, const CELL_INFO& info) {
    RecalcLayout();
    const CELL_RANGE& r = info.range;
    if (r.IsUnset()) return;
    for (const Child& child : m_children) {
        if (!child.view || !(child.first < r.bottom && child.first + child.count > r.top)) continue;
        const CELL_INFO part(CELL_RANGE(r.left, std::max(0, r.top - child.first), r.right,
                                        std::min(child.count, r.bottom - child.first)));
        TCellMapShift shift(device, CELL_COORD(0, child.first));
        child.view->Draw(device, part);
    }
}

bool CCompositeGridView::Sort(int column, TRowComparator* comparator) {
    if (!comparator || !comparator->CanCompare()) return false;
    // Groups by their views' IDs (unset first), then each inside.
    std::vector<int> ids(m_children.size());
    for (size_t i = 0; i < m_children.size(); ++i) ids[i] = m_children[i].view ? m_children[i].view->GetID() : GRID_UNSET;
    std::vector<size_t> order(m_children.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return RowIdLess(*comparator, ids[a], ids[b]); });
    std::vector<Child> sorted;
    sorted.reserve(m_children.size());
    for (size_t i : order) sorted.push_back(std::move(m_children[i]));
    m_children.swap(sorted);
    bool any = false;
    for (Child& child : m_children)
        if (child.view && child.view->Sort(column, comparator)) any = true;
    Invalidate();
    return any;
}

void CCompositeGridView::BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) {
    // The children's first rows must be known before they enter their rows.
    RecalcLayout();
    for (const Child& child : m_children) {
        if (!child.view) continue;
        TBuilderScope scope(builder);
        builder.offset += child.first;
        child.view->BuildHierarchy(builder, tree);
    }
}

std::vector<int>::iterator CCompositeGridView::IndexRows(bool store, std::vector<int>::iterator it) {
    for (const Child& child : m_children)
        if (child.view) it = child.view->IndexRows(store, it);
    return it;
}
