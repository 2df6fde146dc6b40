// A centre view framed by up to four sub-views: a header above it (column
// titles), a footer below it, a left and a right view beside it, shown as
// one view whose active part is the centre. The decorator owns every
// sub-view it holds (owning holders: copying moves them to the copy).
// GUI thread only.
#pragma once

#include "grid/grid_view.h"
#include "wendrel_export.h"

// Places of a border decorator's sub-views.
enum GRID_ELEMENT {
    GRID_ELEMENT_HEADER = 32,
    GRID_ELEMENT_FOOTER = 64,
    GRID_ELEMENT_LEFT = 128,
    GRID_ELEMENT_RIGHT = 256,
};

class WENDREL_API CBorderDecorator : public CDefGridView {
public:
    explicit CBorderDecorator(CDefGridView* centre) : m_centre(centre) {}
    CBorderDecorator(const CBorderDecorator&) = default;
    CBorderDecorator& operator=(const CBorderDecorator&) = default;
    ~CBorderDecorator() override = default;

    // Replaces the sub-view at element (deleting an owned previous one) and
    // docks the new one: header and footer to the centre, left and right to
    // this decorator. Other element values do nothing.
    void SetBorderView(int element, CDefGridView* view);
    CDefGridView* GetHeader() const { return m_header.Get(); }
    CDefGridView* GetFooter() const { return m_footer.Get(); }
    CDefGridView* GetCentre() const { return m_centre.Get(); }
    CELL_COORD GetActiveSize() const { return m_centre->GetSize(); }

    // The header's column object, shifted by the left width; null without a header.
    TGridColumn* CreateColumn(int column) override;
    CELL_COORD GetSize() const override;
    CDefGridView* GetActiveView() override { return m_centre->GetActiveView(); }
    // The centre's active range moved by the left width and header height;
    // with no rows, it spans every column.
    void GetActiveRange(CELL_RANGE& range) const override;
    int GetID() override { return m_header ? m_header->GetID() : GRID_UNSET; }
    bool Sort(int column, TRowComparator* comparator) override;
    bool SetCapability(int bit, bool on) override { return m_centre->SetCapability(bit, on); }
    bool CapableOf(int bit) const override { return m_centre->CapableOf(bit); }
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override;
    // The header's rows, then the centre's and the footer's under the header's first row.
    void BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) override;
    std::vector<int>::iterator IndexRows(bool store, std::vector<int>::iterator it) override;
    void DockTo(CDefGridView*) override {}

private:
    static CELL_COORD SizeOf(const TOwnPtr<CDefGridView>& view);
    CELL_COORD GetLeftSize() const { return SizeOf(m_left); }
    CELL_COORD GetRightSize() const { return SizeOf(m_right); }
    CELL_COORD GetHeaderSize() const { return SizeOf(m_header); }
    CELL_COORD GetFooterSize() const { return SizeOf(m_footer); }
    // (left width, header height): where the centre starts.
    CELL_COORD GetLeftTop() const { return CELL_COORD(GetLeftSize().column, GetHeaderSize().row); }
    // Draws one sub-view of a size placed at origin, clipped to it.
    static void RenderSubView(GRID_DEVICE& device, const CELL_INFO& info, CDefGridView* view, const CELL_COORD& size,
                              const CELL_COORD& origin);

    TOwnPtr<CDefGridView> m_centre;
    TOwnPtr<CDefGridView> m_header{nullptr};
    TOwnPtr<CDefGridView> m_footer{nullptr};
    TOwnPtr<CDefGridView> m_left{nullptr};
    TOwnPtr<CDefGridView> m_right{nullptr};
};
