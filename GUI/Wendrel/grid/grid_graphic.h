// The graphic base of the passes that lay cells out in pixels (drawing,
// measuring, hit testing) and the per-cell canvas interface they draw
// through. A graphic device reads a CELL_IMAGE (the layout's pixel
// positions) and the style table (a reference to the caller's vector, not
// owned); it lays each cell out as a left, a middle and a right element in
// the style's margins and hands the drawing to a canvas that lives inside
// the device and is reused for every cell.
//
// The device may select fonts into its DC while it works; it puts the DC's
// original font back when it is destroyed. A device made without a DC uses
// the screen DC and releases it when destroyed. GUI thread only; one canvas
// at a time.
#pragma once

#include <memory>
#include <vector>

#include "grid/grid_device.h"
#include "grid/grid_style.h"
#include "grid/grid_wrap.h"
#include "wendrel_export.h"

// Per-cell drawing; the base does nothing in any operation (the plain canvas
// of passes that do not draw a cell).
class WENDREL_API ICellCanvas {
public:
    virtual ~ICellCanvas();
    virtual void BeginCell(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange);
    virtual void SetElement(const CELL_ELEMENT& element);
    virtual void EndCell(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange);
    virtual void FillBackground(const RECT& rect);
    virtual void DrawImage(int index, const RECT& rect);
    virtual void DrawText(const char* text, int left, int top, int right, int bottom);
    virtual void DrawButton(const RECT& rect, int kind, UINT state, int image);
    virtual void DrawHorizontalLine(int x1, int x2, int y);
    virtual void DrawVerticalLine(int x, int y1, int y2);
    // A dotted corner line down from (x, y1) to y2, then right to x2.
    virtual void DrawTreeLine(int x, int y1, int x2, int y2);
};

// Grid-line flags of a style (its line flags word).
enum : DWORD {
    GRID_LINE_TOP = 0x20,
    GRID_LINE_BOTTOM = 0x40,
    GRID_LINE_LEFT = 0x80,
    GRID_LINE_RIGHT = 0x100,
};

class WENDREL_API GRAPHIC_DEVICE : public GRID_DEVICE {
public:
    GRAPHIC_DEVICE(HDC dc, const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles);
    GRAPHIC_DEVICE(const GRAPHIC_DEVICE&) = delete;
    GRAPHIC_DEVICE& operator=(const GRAPHIC_DEVICE&) = delete;
    ~GRAPHIC_DEVICE() override;

    // Lays the cell out in its rectangle and draws it through a canvas, or,
    // while measuring, stretches its row to its elements.
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

    virtual bool Measurement() const { return false; }
    virtual ICellCanvas& GetCellCanvas(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, bool clip) = 0;
    // Destroys a canvas handed out by GetCellCanvas.
    virtual void ReleaseCellCanvas(ICellCanvas& canvas) = 0;
    virtual void HorizontalGridLine(int row, int x1, int x2, int y);
    virtual void VerticalGridLine(int column, int x, int y1, int y2);
    // Draws the lines of flags (GRID_LINE_...) around a range; nothing while measuring.
    virtual void RenderGridLine(const CELL_RANGE& range, DWORD flags);
    // Height of an element laid out at a width.
    virtual long MeasureElement(const CELL_ELEMENT& element, int width);

    // The style of the current cell: the current column's own style when the
    // style index is 0 and the column has one, else the table's entry.
    const GRAPHIC_CELL_STYLE& GetStyle() const;
    DWORD GetFlags(int i) const;
    HFONT GetFont() const { return GetStyle().font.Get(); }
    // DrawText's rectangle of a text in the style's font and format (less
    // centring and ellipsis).
    void MeasureText(const char* text, RECT& rect);
    // Width of a text in the style's font.
    int TextWidth(const char* text);
    CSize GetControlBorderSize() const { return CSize(4, 4); }
    const CELL_IMAGE& GetCellImage() const { return m_image; }
    HDC GetDC() const { return m_dc; }
    int GetCurrentColumn() const { return m_column; }
    // Raises the column's preferred (or minimum) width, the row's height, to
    // fit content of w (h) pixels in the current style; never lowers them.
    void StretchColumn(int column, int w, bool preferred);
    void StretchRow(int row, int h);
    // Draws one element into rect: a button, or an image and a text.
    void DrawElementHelper(ICellCanvas& canvas, const RECT& rect, const CELL_ELEMENT& element);
    // Buttons: the element icons + 4; images: the cell icons + 2; else (0, 0).
    CSize GetElementSize(const CELL_ELEMENT& element) const;

    // Selects the current style's font into the DC unless the style has
    // none; the DC's own font is put back when the device is destroyed.
    void SelectStyleFont();
    // Character metrics of the font now selected, made once per font.
    const TCharMetrics& GetCharMetrics();

protected:
    // The graphic part of a render: what DoRenderRange does after the
    // sinks, for devices that call the sinks themselves.
    void RenderCell(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content);
    // Draws (or hit-tests) the grid lines of a rectangle.
    void RenderGridLine(const CELL_RANGE& range, const RECT& rect, DWORD flags);

    CELL_IMAGE m_image;
    const CELL_STYLE_VECTOR& m_styles;
    int m_column = GRID_UNSET;
    HDC m_dc;
    bool m_ownsDC;

private:
    HFONT m_originalFont = nullptr;
    HFONT m_selectedFont = nullptr;
    std::vector<std::pair<HFONT, std::unique_ptr<TCharMetrics>>> m_metrics;
};

// Releases a device's canvas at the end of a scope (also when drawing throws).
class TCanvasLease {
public:
    TCanvasLease(GRAPHIC_DEVICE& device, const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, bool clip)
        : m_device(device), m_canvas(device.GetCellCanvas(viewRange, gridRange, clip)) {}
    ~TCanvasLease() { m_device.ReleaseCellCanvas(m_canvas); }
    TCanvasLease(const TCanvasLease&) = delete;
    TCanvasLease& operator=(const TCanvasLease&) = delete;
    ICellCanvas& operator*() const { return m_canvas; }
    ICellCanvas* operator->() const { return &m_canvas; }

private:
    GRAPHIC_DEVICE& m_device;
    ICellCanvas& m_canvas;
};

// Icon size of an image list; (0, 0) without one.
WENDREL_API CSize ImageListIconSize(HIMAGELIST list);
