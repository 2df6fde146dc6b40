// The common control wrappers with real controls: a tree whose items ask for their
// text, image and children by callback (ANSI notifications, reflected to the tree),
// fill in on expansion and drop their children on a collapse with reset; selection,
// drop highlight, hit tests, label editing and sorting. Tabs, toolbar buttons, status
// parts and the trackbar's 32-bit range; image lists drawn pixel by pixel.
#include "afxcmn.h"

#include <string>
#include <vector>

#include "wtest.h"

namespace {

constexpr UINT kTreeId = 100;

// Items hold an id; an id below 100 has three children (id * 10 + 1..3), which the
// tree inserts the first time the item expands.
class CProbeTree : public CTreeCtrl {
public:
    int dispInfoCalls = 0;
    int fills = 0;
    int selChanges = 0;
    std::string editedText;

    static std::string Name(LPARAM id) { return "node " + std::to_string((long long)id); }

    afx_msg void OnGetDispInfo(NMHDR* nm, LRESULT* result)
    {
        ++dispInfoCalls;
        TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(nm)->item;
        if (item.mask & TVIF_TEXT) ::lstrcpynA(item.pszText, Name(item.lParam).c_str(), item.cchTextMax);
        if (item.mask & TVIF_IMAGE) item.iImage = (int)(item.lParam % 5);
        if (item.mask & TVIF_SELECTEDIMAGE) item.iSelectedImage = (int)(item.lParam % 5) + 10;
        if (item.mask & TVIF_CHILDREN) item.cChildren = item.lParam < 100 ? 1 : 0;
        *result = 0;
    }

    afx_msg void OnItemExpanding(NMHDR* nm, LRESULT* result)
    {
        auto* tv = reinterpret_cast<NMTREEVIEWA*>(nm);
        if (tv->action == TVE_EXPAND && !(tv->itemNew.state & TVIS_EXPANDEDONCE)) {
            ++fills;
            for (int i = 1; i <= 3; ++i) Insert(tv->itemNew.lParam * 10 + i, tv->itemNew.hItem);
        }
        *result = FALSE;
    }

    afx_msg BOOL OnSelChanged(NMHDR*, LRESULT*)
    {
        ++selChanges;
        return FALSE;  // the parent sees it too
    }

    afx_msg void OnBeginLabelEdit(NMHDR*, LRESULT* result) { *result = FALSE; }

    afx_msg void OnEndLabelEdit(NMHDR* nm, LRESULT* result)
    {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(nm);
        if (info->item.pszText) editedText = info->item.pszText;
        *result = FALSE;  // the text stays the node's (a callback)
    }

    HTREEITEM Insert(LPARAM id, HTREEITEM parent, HTREEITEM after = TVI_LAST)
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
        insert.item.pszText = LPSTR_TEXTCALLBACKA;
        insert.item.iImage = I_IMAGECALLBACK;
        insert.item.iSelectedImage = I_IMAGECALLBACK;
        insert.item.cChildren = I_CHILDRENCALLBACK;
        insert.item.lParam = id;
        return InsertItem(&insert);
    }

    std::string Children(HTREEITEM parent) const
    {
        std::string s;
        for (HTREEITEM c = GetChildItem(parent); c; c = GetNextSiblingItem(c))
            s += (s.empty() ? "" : ",") + std::string(GetItemText(c));
        return s;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFO, OnGetDispInfo)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnItemExpanding)
    ON_NOTIFY_REFLECT_EX(TVN_SELCHANGED, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, OnEndLabelEdit)
END_MESSAGE_MAP()

class CHost : public CWnd {
public:
    int treeSelChanges = 0;
    int tabChanges = 0;

    afx_msg void OnTreeSelChanged(NMHDR*, LRESULT*) { ++treeSelChanges; }
    afx_msg void OnTabChanged(NMHDR*, LRESULT*) { ++tabChanges; }

