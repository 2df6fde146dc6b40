// A render pass that turns what a view shows into plain text: one string per
// cell of the view's size (a merged cell's text in its first cell), written
// out by Serialize with a tab between cells and one line per row, for the
// clipboard or a text file. It keeps its own copy of the size; cells outside
// it are ignored. The region (cell units, may be null for every cell) is the
// caller's. GUI thread only.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "grid/grid_device.h"
#include "wendrel_export.h"

class WENDREL_API TTextDevice : public GRID_DEVICE {
public:
    TTextDevice(const CELL_COORD& size, HRGN region);
    TTextDevice(const TTextDevice&) = default;
    TTextDevice& operator=(const TTextDevice&) = default;
    ~TTextDevice() override = default;

    const CELL_COORD& GetSize() const { return m_size; }
    const std::string& GetString(const CELL_COORD& cell) const;
    // The smallest range holding every cell that received text; unset while none did.
    const CELL_RANGE& GetUsedRange() const { return m_used; }
    // The used range, rows on lines, cells separated by tabs; nothing after the last row.
    void Serialize(std::ostream& out) const;

protected:
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

private:
    std::string& GetStringV(const CELL_COORD& cell);
    bool Holds(const CELL_COORD& cell) const;

    CELL_COORD m_size;
    std::vector<std::string> m_strings;   // column by column: (x, y) at x * rows + y
    HRGN m_region;
    std::string m_separator = "\t";
    CELL_RANGE m_used;
};
