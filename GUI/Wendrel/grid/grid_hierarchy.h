// The row tree of a view chain: one node per absolute row of the top view
// with its level, its children in entering order, its parent and a data word
// (the capability word of the view that entered it). Views enter their rows
// through a builder that carries the current parent row and the row offset
// of the view being entered. The filter decorator owns the trees it builds.
// GUI thread only.
#pragma once

#include <vector>

#include "grid/grid_geometry.h"
#include "wendrel_export.h"

// Flags of a node's data word.
enum : int {
    NODE_VALUE_ROW = 0x4,    // listed in value lists and filtered
    NODE_SELF_FILTER = 0x8,  // shown only when it passes the filters itself; no tree glyph
    NODE_TOP_LEVEL = 0x10,   // a vector view's top-level row of a style other than 6
};

struct TGridNode {
    int level = GRID_UNSET;      // unset: not entered
    std::vector<int> children;   // child rows in entering order
    int parent = GRID_UNSET;
    int data = 0;

    bool IsEntered() const { return level != GRID_UNSET; }
};

struct WENDREL_API TGridHierarchy {
    std::vector<TGridNode> nodes;
    int depth = 0;   // number of levels in use

    int GetRowCount() const { return int(nodes.size()); }
    bool IsRow(int row) const { return row >= 0 && size_t(row) < nodes.size(); }
    const TGridNode& operator[](int row) const { return nodes[size_t(row)]; }
};

struct WENDREL_API TGridHierarchyBuilder {
    TGridHierarchy& tree;
    int parent = GRID_UNSET;   // absolute row of the current parent
    int offset = 0;            // row offset of the view being entered

    // Resets the tree to rowCount nodes, none entered.
    TGridHierarchyBuilder(TGridHierarchy& t, int rowCount);

    // Enters absolute row `row` under the current parent: a row already
    // entered is left alone, and so is a row whose parent has no level yet
    // (false; the caller may enter it once the parent has one). True when
    // the row is entered.
    bool Enter(int row, int data);
    // Enters under `parentRow` for this one row.
    bool EnterUnder(int row, int parentRow, int data);
};

// Restores a builder's row offset and current parent at the end of a scope
// (also when a view throws while entering its rows).
class TBuilderScope {
public:
    explicit TBuilderScope(TGridHierarchyBuilder& b) : m_builder(b), m_offset(b.offset), m_parent(b.parent) {}
    ~TBuilderScope() {
        m_builder.offset = m_offset;
        m_builder.parent = m_parent;
    }
    TBuilderScope(const TBuilderScope&) = delete;
    TBuilderScope& operator=(const TBuilderScope&) = delete;

private:
    TGridHierarchyBuilder& m_builder;
    int m_offset;
    int m_parent;
};
