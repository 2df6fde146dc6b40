#include "grid/grid_text_device.h"

#include <algorithm>

TTextDevice::TTextDevice(const CELL_COORD& size, HRGN region)
    : m_size(std::max(size.column, 0), std::max(size.row, 0)),
      m_strings(size_t(m_size.column) * size_t(m_size.row)),
      m_region(region) {}

bool TTextDevice::Holds(const CELL_COORD& c) const {
    return c.column >= 0 && c.column < m_size.column && c.row >= 0 && c.row < m_size.row;
}

const std::string& TTextDevice::GetString(const CELL_COORD& c) const {
    static const std::string empty;
    return Holds(c) ? m_strings[size_t(c.column) * size_t(m_size.row) + size_t(c.row)] : empty;
}

std::string& TTextDevice::GetStringV(const CELL_COORD& c) {
    return m_strings[size_t(c.column) * size_t(m_size.row) + size_t(c.row)];
}

void TTextDevice::DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    if (m_region) {
        RECT r = {gridRange.left, gridRange.top, gridRange.right, gridRange.bottom};
        if (!::RectInRegion(m_region, &r)) return;
    }
    if (!content.middle.text) return;
    const CELL_COORD first(gridRange.left, gridRange.top);
    if (!Holds(first)) return;
    GetStringV(first) = content.middle.text;
    const CELL_RANGE inside(gridRange.left, gridRange.top, std::min(gridRange.right, m_size.column),
                            std::min(gridRange.bottom, m_size.row));
    if (m_used.IsUnset()) {
        m_used = inside;
    } else {
        m_used.left = std::min(m_used.left, inside.left);
        m_used.top = std::min(m_used.top, inside.top);
        m_used.right = std::max(m_used.right, inside.right);
        m_used.bottom = std::max(m_used.bottom, inside.bottom);
    }
}

void TTextDevice::Serialize(std::ostream& out) const {
    if (m_used.IsUnset() || m_used.bottom <= m_used.top) return;
    for (int y = m_used.top; y < m_used.bottom; ++y) {
        if (y != m_used.top) out << std::endl;
        for (int x = m_used.left; x < m_used.right; ++x) {
            if (x != m_used.left) out << m_separator;
            out << GetString(CELL_COORD(x, y));
        }
    }
}
