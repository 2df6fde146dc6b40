// The grid's own mouse tools: resize a column by its right edge, sort by a
// header element, drag the body by hand, click a cell's command element, and
// select rows or cells, expand or collapse a tree row or level. Tools copy by value; a select tool's copy takes its
// anchor region. The tool factory (CDefGridCtrl::ChooseTool) makes them.
#pragma once

#include "grid/grid_content.h"
#include "grid/grid_geometry.h"
#include "grid/grid_owner.h"
#include "gridwnd/grid_tool.h"

class IPlusElement;

class WENDREL_API CColumnTool : public CDefGridTool {
public:
    CColumnTool(CDefGridCtrl* grid, int column) : CDefGridTool(grid), m_column(column) {}
    int GetColumn() const { return m_column; }

protected:
    int m_column;
};

class WENDREL_API CResizeTool : public CColumnTool {
public:
    CResizeTool(CDefGridCtrl* grid, int column);
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point, CPoint pressPoint) override;
    bool OnLButtonDblClk(UINT flags, CPoint point) override;
    // Left narrows and Right widens by 5 pixels; nothing else, no scrolling.
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void ResizeSelectedColumn(int delta);

private:
    CPoint m_last{0, 0};
};

class WENDREL_API CSortTool : public CColumnTool {
public:
    CSortTool(CDefGridCtrl* grid, int column);
    void OnLButtonDown(UINT flags, CPoint point) override;
};

class WENDREL_API CHandTool : public CDefGridTool {
public:
    explicit CHandTool(CDefGridCtrl* grid);
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point, CPoint pressPoint) override;

private:
    CPoint m_last{0, 0};
};

class WENDREL_API CCellClickTool : public CDefGridTool {
public:
    CCellClickTool(CDefGridCtrl* grid, const CELL_RANGE& cell, IGridElement* element);
    bool NeedCapture() const override { return false; }
    void OnLButtonDown(UINT flags, CPoint point) override;
    const CELL_RANGE& GetCell() const { return m_cell; }
    IGridElement* GetElement() const { return m_element; }

private:
    CELL_RANGE m_cell;
    IGridElement* m_element;
};

// A tree glyph (level -1: the row at the top of the element's view range) or
// a level button of the corner cell; a press flips what it shows.
class WENDREL_API CExpandTool : public CDefGridTool {
public:
    // From a hit whose element is the decorator's IPlusElement.
    CExpandTool(CDefGridCtrl* grid, IPlusElement* element, const HITTEST_RESULT& hit);
    void OnLButtonDown(UINT flags, CPoint point) override;
    IPlusElement* GetElement() const { return m_element; }
    const CELL_RANGE& GetElementViewRange() const { return m_elementViewRange; }
    int GetLevel() const { return m_level; }

private:
    IPlusElement* m_element;
    CELL_RANGE m_elementViewRange;
    int m_level;
};

class WENDREL_API CRowSelectTool : public CDefGridTool {
public:
    CRowSelectTool(CDefGridCtrl* grid, bool extension);
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point, CPoint pressPoint) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void ReflectRowChange(int row, bool keep, bool extend);
    int GetAnchorRow() const { return m_anchor; }

private:
    int RowAt(CPoint point) const;

    int m_anchor = GRID_UNSET;
    bool m_extension;
};

class WENDREL_API CSelectTool : public CDefGridTool {
public:
    CSelectTool(CDefGridCtrl* grid, bool headerClick);
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point, CPoint pressPoint) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    bool OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnTimer(UINT_PTR id) override;

    void Anchor(const CELL_COORD& cell, bool keep);
    void ReflectRange(const CELL_COORD& cell, UINT flags);
    // flags bit 0: combine with the anchor region; bit 2 with it: remove the
    // range when all of it but the focus cell is selected, else add it.
    void SelectRange(const CELL_RANGE& range, UINT flags);
    bool ClickOnHeader(CPoint point);

private:
    CELL_COORD HitActive(CPoint point) const;

    bool m_headerClick;
    CELL_COORD m_anchor;
    TGdiHandle<HRGN> m_anchorRegion;
};
