#include "grid/grid_hierarchy.h"

TGridHierarchyBuilder::TGridHierarchyBuilder(TGridHierarchy& t, int rowCount) : tree(t) {
    tree.nodes.assign(rowCount > 0 ? size_t(rowCount) : 0, TGridNode());
    tree.depth = 0;
}

bool TGridHierarchyBuilder::Enter(int row, int data) { return EnterUnder(row, parent, data); }

bool TGridHierarchyBuilder::EnterUnder(int row, int parentRow, int data) {
    if (!tree.IsRow(row)) return false;
    TGridNode& node = tree.nodes[size_t(row)];
    if (node.IsEntered()) return false;
    int level = 0;
    if (parentRow != GRID_UNSET) {
        // A parent without a level would give the row no valid level.
        if (!tree.IsRow(parentRow) || parentRow == row || !tree.nodes[size_t(parentRow)].IsEntered()) return false;
        TGridNode& p = tree.nodes[size_t(parentRow)];
        level = p.level + 1;
        node.parent = parentRow;
        p.children.push_back(row);
    }
    node.level = level;
    node.data = data;
    if (tree.depth < level + 1) tree.depth = level + 1;
    return true;
}