    BOOL Make()
    {
        return CreateEx(0, nullptr, "controls", WS_POPUP | WS_VISIBLE, CRect(10, 10, 410, 410), nullptr, 0);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHost, CWnd)
    ON_NOTIFY(TVN_SELCHANGED, kTreeId, OnTreeSelChanged)
    ON_NOTIFY(TCN_SELCHANGE, 200, OnTabChanged)
END_MESSAGE_MAP()

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// An image list of solid squares, one per colour.
void MakeList(CImageList& list, int size, std::initializer_list<COLORREF> colours)
{
    list.Create(size, size, ILC_COLOR32, 0, 4);
    for (COLORREF c : colours) {
        std::vector<DWORD> bits(size * size, (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)));
        CBitmap bitmap;
        bitmap.CreateBitmap(size, size, 1, 32, bits.data());
        list.Add(&bitmap, (CBitmap*)nullptr);
    }
}

}  // namespace

WTEST(tree_items_answer_by_callback_and_fill_on_expansion)
{
    CHost host;
    WCHECK(host.Make());
    CProbeTree tree;
    WCHECK(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS |
                           TVS_SHOWSELALWAYS,
                       CRect(0, 0, 300, 300), &host, kTreeId));
    HTREEITEM root = tree.Insert(1, TVI_ROOT);
    WCHECK(root != nullptr);
    // Text, images and children come from the (ANSI) display-info notification.
    WCHECK_EQ(std::string(tree.GetItemText(root)), std::string("node 1"));
    int image = -1, selected = -1;
    WCHECK(tree.GetItemImage(root, image, selected));
    WCHECK_EQ(image, 1);
    WCHECK_EQ(selected, 11);
    WCHECK(tree.ItemHasChildren(root));
    WCHECK(tree.dispInfoCalls > 0);
    WCHECK_EQ(tree.GetItemData(root), DWORD_PTR(1));

    WCHECK(tree.Expand(root, TVE_EXPAND));
    WCHECK_EQ(tree.fills, 1);
    WCHECK_EQ(tree.Children(root), std::string("node 11,node 12,node 13"));
    HTREEITEM first = tree.GetChildItem(root);
    WCHECK(tree.GetParentItem(first) == root);
    WCHECK(tree.ItemHasChildren(first));  // 11 < 100: it has children too
    WCHECK(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);

    // A collapse with reset drops the children and the expanded-once state, so the next
    // expansion asks the node again.
    WCHECK(tree.Expand(root, TVE_COLLAPSE | TVE_COLLAPSERESET));
    WCHECK(tree.GetChildItem(root) == nullptr);
    WCHECK_EQ(tree.GetItemState(root, TVIS_EXPANDEDONCE | TVIS_EXPANDED), UINT(0));
    WCHECK(tree.Expand(root, TVE_EXPAND));
    WCHECK_EQ(tree.fills, 2);
    WCHECK_EQ(tree.GetCount(), UINT(4));

    // Sorting by the items' data, descending.
    TVSORTCB sort{};
    sort.hParent = root;
    sort.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM) -> int { return a > b ? -1 : a < b ? 1 : 0; };
    WCHECK(tree.SortChildrenCB(&sort));
    WCHECK_EQ(tree.Children(root), std::string("node 13,node 12,node 11"));
}

