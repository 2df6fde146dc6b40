// The drawing pass: paints cells into a DC in image coordinates (the
// constructor moves the DC's viewport origin to the image origin unless told
// to keep it, and the destructor puts it back), choosing each cell's colours
// from its style, the selection region, the focus cell and the row's visible
// position; with the measuring flag set it instead stretches row heights to
// fit the cells. It owns its grid-line pen and the dot pattern of the tree
// lines; the selection region is the caller's. GUI thread only.
#pragma once

#include <optional>

#include "grid/grid_graphic.h"
#include "wendrel_export.h"

class DRAW_DEVICE;

// Draws one cell: the style's font and the cell's colours are in force from
// construction to destruction, drawing is clipped to the cell's client
// rectangle where it could leave it.
class WENDREL_API TDrawCanvas : public ICellCanvas {
public:
    TDrawCanvas(DRAW_DEVICE& device, COLORREF bk, COLORREF text, HBRUSH brush, const RECT* clip);
    TDrawCanvas(const TDrawCanvas&) = delete;
    TDrawCanvas& operator=(const TDrawCanvas&) = delete;
    ~TDrawCanvas() override;

    void FillBackground(const RECT& rect) override;
    void DrawImage(int index, const RECT& rect) override;
    void DrawText(const char* text, int left, int top, int right, int bottom) override;
    void DrawButton(const RECT& rect, int kind, UINT state, int image) override;
    void DrawHorizontalLine(int x1, int x2, int y) override;
    void DrawVerticalLine(int x, int y1, int y2) override;
    void DrawTreeLine(int x, int y1, int x2, int y2) override;

private:
    // Clips the DC to the cell once something may draw outside it.
    void EnsureClip();

    DRAW_DEVICE& m_device;
    HDC m_dc;
    HBRUSH m_brush;
    COLORREF m_bk;
    COLORREF m_oldText;
    COLORREF m_oldBk;
    bool m_hasClip;
    RECT m_clip;
    bool m_clipped = false;
    int m_hadClipRegion = 0;
};

class WENDREL_API DRAW_DEVICE : public GRAPHIC_DEVICE {
public:
    DRAW_DEVICE(HDC dc, const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles, bool keepViewport);
    ~DRAW_DEVICE() override;

    bool Measurement() const override { return m_measuring; }
    ICellCanvas& GetCellCanvas(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, bool clip) override;
    void ReleaseCellCanvas(ICellCanvas& canvas) override;
    void HorizontalGridLine(int row, int x1, int x2, int y) override;
    void VerticalGridLine(int column, int x, int y1, int y2) override;
    long MeasureElement(const CELL_ELEMENT& element, int width) override;
    virtual void HorizontalLine(int x1, int x2, int y);
    virtual void VerticalLine(int x, int y1, int y2);
    virtual void Rectangle(const RECT& rect);

    // Cells in the region (cell units) are drawn as selected; not owned.
    void SetSelection(HRGN region) { m_selection = region; }
    void SetMeasuring(bool on) { m_measuring = on; }
    void SetFocusCell(const CELL_COORD& cell) { m_focus = cell; }
    // Whether the focused cell takes the focus colours.
    void ShowFocus(bool on) { m_focusColors = on; }
    // Selected cells in the selection colours (true) or the inactive ones.
    void SetActiveSelection(bool on) { m_activeSelection = on; }

    // The checkerboard brush of the tree lines, made on first use.
    HBRUSH GetPatternBrush();

private:
    HRGN m_selection = nullptr;
    bool m_measuring = false;
    bool m_keepViewport;
    CELL_COORD m_focus;
    bool m_focusColors = false;
    bool m_activeSelection = true;
    POINT m_savedOrigin = {0, 0};
    TGdiHandle<HPEN> m_pen;
    TGdiHandle<HBITMAP> m_pattern;
    TGdiHandle<HBRUSH> m_patternBrush;
    std::optional<TDrawCanvas> m_canvas;

    friend class TDrawCanvas;
    // Holds the DC's clip region while a canvas clips; made once.
    TGdiHandle<HRGN> m_savedClip;
};
