// Tab, toolbar, status bar and trackbar control wrappers.
#include "afxcmn.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

static CToolTipCtrl* ToolTipFromHandle(HWND h)
{
    return reinterpret_cast<CToolTipCtrl*>(CWnd::FromHandle(h));
}

// ---- tab control

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(0, WC_TABCONTROLA, nullptr, style | WS_CHILD, rect, parent, id);
}

LONG CTabCtrl::InsertItem(int index, LPCSTR text, int image)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT | (image >= 0 ? TCIF_IMAGE : 0);
    item.pszText = const_cast<LPSTR>(text);
    item.iImage = image;
    return InsertItem(index, &item);
}

CString CTabCtrl::GetItemText(int index) const
{
    char text[261] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!GetItem(index, &item) || !item.pszText) return CString();
    return CString(item.pszText);
}

CSize CTabCtrl::SetItemSize(CSize size)
{
    DWORD old = (DWORD)SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
    return CSize(LOWORD(old), HIWORD(old));
}

CImageList* CTabCtrl::GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_GETIMAGELIST)); }

CImageList* CTabCtrl::SetImageList(CImageList* list)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)(list ? list->m_hImageList : nullptr)));
}

CToolTipCtrl* CTabCtrl::GetToolTips() const { return ToolTipFromHandle((HWND)SendMessage(TCM_GETTOOLTIPS)); }

// ---- toolbar control

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, style | WS_CHILD, rect, parent, id)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

int CToolBarCtrl::GetButtonInfo(UINT id, TBBUTTONINFOA* info) const
{
    info->cbSize = sizeof(TBBUTTONINFOA);
    return (int)SendMessage(TB_GETBUTTONINFOA, id, (LPARAM)info);
}

BOOL CToolBarCtrl::SetButtonInfo(UINT id, TBBUTTONINFOA* info)
{
    info->cbSize = sizeof(TBBUTTONINFOA);
    return (BOOL)SendMessage(TB_SETBUTTONINFOA, id, (LPARAM)info);
}

CSize CToolBarCtrl::GetButtonSize() const
{
    DWORD size = (DWORD)SendMessage(TB_GETBUTTONSIZE);
    return CSize(LOWORD(size), HIWORD(size));
}

int CToolBarCtrl::AddBitmap(int count, UINT bitmapId)
{
    TBADDBITMAP add{};
    add.hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    add.nID = bitmapId;
    return (int)SendMessage(TB_ADDBITMAP, count, (LPARAM)&add);
}

int CToolBarCtrl::AddBitmap(int count, CBitmap* bitmap)
{
    TBADDBITMAP add{};
    add.hInst = nullptr;
    add.nID = (UINT_PTR)(bitmap ? bitmap->m_hObject : nullptr);
    return (int)SendMessage(TB_ADDBITMAP, count, (LPARAM)&add);
}

int CToolBarCtrl::AddString(UINT stringId)
{
    CString text;
    if (!text.LoadString(stringId)) return -1;
    // The message wants a list of strings: the text, then an empty one.
    int n = text.GetLength();
    CString list;
    char* p = list.GetBuffer(n + 2);
    std::memcpy(p, (LPCSTR)text, n);
    p[n] = '\0';
    p[n + 1] = '\0';
    int index = AddStrings(p);
    return index;
}

CImageList* CToolBarCtrl::GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_GETIMAGELIST)); }

CImageList* CToolBarCtrl::SetImageList(CImageList* list)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)(list ? list->m_hImageList : nullptr)));
}

CImageList* CToolBarCtrl::GetDisabledImageList() const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_GETDISABLEDIMAGELIST));
}

CImageList* CToolBarCtrl::SetDisabledImageList(CImageList* list)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)(list ? list->m_hImageList : nullptr)));
}

CImageList* CToolBarCtrl::GetHotImageList() const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_GETHOTIMAGELIST));
}

CImageList* CToolBarCtrl::SetHotImageList(CImageList* list)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)(list ? list->m_hImageList : nullptr)));
}

CToolTipCtrl* CToolBarCtrl::GetToolTips() const { return ToolTipFromHandle((HWND)SendMessage(TB_GETTOOLTIPS)); }

// ---- status bar control

BOOL CStatusBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, style | WS_CHILD, rect, parent, id);
}

int CStatusBarCtrl::GetTextLength(int part, int* type) const
{
    DWORD r = (DWORD)SendMessage(SB_GETTEXTLENGTHA, part);
    if (type) *type = HIWORD(r);
    return LOWORD(r);
}

CString CStatusBarCtrl::GetText(int part, int* type) const
{
    int n = GetTextLength(part, type);
    CString text;
    char* p = text.GetBuffer(n + 1);
    p[0] = '\0';
    SendMessage(SB_GETTEXTA, part, (LPARAM)p);
    p[n] = '\0';
    text.ReleaseBuffer();
    return text;
}

// ---- trackbar

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(0, TRACKBAR_CLASSA, nullptr, style | WS_CHILD, rect, parent, id);
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL redraw)
{
    // Both ends through the 32-bit messages: TBM_SETRANGE packs them into 16 bits each.
    SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
    SendMessage(TBM_SETRANGEMAX, redraw, maxPos);
}

void CSliderCtrl::GetSelection(int& first, int& last) const
{
    first = (int)SendMessage(TBM_GETSELSTART);
    last = (int)SendMessage(TBM_GETSELEND);
}