WTEST(tree_selection_drop_highlight_hit_test_and_label_edit)
{
    CHost host;
    WCHECK(host.Make());
    CProbeTree tree;
    WCHECK(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS, CRect(0, 0, 300, 300), &host,
                       kTreeId));
    HTREEITEM root = tree.Insert(2, TVI_ROOT);
    tree.Expand(root, TVE_EXPAND);
    HTREEITEM a = tree.GetChildItem(root);
    HTREEITEM b = tree.GetNextSiblingItem(a);
    WCHECK(a && b);

    // The caret: the tree's reflected handler lets the parent see the change too.
    WCHECK(tree.Select(b, TVGN_CARET));
    WCHECK(tree.GetSelectedItem() == b);
    WCHECK_EQ(tree.selChanges, 1);
    WCHECK_EQ(host.treeSelChanges, 1);
    WCHECK(tree.SelectDropTarget(a));
    WCHECK(tree.GetDropHilightItem() == a);
    WCHECK(tree.GetItemState(a, TVIS_DROPHILITED) & TVIS_DROPHILITED);
    WCHECK(tree.GetSelectedItem() == b);  // the drop highlight leaves the caret alone
    WCHECK(tree.SelectDropTarget(nullptr));
    WCHECK(tree.GetDropHilightItem() == nullptr);

    // Hit tests on the label rectangle and below the last item.
    CRect label;
    WCHECK(tree.GetItemRect(b, &label, TRUE));
    CRect line;
    WCHECK(tree.GetItemRect(b, &line, FALSE));
    WCHECK(line.left <= label.left && line.right >= label.right && line.top == label.top);
    UINT flags = 0;
    WCHECK(tree.HitTest(label.CenterPoint(), &flags) == b);
    WCHECK(flags & TVHT_ONITEMLABEL);
    WCHECK(tree.HitTest(CPoint(label.left + 2, 290), &flags) == nullptr);
    WCHECK(flags & TVHT_NOWHERE);

    // Label editing through the control's edit window.
    CEdit* edit = tree.EditLabel(a);
    WCHECK(edit != nullptr);
    if (edit) {
        WCHECK(tree.GetEditControl() != nullptr && tree.GetEditControl()->m_hWnd == edit->m_hWnd);
        edit->SetWindowText("renamed");
        WCHECK(tree.EndEditLabelNow(FALSE));
        Pump();
        WCHECK_EQ(tree.editedText, std::string("renamed"));
        WCHECK_EQ(std::string(tree.GetItemText(a)), std::string("node 21"));  // still the callback's
    }

    // The image list is the caller's; the tree hands back wrappers of the same list.
    CImageList list;
    MakeList(list, 16, {RGB(255, 0, 0), RGB(0, 0, 255)});
    WCHECK(tree.SetImageList(&list, TVSIL_NORMAL) == nullptr);
    CImageList* got = tree.GetImageList(TVSIL_NORMAL);
    WCHECK(got != nullptr && got->m_hImageList == list.m_hImageList);
    tree.SetImageList(nullptr, TVSIL_NORMAL);
}

WTEST(tab_toolbar_status_and_trackbar_controls)
{
    CHost host;
    WCHECK(host.Make());

    CTabCtrl tab;
    WCHECK(tab.Create(WS_VISIBLE, CRect(0, 0, 300, 60), &host, 200));
    WCHECK_EQ(tab.InsertItem(0, "First"), LONG(0));
    WCHECK_EQ(tab.InsertItem(1, "Second"), LONG(1));
    WCHECK_EQ(tab.InsertItem(2, "Third"), LONG(2));
    WCHECK_EQ(tab.GetItemCount(), 3);
    WCHECK_EQ(std::string(tab.GetItemText(1)), std::string("Second"));
    WCHECK_EQ(tab.SetCurSel(2), 0);
    WCHECK_EQ(tab.GetCurSel(), 2);
    WCHECK_EQ(host.tabChanges, 0);  // selecting by message does not notify
    CRect item;
    WCHECK(tab.GetItemRect(1, &item));
    TCHITTESTINFO hit{};
    hit.pt = item.CenterPoint();
    WCHECK_EQ(tab.HitTest(&hit), 1);

    CImageList images;
    MakeList(images, 16, {RGB(255, 0, 0), RGB(0, 255, 0)});
    CToolBarCtrl bar;
    WCHECK(bar.Create(WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN, CRect(0, 80, 300, 110), &host, 201));
    WCHECK(bar.SetImageList(&images) == nullptr);
    TBBUTTON buttons[3] = {};
    buttons[0] = {0, 100, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, (INT_PTR) "One"};
    buttons[1] = {0, 0, 0, BTNS_SEP, {}, 0, 0};
    buttons[2] = {1, 102, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, (INT_PTR) "Two"};
    WCHECK(bar.AddButtons(3, buttons));
    WCHECK_EQ(bar.GetButtonCount(), 3);
    WCHECK_EQ(bar.CommandToIndex(102), UINT(2));
    WCHECK(bar.GetImageList() != nullptr && bar.GetImageList()->m_hImageList == images.m_hImageList);
    char text[64] = "";
    TBBUTTONINFOA info{};
    info.dwMask = TBIF_IMAGE | TBIF_TEXT | TBIF_STYLE;
    info.pszText = text;
    info.cchText = sizeof text;
    WCHECK_EQ(bar.GetButtonInfo(102, &info), 2);
    WCHECK_EQ(info.iImage, 1);
    WCHECK_EQ(std::string(text), std::string("Two"));
    WCHECK(info.fsStyle & BTNS_CHECK);
    WCHECK(bar.EnableButton(100, FALSE));
    WCHECK(!bar.IsButtonEnabled(100));
    WCHECK(bar.CheckButton(102));
    WCHECK(bar.IsButtonChecked(102));
    CRect button;
    WCHECK(bar.GetItemRect(2, &button));
    CPoint centre = button.CenterPoint();
    WCHECK_EQ(bar.HitTest(&centre), 2);

    CStatusBarCtrl status;
    WCHECK(status.Create(WS_VISIBLE | CCS_BOTTOM, CRect(0, 0, 0, 0), &host, 202));
    const int edges[3] = {100, 200, -1};
    WCHECK(status.SetParts(3, edges));
    int got[3] = {};
    WCHECK_EQ(status.GetParts(3, got), 3);
    WCHECK_EQ(got[1], 200);
    WCHECK(status.SetText("Ready", 0, 0));
    WCHECK(status.SetText("CAP", 1, SBT_POPOUT));
    WCHECK_EQ(std::string(status.GetText(0)), std::string("Ready"));
    int type = 0;
    WCHECK_EQ(std::string(status.GetText(1, &type)), std::string("CAP"));
    WCHECK_EQ(type, SBT_POPOUT);
    WCHECK_EQ(status.GetTextLength(1), 3);
    CRect part;
    WCHECK(status.GetRect(1, &part));
    WCHECK(part.left >= 100 && part.right <= 200);
    HICON icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
    WCHECK(status.SetIcon(2, icon));
    WCHECK(status.GetIcon(2) == icon);
    WCHECK_EQ(status.SetBkColor(RGB(1, 2, 3)), COLORREF(CLR_DEFAULT));

    CSliderCtrl slider;
    WCHECK(slider.Create(WS_VISIBLE | TBS_HORZ | TBS_ENABLESELRANGE, CRect(0, 120, 300, 150), &host, 203));
    slider.SetRange(-5, 70000);  // beyond 16 bits: both ends kept
    int low = 0, high = 0;
    slider.GetRange(low, high);
    WCHECK_EQ(low, -5);
    WCHECK_EQ(high, 70000);
    slider.SetPos(65537);
    WCHECK_EQ(slider.GetPos(), 65537);
    slider.SetPos(80000);
    WCHECK_EQ(slider.GetPos(), 70000);  // clamped to the range
    slider.SetSelection(10, 66000);
    int selFirst = 0, selLast = 0;
    slider.GetSelection(selFirst, selLast);
    WCHECK_EQ(selFirst, 10);
    WCHECK_EQ(selLast, 66000);
}

