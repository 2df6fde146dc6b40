// The base of the grid's mouse tools: the grid window hands every press,
// move (while captured), release, double click, key and timer to its current
// tool. The base scrolls by the navigation keys and does nothing else.
#pragma once

#include <string>

#include "afxwin.h"
#include "wendrel_export.h"

class CDefGridCtrl;

class WENDREL_API CDefGridTool {
public:
    explicit CDefGridTool(CDefGridCtrl* grid);
    CDefGridTool(const CDefGridTool&) = default;
    CDefGridTool& operator=(const CDefGridTool&) = default;
    virtual ~CDefGridTool();

    virtual bool NeedCapture() const { return true; }
    virtual void OnMouseHover(UINT, bool) {}
    virtual void OnLButtonDown(UINT, CPoint) {}
    virtual void OnMouseMove(UINT, CPoint, CPoint) {}
    virtual void OnLButtonUp(UINT, CPoint) {}
    virtual bool OnLButtonDblClk(UINT, CPoint) { return false; }
    virtual void OnRButtonDown(UINT, CPoint) {}
    virtual void OnRButtonUp(UINT, CPoint) {}
    // Page Up/Down, Home, End and the arrows scroll the grid.
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnTimer(UINT_PTR) {}
    // Below 32000 a cursor of the library, else a system cursor.
    virtual HCURSOR GetCursor(bool captured) const;

    // captured 0: the same as normal.
    void SetCursors(UINT normal, UINT captured);
    CDefGridCtrl* GetGrid() const { return m_grid; }
    const std::string& GetKindName() const { return m_kind; }
    void SetKindName(const std::string& kind) { m_kind = kind; }

protected:
    CDefGridCtrl* m_grid;
    std::string m_kind;
    UINT m_cursor = 135;
    UINT m_capturedCursor = 135;
};
