#include "grid/grid_view.h"

#include <stdexcept>

#include "grid/grid_column.h"

void ThrowBitsetPosition() { throw std::out_of_range("invalid bitset<N> position"); }

CDefGridView::~CDefGridView() = default;

void CDefGridView::FireOnChange() {
    // A sink may unsubscribe while it is told: walk a copy.
    const std::vector<CDefGridViewSink*> sinks = m_sinks;
    for (CDefGridViewSink* sink : sinks) sink->OnChange(nullptr);
}

CDefGridDecoratorImpl::~CDefGridDecoratorImpl() = default;

CDefGridViewImpl::CDefGridViewImpl() {
    m_caps.set(CAP_VALUE_ROWS);
    m_caps.set(CAP_SORTABLE);
    m_caps.reset(CAP_SELF_FILTER);
    m_caps.set(CAP_NATURAL_ORDER);
}

TGridColumn* CDefGridViewImpl::CreateColumn(int) { return CreateGridColumn(COLUMN_TYPE_TEXT); }

void CDefGridViewImpl::GetActiveRange(CELL_RANGE& range) const {
    const CELL_COORD size = GetSize();
    range = CELL_RANGE(0, 0, size.column, size.row);
}

bool CDefGridViewImpl::SetCapability(int bit, bool on) {
    if (unsigned(bit) >= m_caps.size()) ThrowBitsetPosition();
    m_caps.set(size_t(bit), on);
    return on;
}

bool CDefGridViewImpl::CapableOf(int bit) const {
    if (unsigned(bit) >= m_caps.size()) ThrowBitsetPosition();
    return m_caps.test(size_t(bit));
}

void CDefGridViewImpl::BuildHierarchy(TGridHierarchyBuilder& builder, bool) {
    const int rows = GetSize().row;
    const int data = GetCapabilityWord();
    for (int i = 0; i < rows; ++i) builder.Enter(builder.offset + i, data);
}
