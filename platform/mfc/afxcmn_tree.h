// CTreeCtrl: the tree-view common control as thin wrappers over its TVM_ messages.
// The layer is 8-bit, so the control talks ANSI: items carry char text and the parent
// (or the control itself, by reflection) receives TVN_...A notifications, including
// TVN_GETDISPINFOA for items inserted with callback text, images or children.
// Wrappers that hand out other objects (image lists, the label editor, tooltips) give
// temporaries that live until the thread's next idle time. GUI thread only.
#pragma once
#include "afxwin.h"

class TRVMFC_API CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() = default;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Insertion: text may be LPSTR_TEXTCALLBACK and images I_IMAGECALLBACK; children
    // (cChildren) I_CHILDRENCALLBACK through the TVINSERTSTRUCT form.
    HTREEITEM InsertItem(LPTVINSERTSTRUCTA insert) {
        return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)insert);
    }
    HTREEITEM InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM param, HTREEITEM parent, HTREEITEM after);
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    // code: TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE, TVE_COLLAPSE | TVE_COLLAPSERESET (drops
    // the children and the expanded-once state, so the next expansion asks again).
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item); }

    // Walks.
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetLastVisibleItem() const { return GetNextItem(nullptr, TVGN_LASTVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    // The control's answer for the item's children (asking a callback item's parent).
    BOOL ItemHasChildren(HTREEITEM item) const;

    // Item attributes.
    BOOL GetItem(TVITEMA* item) const { return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)item); }
    BOOL SetItem(TVITEMA* item) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)item); }
    BOOL SetItem(HTREEITEM item, UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                 LPARAM param);
    // The item's text, callback text included.
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text) { return SetItem(item, TVIF_TEXT, text, 0, 0, 0, 0, 0); }
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage) {
        return SetItem(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, image, selectedImage, 0, 0, 0);
    }
    UINT GetItemState(HTREEITEM item, UINT stateMask) const {
        return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)item, stateMask);
    }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask) {
        return SetItem(item, TVIF_STATE, nullptr, 0, 0, state, stateMask, 0);
    }
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data) { return SetItem(item, TVIF_PARAM, nullptr, 0, 0, 0, 0, (LPARAM)data); }
    BOOL GetCheck(HTREEITEM item) const { return (GetItemState(item, TVIS_STATEIMAGEMASK) >> 12) == 2; }
    BOOL SetCheck(HTREEITEM item, BOOL check = TRUE) {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), TVIS_STATEIMAGEMASK);
    }
    // The item's whole line, or only its label with textOnly; FALSE when it is not shown.
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;

    // Control attributes.
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    UINT GetVisibleCount() const { return (UINT)SendMessage(TVM_GETVISIBLECOUNT); }
    UINT GetIndent() const { return (UINT)SendMessage(TVM_GETINDENT); }
    void SetIndent(UINT indent) { SendMessage(TVM_SETINDENT, indent); }
    SHORT GetItemHeight() const { return (SHORT)SendMessage(TVM_GETITEMHEIGHT); }
    SHORT SetItemHeight(SHORT height) { return (SHORT)SendMessage(TVM_SETITEMHEIGHT, (WPARAM)height); }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(TVM_GETBKCOLOR); }
    COLORREF SetBkColor(COLORREF c) { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, (LPARAM)c); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(TVM_GETTEXTCOLOR); }
    COLORREF SetTextColor(COLORREF c) { return (COLORREF)SendMessage(TVM_SETTEXTCOLOR, 0, (LPARAM)c); }
    // type: TVSIL_NORMAL or TVSIL_STATE. The control does not own the list.
    CImageList* GetImageList(int type) const;
    CImageList* SetImageList(CImageList* list, int type);
    CToolTipCtrl* GetToolTips() const;
    CToolTipCtrl* SetToolTips(CToolTipCtrl* tips);

    // Selection and hit testing. code: TVGN_CARET, TVGN_DROPHILITE, TVGN_FIRSTVISIBLE.
    BOOL Select(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_SELECTITEM, code, (LPARAM)item); }
    BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM item) { return Select(item, TVGN_DROPHILITE); }
    BOOL SelectSetFirstVisible(HTREEITEM item) { return Select(item, TVGN_FIRSTVISIBLE); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    // The item at a client point; flags receives the TVHT_ part that was hit.
    HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const { return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)info); }

    // Label editing: the control's edit window while a label is edited (a temporary).
    CEdit* EditLabel(HTREEITEM item);
    CEdit* GetEditControl() const;
    BOOL EndEditLabelNow(BOOL cancel) { return (BOOL)SendMessage(TVM_ENDEDITLABELNOW, cancel); }

    // Sorting of an item's children: by text, or by a comparison of the items' data.
    BOOL SortChildren(HTREEITEM item) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)item); }
    BOOL SortChildrenCB(LPTVSORTCB sort) { return (BOOL)SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)sort); }

    // A drag image of the item; the caller owns the list.
    CImageList* CreateDragImage(HTREEITEM item);
};
