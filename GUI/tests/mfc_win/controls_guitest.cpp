// List and combo boxes: owner-draw items (measure, compare, delete) reach the
// control's own members through reflection, also with id -1 beside labels that share
// it; multiple selection ranges and hit tests.
#include "afxwin.h"

#include <string>
#include <vector>

#include "wtest.h"

namespace {

constexpr UINT kNoId = (UINT)-1;  // arrives as 0xFFFFFFFF in the item structures

// Measures each item at a height of its own; records compare and delete calls.
template <class Base>
class COwnerItems : public Base {
public:
    std::vector<UINT> measured;      // item ids
    std::vector<ULONG_PTR> deleted;  // item data
    int compares = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        measured.push_back(mis->itemID);
        mis->itemHeight = 21;
    }
    int CompareItem(LPCOMPAREITEMSTRUCT cis) override
    {
        ++compares;  // descending by item data
        return cis->itemData1 > cis->itemData2 ? -1 : cis->itemData1 < cis->itemData2 ? 1 : 0;
    }
    void DeleteItem(LPDELETEITEMSTRUCT dis) override { deleted.push_back(dis->itemData); }
};

// The parent's own handler must not see what the controls took.
class CHost : public CWnd {
public:
    int parentMeasures = 0;
    afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT) { ++parentMeasures; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHost, CWnd)
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

bool CreateHost(CHost& host)
{
    return host.CreateEx(0, nullptr, "host", WS_POPUP, CRect(0, 0, 300, 300), nullptr, 0) != FALSE;
}

std::string Selected(const CListBox& list)
{
    int items[16];
    int n = list.GetSelItems(16, items);
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "," : "") + std::to_string(items[i]);
    return s;
}

}  // namespace

WTEST(measure_item_reaches_controls_with_id_minus_one)
{
    CHost host;
    WCHECK(CreateHost(host));
    CStatic label;  // a label with the same id comes first in the child list
    WCHECK(label.Create("label", WS_CHILD, CRect(0, 0, 50, 10), &host, kNoId));
    COwnerItems<CListBox> list;
    WCHECK(list.Create(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | WS_VSCROLL, CRect(0, 20, 100, 120), &host, kNoId));
    WCHECK_EQ(list.GetDlgCtrlID(), -1);
    WCHECK_EQ(list.AddString("first"), 0);
    WCHECK_EQ(list.AddString("second"), 1);
    WCHECK_EQ(list.measured.size(), size_t(2));
    WCHECK_EQ(list.GetItemHeight(1), 21);

    COwnerItems<CComboBox> combo;
    WCHECK(combo.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS, CRect(0, 130, 100, 230), &host,
                        kNoId));
    size_t atCreate = combo.measured.size();
    WCHECK_EQ(combo.AddString("one"), 0);
    WCHECK_EQ(combo.measured.size(), atCreate + 1);
    if (!combo.measured.empty()) WCHECK_EQ(combo.measured.back(), 0u);
    WCHECK_EQ(combo.GetItemHeight(0), 21);
    WCHECK_EQ(host.parentMeasures, 0);
    host.DestroyWindow();
}

WTEST(compare_and_delete_items_are_reflected)
{
    CHost host;
    WCHECK(CreateHost(host));
    COwnerItems<CListBox> list;
    // Owner-drawn without strings: the "string" is the item data, sorted by CompareItem.
    WCHECK(list.Create(LBS_OWNERDRAWFIXED | LBS_SORT, CRect(0, 0, 100, 100), &host, kNoId));
    for (ULONG_PTR data : {2, 9, 5}) list.AddString((LPCSTR)data);
    WCHECK(list.compares > 0);
    std::vector<DWORD_PTR> order;
    for (int i = 0; i < list.GetCount(); ++i) order.push_back(list.GetItemData(i));
    WCHECK(order == (std::vector<DWORD_PTR>{9, 5, 2}));

    WCHECK_EQ(list.DeleteString(1), 2);
    WCHECK(list.deleted == (std::vector<ULONG_PTR>{5}));
    list.ResetContent();
    WCHECK_EQ(list.deleted.size(), size_t(3));
    WCHECK_EQ(list.GetCount(), 0);
    host.DestroyWindow();
}

WTEST(selection_ranges_select_and_deselect_both_ways)
{
    CHost host;
    WCHECK(CreateHost(host));
    CListBox list;
    WCHECK(list.Create(LBS_EXTENDEDSEL | LBS_HASSTRINGS, CRect(0, 0, 100, 250), &host, 3));
    for (const char* s : {"a", "b", "c", "d", "e", "f"}) list.AddString(s);
    struct Step {
        BOOL select;
        int first, last;
        const char* expected;
    } steps[] = {
        {TRUE, 1, 3, "1,2,3"},
        {FALSE, 2, 2, "1,3"},    // one item off
        {TRUE, 5, 4, "1,3,4,5"}, // a reversed range selects too
        {FALSE, 5, 3, "1"},      // and deselects
        {TRUE, 0, 0, "0,1"},     // one item on
        {FALSE, 1, 0, ""},
    };
    for (const Step& s : steps) {
        list.SelItemRange(s.select, s.first, s.last);
        WCHECK_EQ(Selected(list), std::string(s.expected));
    }
    WCHECK_EQ(list.GetSelCount(), 0);

    CRect item;
    WCHECK(list.GetItemRect(2, &item) != LB_ERR);
    BOOL outside = TRUE;
    WCHECK_EQ(list.ItemFromPoint(item.CenterPoint(), outside), 2u);
    WCHECK(!outside);
    CRect last;
    list.GetItemRect(5, &last);
    WCHECK_EQ(list.ItemFromPoint(CPoint(10, last.bottom + 20), outside), 5u);  // below every item
    WCHECK(outside);
    host.DestroyWindow();
}
