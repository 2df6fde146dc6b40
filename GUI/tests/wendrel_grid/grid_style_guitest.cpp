// Style actions on a grid window: whole selected columns take styles of
// their own, selected cells change their shared styles, a cancelled dialog
// changes nothing, and an unknown aspect is refused before any change.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "afxwin.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_style_action.h"
#include "wtest.h"

namespace {

// Sets the text colour; records what it collects.
class TTextColorAction : public TStyleAction {
public:
    explicit TTextColorAction(COLORREF value, bool confirm = true)
        : TStyleAction(ASPECT_TEXT_COLOR), m_value(value), m_confirm(confirm) {}
    std::vector<COLORREF> collected;
    int dialogs = 0;
    bool CollectFromStyle(const GRAPHIC_CELL_STYLE& style) override
    {
        collected.push_back(style.textColor);
        return true;
    }
    bool ShowDialog() override
    {
        ++dialogs;
        return m_confirm;
    }
    void ApplyToStyle(GRAPHIC_CELL_STYLE& style) override { style.textColor = m_value; }
    bool CompareStyles(const GRAPHIC_CELL_STYLE& a, const GRAPHIC_CELL_STYLE& b) override
    {
        return a.textColor == b.textColor;
    }
    void CopyAspect(GRAPHIC_CELL_STYLE& target, const GRAPHIC_CELL_STYLE& source) override
    {
        target.textColor = source.textColor;
    }

private:
    COLORREF m_value;
    bool m_confirm;
};

class TBadAction : public TTextColorAction {
public:
    TBadAction() : TTextColorAction(0) { m_aspect = GRAPHIC_STYLE_ASPECT(5); }
};

std::vector<int> g_styleCodes;

LRESULT CALLBACK StyleOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NOTIFY) {
        g_styleCodes.push_back(int(reinterpret_cast<const tagNM_DEFGRID*>(l)->hdr.code));
        return 0;
    }
    return ::DefWindowProcA(h, m, w, l);
}

struct StyleFixture {
    HWND owner;
    CDefGridCtrl grid;
    gt::Chain chain;

    StyleFixture()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = StyleOwnerProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "GridStyleOwnerTest";
            ::RegisterClassA(&wc);
            registered = true;
        }
        owner = ::CreateWindowExA(0, "GridStyleOwnerTest", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
        chain = gt::MakeChain({{"A", COLUMN_TYPE_TEXT}, {"B", COLUMN_TYPE_TEXT}, {"C", COLUMN_TYPE_TEXT}},
                              {{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}});
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 79);
        grid.SetView(chain.owner.release());
        g_styleCodes.clear();
    }
    ~StyleFixture()
    {
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
    const GRAPHIC_CELL_STYLE& Base() { return (*grid.GetStyles())[STYLE_NORMAL]; }
};

}  // namespace

WTEST(selected_columns_take_a_style_of_their_own_and_lose_it_when_equal_to_the_base)
{
    StyleFixture f;
    const COLORREF base = f.Base().textColor;
    // A cell selection is ignored while whole columns are selected.
    f.grid.SelectRange(CELL_RANGE(0, 1, 1, 2));
    f.grid.ModifyColumnState(1, COLUMN_STATE_SELECTED, 0);
    TTextColorAction red(RGB(255, 0, 0));
    f.grid.ApplyAction(red, true);
    const COLUMN_INFO& column = f.grid.GetColumns()[1];
    WCHECK(column.style != nullptr);
    WCHECK(column.style && column.style->textColor == RGB(255, 0, 0));
    WCHECK(column.differs.test(ASPECT_TEXT_COLOR));
    WCHECK_EQ(f.Base().textColor, base);
    WCHECK(f.grid.GetColumns()[0].style == nullptr);
    WCHECK(red.collected == std::vector<COLORREF>({base}));

    // Without the dialog only the current value is collected: the column's own.
    TTextColorAction probe(0);
    f.grid.ApplyAction(probe, false);
    WCHECK(probe.collected == std::vector<COLORREF>({RGB(255, 0, 0)}));
    WCHECK_EQ(probe.dialogs, 0);

    // Back to the base colour: the column falls back to the base style.
    TTextColorAction back(base);
    f.grid.ApplyAction(back, true);
    WCHECK(f.grid.GetColumns()[1].style == nullptr);
}

WTEST(selected_cells_change_their_shared_style_and_keep_their_selection)
{
    StyleFixture f;
    f.grid.SelectRange(CELL_RANGE(0, 1, 2, 3));
    g_styleCodes.clear();
    TTextColorAction blue(RGB(0, 0, 255));
    f.grid.ApplyAction(blue, true);
    WCHECK_EQ(f.Base().textColor, COLORREF(RGB(0, 0, 255)));
    WCHECK_EQ(blue.dialogs, 1);
    CELL_RANGE box;
    WCHECK(f.grid.GetSelectionBoundingRange(box));
    WCHECK(box == CELL_RANGE(0, 1, 2, 3));
    // The temporary selection of every reached cell, then the old one.
    WCHECK_EQ(std::count(g_styleCodes.begin(), g_styleCodes.end(), int(GN_SELECTION)), 2);

    // Cancelled: nothing changes, and the selection comes back.
    TTextColorAction cancelled(RGB(0, 255, 0), false);
    f.grid.ApplyAction(cancelled, true);
    WCHECK_EQ(f.Base().textColor, COLORREF(RGB(0, 0, 255)));
    WCHECK(f.grid.GetSelectionBoundingRange(box));
    WCHECK(box == CELL_RANGE(0, 1, 2, 3));
}

WTEST(column_helpers_and_an_unknown_aspect)
{
    StyleFixture f;
    TBadAction bad;
    f.grid.SelectRange(CELL_RANGE(0, 1, 1, 2));
    const COLORREF before = f.Base().textColor;
    WCHECK_THROWS(f.grid.ApplyAction(bad, true), const std::out_of_range&);
    WCHECK_EQ(f.Base().textColor, before);
    WCHECK_EQ(bad.dialogs, 0);

    COLUMN_INFO column;
    TTextColorAction action(RGB(1, 2, 3));
    WCHECK(!action.CollectFromColumn(column));
    WCHECK(action.collected.empty());
    column.style.reset(new GRAPHIC_CELL_STYLE(f.Base()));
    action.ApplyToColumn(column);
    WCHECK(column.differs.test(ASPECT_TEXT_COLOR));
    WCHECK(action.CollectFromColumn(column));
    action.CopyStyleToColumn(column, f.Base());
    WCHECK(!column.differs.test(ASPECT_TEXT_COLOR));
    WCHECK_EQ(column.style->textColor, f.Base().textColor);
    column.style->textColor = RGB(9, 9, 9);
    action.ValidateAspect(column, f.Base());
    WCHECK(column.differs.test(ASPECT_TEXT_COLOR));
    WCHECK_THROWS(bad.ValidateAspect(column, f.Base()), const std::out_of_range&);
}
