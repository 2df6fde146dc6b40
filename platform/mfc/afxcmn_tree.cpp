// Tree control wrappers.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, style, rect, parent, id);
}

BOOL CTreeCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(exStyle, WC_TREEVIEWA, nullptr, style | WS_CHILD, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM param, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = param;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after)
{
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const
{
    TVITEMA tv{};
    tv.hItem = item;
    tv.mask = TVIF_CHILDREN;
    if (!GetItem(&tv)) return FALSE;
    return tv.cChildren != 0;
}

BOOL CTreeCtrl::SetItem(HTREEITEM item, UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                        UINT stateMask, LPARAM param)
{
    TVITEMA tv{};
    tv.hItem = item;
    tv.mask = mask;
    tv.pszText = const_cast<LPSTR>(text);
    tv.iImage = image;
    tv.iSelectedImage = selectedImage;
    tv.state = state;
    tv.stateMask = stateMask;
    tv.lParam = param;
    return SetItem(&tv);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    // The control may answer with its own copy of a callback text, so the result is
    // read from the item, not from the buffer handed in. A full buffer means the text
    // may be longer: ask again with more room.
    for (int size = 256;; size *= 2) {
        CString buffer;
        TVITEMA tv{};
        tv.hItem = item;
        tv.mask = TVIF_TEXT;
        tv.pszText = buffer.GetBuffer(size);
        tv.cchTextMax = size;
        tv.pszText[0] = '\0';
        if (!GetItem(&tv) || !tv.pszText) return CString();
        CString text(tv.pszText);
        if (text.GetLength() < size - 1 || size >= 0x10000) return text;
    }
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    TVITEMA tv{};
    tv.hItem = item;
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    if (!GetItem(&tv)) return FALSE;
    image = tv.iImage;
    selectedImage = tv.iSelectedImage;
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMA tv{};
    tv.hItem = item;
    tv.mask = TVIF_PARAM;
    return GetItem(&tv) ? (DWORD_PTR)tv.lParam : 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const
{
    // The message takes the item in the rectangle it fills.
    *reinterpret_cast<HTREEITEM*>(rect) = item;
    return (BOOL)SendMessage(TVM_GETITEMRECT, textOnly, (LPARAM)rect);
}

CImageList* CTreeCtrl::GetImageList(int type) const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_GETIMAGELIST, type));
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int type)
{
    HIMAGELIST h = list ? list->m_hImageList : nullptr;
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_SETIMAGELIST, type, (LPARAM)h));
}

CToolTipCtrl* CTreeCtrl::GetToolTips() const
{
    return reinterpret_cast<CToolTipCtrl*>(CWnd::FromHandle((HWND)SendMessage(TVM_GETTOOLTIPS)));
}

CToolTipCtrl* CTreeCtrl::SetToolTips(CToolTipCtrl* tips)
{
    HWND old = (HWND)SendMessage(TVM_SETTOOLTIPS, (WPARAM)(tips ? tips->m_hWnd : nullptr));
    return reinterpret_cast<CToolTipCtrl*>(CWnd::FromHandle(old));
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const
{
    TVHITTESTINFO info{};
    info.pt = point;
    HTREEITEM item = HitTest(&info);
    if (flags) *flags = info.flags;
    return item;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM item)
{
    return reinterpret_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(TVM_EDITLABELA, 0, (LPARAM)item)));
}

CEdit* CTreeCtrl::GetEditControl() const
{
    return reinterpret_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(TVM_GETEDITCONTROL)));
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM item)
{
    HIMAGELIST h = (HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)item);
    if (!h) return nullptr;
    auto* list = new CImageList;
    list->Attach(h);
    return list;
}
