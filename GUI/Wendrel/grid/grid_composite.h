// Several views one below the other shown as one view: its rows are the
// rows of its children in order, its width that of the widest child. The
// composite owns its children (a child given back by SetView belongs to the
// caller) and is not copyable. Sorting orders the children by their views'
// IDs, then sorts inside each. GUI thread only.
#pragma once

#include <memory>
#include <vector>

#include "grid/grid_view.h"
#include "wendrel_export.h"

class WENDREL_API CCompositeGridView : public CDefGridViewImpl {
public:
    CCompositeGridView() = default;
    CCompositeGridView(const CCompositeGridView&) = delete;
    CCompositeGridView& operator=(const CCompositeGridView&) = delete;
    ~CCompositeGridView() override;

    unsigned GetViewCount() const { return unsigned(m_children.size()); }
    CDefGridView* GetView(unsigned i) const { return m_children[i].view.get(); }
    // Takes the view, docks it to the composite, puts it before position i.
    void InsertView(unsigned i, CDefGridView* view);
    void AppendView(CDefGridView* view) { InsertView(GetViewCount(), view); }
    // Puts view in place of child i (not docked); returns the previous child,
    // which the caller now owns.
    CDefGridView* SetView(unsigned i, CDefGridView* view);
    void DeleteView(unsigned i);
    void DeleteAllViews();
    // (0, first row of i, width, first row + rows of i).
    void GetViewRange(unsigned i, CELL_RANGE& range) const;
    // Child i's own active range moved down by its first row.
    void GetActiveRange(unsigned i, CELL_RANGE& range) const;
    using CDefGridViewImpl::GetActiveRange;

    CELL_COORD GetSize() const override;
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override;
    bool Sort(int column, TRowComparator* comparator) override;
    void BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) override;
    std::vector<int>::iterator IndexRows(bool store, std::vector<int>::iterator it) override;

private:
    struct Child {
        std::unique_ptr<CDefGridView> view;
        int first = GRID_UNSET;
        int count = -1;
    };
    void Invalidate() { m_dirty = true; }
    void RecalcLayout() const;

    mutable int m_width = -1;
    mutable bool m_dirty = true;
    mutable std::vector<Child> m_children;
};
