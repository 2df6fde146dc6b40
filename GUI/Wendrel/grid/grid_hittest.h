// The hit-test pass: finds the cell, the clickable element, the text (for a
// tool tip) and the column edge under a point, by laying the cells out
// exactly as the drawing pass does. Works on the screen DC. The result
// record is the caller's, attached before the pass. GUI thread only.
#pragma once

#include "grid/grid_graphic.h"
#include "wendrel_export.h"

class HITTEST_DEVICE;

// The canvas of the cell under the point: tests images, buttons and texts.
class WENDREL_API THittestCanvas : public ICellCanvas {
public:
    explicit THittestCanvas(HITTEST_DEVICE& device) : m_device(device) {}
    void SetElement(const CELL_ELEMENT& element) override { m_element = &element; }
    void EndCell(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange) override;
    void DrawImage(int index, const RECT& rect) override;
    void DrawText(const char* text, int left, int top, int right, int bottom) override;
    void DrawButton(const RECT& rect, int kind, UINT state, int image) override;

private:
    void TestElement(const RECT& rect);

    HITTEST_DEVICE& m_device;
    const CELL_ELEMENT* m_element = nullptr;
    bool m_hit = false;
};

class WENDREL_API HITTEST_DEVICE : public GRAPHIC_DEVICE {
public:
    // point: in window coordinates.
    HITTEST_DEVICE(const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles, CPoint point);

    void SetResult(HITTEST_RESULT* result) { m_result = result; }
    HITTEST_RESULT* GetResult() const { return m_result; }
    // The point in image coordinates.
    CPoint GetPoint() const { return m_point; }

    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;
    ICellCanvas& GetCellCanvas(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, bool clip) override;
    void ReleaseCellCanvas(ICellCanvas&) override {}
    void HorizontalGridLine(int, int, int, int) override {}
    // Reports the column whose right edge lies within 3 pixels of the point.
    void VerticalGridLine(int column, int x, int y1, int y2) override;

private:
    HITTEST_RESULT* m_result = nullptr;
    CPoint m_point;
    ICellCanvas m_plain;
    THittestCanvas m_canvas;
};
