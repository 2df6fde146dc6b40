// The column-measuring pass: stretches each column's preferred width (or its
// minimum width) to the widest content of its one-column cells. Elements a
// decorator draws itself (tree glyphs) are measured through a canvas that
// records how far right they reach. Draws nothing. GUI thread only.
#pragma once

#include "grid/grid_draw_device.h"
#include "wendrel_export.h"

class TMeasureDevice;

// Records the largest right end of what is drawn into a one-column cell;
// when destroyed, stretches the column to it less 4.
class WENDREL_API TMeasureCanvas : public ICellCanvas {
public:
    TMeasureCanvas(TMeasureDevice& device, int column, const RECT& cell);
    ~TMeasureCanvas() override;
    TMeasureCanvas(const TMeasureCanvas&) = delete;
    TMeasureCanvas& operator=(const TMeasureCanvas&) = delete;
    void DrawImage(int, const RECT& rect) override { Reach(rect.right); }
    void DrawText(const char* text, int left, int top, int right, int bottom) override;
    void DrawButton(const RECT& rect, int, UINT, int) override { Reach(rect.right); }

private:
    void Reach(int right);

    TMeasureDevice& m_device;
    int m_column;
    RECT m_cell;
    int m_extent = 0;
};

class WENDREL_API TMeasureDevice : public DRAW_DEVICE {
public:
    // preferred: stretch the preferred widths (all cells), else the minimum
    // widths (the header cells). dc null: the screen DC.
    TMeasureDevice(HDC dc, const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles, bool preferred);

    bool IsPreferred() const { return m_preferred; }
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;
    ICellCanvas& GetCellCanvas(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, bool clip) override;
    void ReleaseCellCanvas(ICellCanvas& canvas) override;
    void HorizontalLine(int, int, int) override {}
    void VerticalLine(int, int, int) override {}
    void Rectangle(const RECT&) override {}

private:
    bool m_preferred;
    ICellCanvas m_plain;
    std::optional<TMeasureCanvas> m_canvas;
};