WTEST(image_lists_draw_exact_pixels)
{
    CImageList list;
    MakeList(list, 4, {RGB(255, 0, 0), RGB(0, 0, 255)});
    WCHECK_EQ(list.GetImageCount(), 2);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CBitmap canvas;
    canvas.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&canvas);
    dc.FillSolidRect(0, 0, 16, 16, RGB(255, 255, 255));

    WCHECK(list.Draw(&dc, 0, CPoint(1, 1), ILD_NORMAL));
    IMAGELISTDRAWPARAMS params{};
    params.i = 1;
    params.hdcDst = dc.m_hDC;
    params.x = 8;
    params.y = 8;
    params.rgbBk = CLR_NONE;
    params.fStyle = ILD_NORMAL;
    WCHECK(list.DrawIndirect(&params));
    WCHECK(list.DrawEx(&dc, 1, CPoint(8, 1), CSize(2, 2), CLR_NONE, CLR_NONE, ILD_NORMAL));
    ::GdiFlush();
    WCHECK_EQ(dc.GetPixel(1, 1), COLORREF(RGB(255, 0, 0)));
    WCHECK_EQ(dc.GetPixel(4, 4), COLORREF(RGB(255, 0, 0)));
    WCHECK_EQ(dc.GetPixel(5, 5), COLORREF(RGB(255, 255, 255)));
    WCHECK_EQ(dc.GetPixel(8, 8), COLORREF(RGB(0, 0, 255)));
    WCHECK_EQ(dc.GetPixel(11, 11), COLORREF(RGB(0, 0, 255)));
    WCHECK_EQ(dc.GetPixel(9, 2), COLORREF(RGB(0, 0, 255)));   // DrawEx: a 2 x 2 part
    WCHECK_EQ(dc.GetPixel(10, 2), COLORREF(RGB(255, 255, 255)));
    dc.SelectObject(old);
}
