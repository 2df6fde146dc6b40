// The usual header of a border decorator: a row of column labels (each
// label's tag is its column's data-type code, which chooses how the column
// sorts and filters), or in title mode one title cell spanning the width
// (or height) of the view it is docked to. The labels live in an embedded
// vector view; the docked view is not owned. Not copyable. GUI thread only.
#pragma once

#include <string>

#include "grid/grid_vector.h"
#include "wendrel_export.h"

class WENDREL_API CTitleGridView : public CDefGridViewImpl {
public:
    explicit CTitleGridView(bool horizontal = true);
    CTitleGridView(const CTitleGridView&) = delete;
    CTitleGridView& operator=(const CTitleGridView&) = delete;
    ~CTitleGridView() override = default;

    void SetTitleMode(bool on) { m_titleMode = on; }
    bool IsTitle() const { return m_titleMode; }
    // Cell (0, 0) with the text, tag 0; title mode on.
    void SetTitle(const std::string& title);
    std::string GetTitle() const;
    // Cell (0, 0) to fill directly; title mode on.
    VECTOR_CELL_DATA& GetTitleCell();
    // Label of a column with its data-type code (GRID_COLUMN_TYPE).
    void SetColumnLabel(int column, const char* text, int type);
    void SetColumnVariant(int column, const _variant_t& value, int type);
    void SetRowLabel(int row, const char* text);
    int GetColumnCount() const { return m_cells.GetColumnCount(); }
    // The forced style, -1 automatic.
    void SetStyle(int style) { m_style = style; }
    // The style drawn: the forced one, else 1 for a horizontal title, 3 for a
    // vertical title, 4 for column labels.
    int GetStyle() const;

    CELL_COORD GetSize() const override { return m_cells.GetSize(); }
    std::vector<int>::iterator IndexRows(bool store, std::vector<int>::iterator it) override {
        return m_cells.IndexRows(store, it);
    }
    // The ID of the labels' first row.
    int GetID() override { return m_cells.GetRowID(0); }
    // A column object of the type in the tag of the column's label.
    TGridColumn* CreateColumn(int column) override;
    void DockTo(CDefGridView* view) override { m_docked = view; }
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override;

private:
    bool m_horizontal;
    bool m_titleMode = false;
    CVectorGridView m_cells;
    DWORD m_colour = 0x83C95A;
    CDefGridView* m_docked = nullptr;
    int m_style = -1;
};
