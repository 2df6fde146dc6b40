// Menus and the standard controls as thin wrappers over their window messages. Owner
// drawing arrives by reflection: the parent's WM_DRAWITEM/WM_MEASUREITEM/... reach the
// control's DrawItem/MeasureItem/... first. GUI thread only.
#pragma once
#include "afxwin_wnd.h"
#include <commctrl.h>

class TRVMFC_API CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    ~CMenu() override;  // destroys an attached menu
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* PASCAL FromHandle(HMENU h);
    static void PASCAL DeleteTempMap();
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    BOOL Attach(HMENU h);
    HMENU Detach();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // Destroys the menu held so far, then loads.
    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(LPCSTR name);
    BOOL LoadMenuIndirect(const void* tmpl) { DestroyMenu(); return Attach(::LoadMenuIndirectA(tmpl)); }
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::AppendMenuA(m_hMenu, flags, id, text); }
    BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
        return ::InsertMenuA(m_hMenu, pos, flags, id, text);
    }
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
        return ::ModifyMenuA(m_hMenu, pos, flags, id, text);
    }
    BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
    BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
    UINT EnableMenuItem(UINT id, UINT enable) { return (UINT)::EnableMenuItem(m_hMenu, id, enable); }
    UINT CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) {
        return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
    }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    int GetMenuString(UINT id, LPSTR buf, int n, UINT flags) const { return ::GetMenuStringA(m_hMenu, id, buf, n, flags); }
    int GetMenuString(UINT id, CString& s, UINT flags) const;
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPos = FALSE) {
        return ::GetMenuItemInfoA(m_hMenu, item, byPos, info);
    }
    BOOL SetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPos = FALSE) {
        return ::SetMenuItemInfoA(m_hMenu, item, byPos, info);
    }
    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT = nullptr) {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd->m_hWnd, nullptr);
    }
    BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPos); }
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
};

class TRVMFC_API CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)icon); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON); }
    HBITMAP SetBitmap(HBITMAP bmp) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bmp); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP); }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
};

class TRVMFC_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon); }
    HBITMAP SetBitmap(HBITMAP bmp) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bmp); }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
};

class TRVMFC_API CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void GetSel(int& start, int& end) const { SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end); }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL); }
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        SendMessage(EM_SETSEL, start, end);
        if (!noScroll) SendMessage(EM_SCROLLCARET);
    }
    void SetSel(DWORD sel, BOOL noScroll = FALSE) { SetSel((short)LOWORD(sel), (short)HIWORD(sel), noScroll); }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    void LimitText(int n = 0) { SendMessage(EM_LIMITTEXT, n); }
    void SetLimitText(UINT n) { SendMessage(EM_SETLIMITTEXT, n); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, readOnly); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    int LineIndex(int line = -1) const { return (int)SendMessage(EM_LINEINDEX, line); }
    int LineFromChar(int ch = -1) const { return (int)SendMessage(EM_LINEFROMCHAR, ch); }
    void LineScroll(int lines, int chars = 0) { SendMessage(EM_LINESCROLL, chars, lines); }
    void SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, (BYTE)ch); }
    void SetMargins(UINT left, UINT right) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right)); }
};

class TRVMFC_API CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(LB_SETCURSEL, index); }
    int GetSel(int index) const { return (int)SendMessage(LB_GETSEL, index); }
    int SetSel(int index, BOOL select = TRUE) { return (int)SendMessage(LB_SETSEL, select, index); }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
    int GetSelItems(int max, LPINT items) const { return (int)SendMessage(LB_GETSELITEMS, max, (LPARAM)items); }
    // Selects or deselects first..last; a reversed range works too.
    int SelItemRange(BOOL select, int first, int last);
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
    int SetTopIndex(int index) { return (int)SendMessage(LB_SETTOPINDEX, index); }
    int GetCaretIndex() const { return (int)SendMessage(LB_GETCARETINDEX); }
    int SetCaretIndex(int index, BOOL scroll = TRUE) { return (int)SendMessage(LB_SETCARETINDEX, index, scroll); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, index, (LPARAM)data); }
    void* GetItemDataPtr(int index) const { return (void*)GetItemData(index); }
    int SetItemDataPtr(int index, void* p) { return SetItemData(index, (DWORD_PTR)p); }
    int GetItemRect(int index, LPRECT r) const { return (int)SendMessage(LB_GETITEMRECT, index, (LPARAM)r); }
    int GetItemHeight(int index) const { return (int)SendMessage(LB_GETITEMHEIGHT, index); }
    int SetItemHeight(int index, UINT h) { return (int)SendMessage(LB_SETITEMHEIGHT, index, MAKELONG(h, 0)); }
    int GetText(int index, LPSTR buf) const { return (int)SendMessage(LB_GETTEXT, index, (LPARAM)buf); }
    void GetText(int index, CString& s) const;
    int GetTextLen(int index) const { return (int)SendMessage(LB_GETTEXTLEN, index); }
    int AddString(LPCSTR s) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int index, LPCSTR s) { return (int)SendMessage(LB_INSERTSTRING, index, (LPARAM)s); }
    int DeleteString(UINT index) { return (int)SendMessage(LB_DELETESTRING, index); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int FindString(int start, LPCSTR s) const { return (int)SendMessage(LB_FINDSTRING, start, (LPARAM)s); }
    int FindStringExact(int start, LPCSTR s) const { return (int)SendMessage(LB_FINDSTRINGEXACT, start, (LPARAM)s); }
    int SelectString(int start, LPCSTR s) { return (int)SendMessage(LB_SELECTSTRING, start, (LPARAM)s); }
    // Index of the item nearest to the client point; outside says whether the point
    // lies outside every item.
    UINT ItemFromPoint(CPoint pt, BOOL& outside) const;
    int GetHorizontalExtent() const { return (int)SendMessage(LB_GETHORIZONTALEXTENT); }
    void SetHorizontalExtent(int cx) { SendMessage(LB_SETHORIZONTALEXTENT, cx); }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
};

