#include "grid/grid_device.h"

#include <algorithm>

bool RegionMeetsRange(HRGN region, const CELL_RANGE& range) {
    if (!region || range.IsEmpty()) return false;
    RECT r = {range.left, range.top, range.right, range.bottom};
    return ::RectInRegion(region, &r) != FALSE;
}

bool RegionHoldsCell(HRGN region, int column, int row) {
    return region && ::PtInRegion(region, column, row) != FALSE;
}

// ---------------------------------------------------------------- TRowMask

bool TRowMask::IsShown(int pos) const {
    if (pos < 0 || pos >= GetCount() || !shown) return false;
    const int id = RowIdAt(pos);
    return id >= 0 && size_t(id) < shown->size() && (*shown)[size_t(id)];
}

int TRowMask::ShownBefore(int pos) const {
    if (pos <= 0) return 0;
    if (pos >= GetCount()) return total;
    return entries[size_t(pos)].before;
}

void TRowMask::Rebuild(int rowCount) {
    entries.assign(rowCount > 0 ? size_t(rowCount) : 0, Entry());
    int count = 0;
    for (int p = 0; p < rowCount; ++p) {
        Entry& e = entries[size_t(p)];
        e.before = count;
        if (IsShown(p)) ++count;
        e.last = count - 1;
    }
    total = count;
}

// ---------------------------------------------------------------- GRID_DEVICE

GRID_DEVICE::~GRID_DEVICE() = default;

bool GRID_DEVICE::BeginRow(int row) { return !m_mask || m_mask->IsShown(row + m_map.row); }

const TRowMask* GRID_DEVICE::SetFilter(const TRowMask* mask) {
    const TRowMask* previous = m_mask;
    m_mask = mask;
    return previous;
}

void GRID_DEVICE::RenderRange(const CELL_RANGE& range, CELL_CONTENT& content) {
    if (range.IsEmpty()) return;
    const CELL_RANGE grid(range.left + m_map.column, range.top + m_map.row, range.right + m_map.column,
                          range.bottom + m_map.row);
    if (IsRowRangeVisible(grid.top, grid.bottom)) DoRenderRange(range, grid, content);
}

void GRID_DEVICE::Unadvise(IDeviceSink* sink) {
    auto it = std::find(m_sinks.begin(), m_sinks.end(), sink);
    if (it != m_sinks.end()) m_sinks.erase(it);
}

void GRID_DEVICE::CallSinks(const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    for (IDeviceSink* sink : m_sinks) sink->BeforeRenderRange(gridRange, content);
}

CELL_COORD GRID_DEVICE::Offset(const CELL_COORD& d) {
    m_map.column += d.column;
    m_map.row += d.row;
    return CELL_COORD(-d.column, -d.row);
}

int GRID_DEVICE::SetStyleIndex(int index) {
    const int previous = m_style;
    m_style = index;
    return previous;
}

bool GRID_DEVICE::IsRowVisible(int row) const { return !m_mask || m_mask->IsShown(row); }

bool GRID_DEVICE::IsRowRangeVisible(int top, int bottom) const {
    if (!m_mask) return true;
    if (bottom <= top) return false;
    return m_mask->ShownBefore(bottom) > m_mask->ShownBefore(top);
}

int GRID_DEVICE::AbsToVisible(int row) const { return m_mask ? m_mask->ShownBefore(row) : row; }

CELL_RANGE GRID_DEVICE::AbsToVisible(const CELL_RANGE& range) const {
    if (!m_mask) return range;
    const int last = range.bottom - 1;
    const int lastShown = last < 0 ? -1 : (last >= m_mask->GetCount() ? m_mask->total - 1 : m_mask->entries[size_t(last)].last);
    return CELL_RANGE(range.left, m_mask->ShownBefore(range.top), range.right, lastShown + 1);
}

// ---------------------------------------------------------------- small devices

void TCellTestDevice::DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT&) {
    if (!m_result || !gridRange.Contains(m_target)) return;
    m_result->viewRange = viewRange;
    m_result->cell = gridRange;
    m_result->style = m_style;
}

void TColumnTestDevice::DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    if (!content.middle.HasText()) return;
    const int right = std::min(gridRange.right, m_image.GetColumnCount());
    for (int c = std::max(gridRange.left, 0); c < right; ++c) m_image.GetColumnVar(c).state &= ~COLUMN_STATE_EMPTY;
}

THighlightDevice::THighlightDevice(int mode, const CELL_IMAGE& image, HRGN region)
    : m_mode(mode), m_region(region), m_image(image), m_wholeColumn(true) {}

THighlightDevice::THighlightDevice(const std::vector<int>& styles, const CELL_IMAGE& image, HRGN region)
    : m_mode(GROW_REGION), m_region(region), m_image(image), m_styles(styles), m_wholeColumn(false) {}

bool THighlightDevice::Considers(int style) const {
    if (m_styles.empty()) return style == 0;
    return std::find(m_styles.begin(), m_styles.end(), style) != m_styles.end();
}

void THighlightDevice::AddToRegion(const CELL_RANGE& r) {
    HRGN add = ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
    if (!add) return;
    ::CombineRgn(m_region, m_region, add, RGN_OR);
    ::DeleteObject(add);
}

void THighlightDevice::DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT&) {
    if (!m_region || !Considers(m_style)) return;
    if (m_mode == MARK_COLUMNS) {
        const bool meets = RegionMeetsRange(m_region, gridRange);
        const int right = std::min(gridRange.right, m_image.GetColumnCount());
        for (int c = std::max(gridRange.left, 0); c < right; ++c) {
            COLUMN_INFO& col = m_image.GetColumnVar(c);
            if (RegionHoldsCell(m_region, c, 0)) col.state |= COLUMN_STATE_SELECTED;
            if (meets) col.state |= COLUMN_STATE_PARTIAL;
        }
    } else if (m_wholeColumn) {
        for (int c = gridRange.left; c < gridRange.right; ++c)
            if (RegionHoldsCell(m_region, c, 0)) AddToRegion(CELL_RANGE(c, gridRange.top, c + 1, gridRange.bottom));
    } else {
        AddToRegion(gridRange);
    }
}

void TCollectDevice::DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT&) {
    if (!RegionMeetsRange(m_region, gridRange)) return;
    if (std::find(m_out.begin(), m_out.end(), m_style) == m_out.end()) m_out.push_back(m_style);
}
