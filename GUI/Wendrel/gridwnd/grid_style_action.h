// A change of one aspect of the look of the selected part of a grid:
// alignment, font, text colour, background colour or word wrap. The console
// derives its concrete actions; CDefGridCtrl::ApplyAction decides whether the
// change lands on whole columns (each keeping a style of its own) or on the
// shared styles of the selected cells.
#pragma once

#include "grid/grid_geometry.h"
#include "grid/grid_style.h"
#include "wendrel_export.h"

enum GRAPHIC_STYLE_ASPECT {
    ASPECT_ALIGNMENT = 0,
    ASPECT_FONT = 1,
    ASPECT_TEXT_COLOR = 2,
    ASPECT_BK_COLOR = 3,
    ASPECT_WRAP = 4,
};

class WENDREL_API TStyleAction {
public:
    explicit TStyleAction(GRAPHIC_STYLE_ASPECT aspect) : m_aspect(aspect) {}
    TStyleAction(const TStyleAction&) = default;
    TStyleAction& operator=(const TStyleAction&) = default;
    virtual ~TStyleAction();

    // Reads the aspect's value from a style; false stops a collection run.
    virtual bool CollectFromStyle(const GRAPHIC_CELL_STYLE&) { return false; }
    // Lets the user choose the new value; false cancels.
    virtual bool ShowDialog() { return true; }
    virtual void ApplyToStyle(GRAPHIC_CELL_STYLE& style) = 0;
    // True when a and b agree in the aspect.
    virtual bool CompareStyles(const GRAPHIC_CELL_STYLE& a, const GRAPHIC_CELL_STYLE& b) = 0;
    virtual void CopyAspect(GRAPHIC_CELL_STYLE& target, const GRAPHIC_CELL_STYLE& source) = 0;

    GRAPHIC_STYLE_ASPECT GetAspect() const { return m_aspect; }

    // Column helpers; an aspect above 4 throws the bitset position error.
    // All but CollectFromColumn expect the column to have its own style.
    bool CollectFromColumn(COLUMN_INFO& column);
    void ApplyToColumn(COLUMN_INFO& column);
    void CheckColumnEqual(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& reference);
    void SynchronizeColumn(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& reference);
    void CopyStyleToColumn(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& source);
    void ValidateAspect(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& reference) const;

protected:
    // The aspect as a bit position, checked.
    size_t Bit() const;

    GRAPHIC_STYLE_ASPECT m_aspect;
};
