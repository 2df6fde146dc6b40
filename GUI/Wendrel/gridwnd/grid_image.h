// The laid-out image of a grid: the column and row layout, the selection
// region (in cell units: cell (c, r) is the rectangle (c, r, c+1, r+1)) and
// the shared style table. The grid window and the printing image build on it.
//
// Copying moves the owned view and the owned region to the copy (the source
// keeps its handles but no longer deletes them), copies the layout and
// shares the style table. GUI thread only.
#pragma once

#include <vector>

#include "grid/grid_device.h"
#include "grid/grid_geometry.h"
#include "grid/grid_owner.h"
#include "grid/grid_style.h"
#include "grid/grid_view.h"
#include "wendrel_export.h"

class WENDREL_API CDefGridImage : public IDeviceSink {
public:
    CDefGridImage();
    CDefGridImage(const CDefGridImage& src);
    CDefGridImage& operator=(const CDefGridImage& src);
    virtual ~CDefGridImage();

    const std::vector<COLUMN_INFO>& GetColumns() const { return m_layout.columns; }
    const std::vector<ROW_INFO>& GetRows() const { return m_layout.rows; }
    int GetColumnCount() const { return int(m_layout.columns.size()); }
    int GetRowCount() const { return int(m_layout.rows.size()); }
    COLUMN_INFO& GetColumnVar(int i) { return m_layout.columns[size_t(i)]; }
    ROW_INFO& GetRowVar(int i) { return m_layout.rows[size_t(i)]; }

    HRGN GetSelection() const { return m_selection.Get(); }
    // Takes the region; the previous one is deleted when owned and different.
    virtual void Select(HRGN region);

    CELL_RANGE GetOverallRange() const { return CELL_RANGE(0, 0, GetColumnCount(), GetRowCount()); }
    // All columns and rows at origin (0, 0).
    CELL_IMAGE GetOverallImage();

    const CELL_STYLE_TABLE& GetStyles() const { return m_styles; }
    void SetStyles(const CELL_STYLE_TABLE& styles) { m_styles = styles; }
    // The font of the page style (null without one).
    HFONT GetLabelFont() const;

    // Lays columns [first, last) side by side from start; their total width.
    int CalculateColumnRange(int first, int last, int start);
    // Lays rows [first, last) one under the other from 0; their total height.
    int CalculateRowRange(int first, int last);

    void BeforeRenderRange(const CELL_RANGE&, CELL_CONTENT&) override {}

protected:
    TOwnPtr<CDefGridView> m_imageView{nullptr, false};  // the printing image's view; empty in the window
    CELL_LAYOUT m_layout;
    TGdiHandle<HRGN> m_selection;
    CELL_STYLE_TABLE m_styles;
};