class TRVMFC_API CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, index); }
    int AddString(LPCSTR s) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int index, LPCSTR s) { return (int)SendMessage(CB_INSERTSTRING, index, (LPARAM)s); }
    int DeleteString(UINT index) { return (int)SendMessage(CB_DELETESTRING, index); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetLBText(int index, LPSTR buf) const { return (int)SendMessage(CB_GETLBTEXT, index, (LPARAM)buf); }
    void GetLBText(int index, CString& s) const;
    int GetLBTextLen(int index) const { return (int)SendMessage(CB_GETLBTEXTLEN, index); }
    int FindString(int start, LPCSTR s) const { return (int)SendMessage(CB_FINDSTRING, start, (LPARAM)s); }
    int FindStringExact(int start, LPCSTR s) const { return (int)SendMessage(CB_FINDSTRINGEXACT, start, (LPARAM)s); }
    int SelectString(int start, LPCSTR s) { return (int)SendMessage(CB_SELECTSTRING, start, (LPARAM)s); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, index, (LPARAM)data); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    void GetDroppedControlRect(LPRECT r) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)r); }
    BOOL LimitText(int n) { return (BOOL)SendMessage(CB_LIMITTEXT, n); }
    DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL); }
    BOOL SetEditSel(int start, int end) { return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(start, end)); }
    int GetItemHeight(int index) const { return (int)SendMessage(CB_GETITEMHEIGHT, index); }
    int SetItemHeight(int index, UINT h) { return (int)SendMessage(CB_SETITEMHEIGHT, index, h); }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
};

class TRVMFC_API CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void GetScrollRange(LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
    BOOL SetScrollInfo(LPSCROLLINFO si, BOOL redraw = TRUE) { ::SetScrollInfo(m_hWnd, SB_CTL, si, redraw); return TRUE; }
    BOOL GetScrollInfo(LPSCROLLINFO si, UINT mask = SIF_ALL) { return CWnd::GetScrollInfo(SB_CTL, si, mask); }
    void ShowScrollBar(BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, show); }
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
};

class TRVMFC_API CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    ~CImageList() override;  // destroys an attached list
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    static CImageList* PASCAL FromHandle(HIMAGELIST h);
    static void PASCAL DeleteTempMap();
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    BOOL Attach(HIMAGELIST h);
    HIMAGELIST Detach();
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow) {
        return Attach(ImageList_Create(cx, cy, flags, initial, grow));
    }
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList();
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(CBitmap* bmp, CBitmap* mask) {
        return ImageList_Add(m_hImageList, (HBITMAP)bmp->m_hObject, mask ? (HBITMAP)mask->m_hObject : nullptr);
    }
    int Add(CBitmap* bmp, COLORREF mask) { return ImageList_AddMasked(m_hImageList, (HBITMAP)bmp->m_hObject, mask); }
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL Replace(int index, CBitmap* bmp, CBitmap* mask) {
        return ImageList_Replace(m_hImageList, index, (HBITMAP)bmp->m_hObject, mask ? (HBITMAP)mask->m_hObject : nullptr);
    }
    HICON ExtractIcon(int index) { return ImageList_ExtractIcon(nullptr, m_hImageList, index); }
    BOOL Draw(CDC* dc, int index, POINT pt, UINT style) { return ImageList_Draw(m_hImageList, index, dc->m_hDC, pt.x, pt.y, style); }
    BOOL DrawEx(CDC* dc, int index, POINT pt, SIZE size, COLORREF bk, COLORREF fg, UINT style) {
        return ImageList_DrawEx(m_hImageList, index, dc->m_hDC, pt.x, pt.y, size.cx, size.cy, bk, fg, style);
    }
    // The list and the size of the structure are filled in here.
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* params) {
        params->cbSize = sizeof(IMAGELISTDRAWPARAMS);
        params->himl = m_hImageList;
        return ImageList_DrawIndirect(params);
    }
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, index, info); }
    BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
};

class TRVMFC_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    BOOL AddTool(CWnd* wnd, LPCSTR text = LPSTR_TEXTCALLBACKA, LPCRECT rect = nullptr, UINT_PTR id = 0);
    BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR id = 0);
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    int SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, delay); }
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void Pop() { SendMessage(TTM_POP); }
    void FillInToolInfo(TOOLINFOA& ti, CWnd* wnd, UINT_PTR id) const;
};
