// The tab, toolbar, status bar and trackbar (slider) common controls as thin wrappers
// over their messages, in their ANSI forms (TCM_...A, TB_...A, SB_...A). Objects they
// hand out (image lists, tooltips) are temporaries that live until the thread's next
// idle time; the controls never own an image list given to them. GUI thread only.
#pragma once
#include "afxwin.h"

class TRVMFC_API CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
    // Appends at index (or the end) an item with text and, when image >= 0, an image.
    LONG InsertItem(int index, LPCSTR text, int image = -1);
    LONG InsertItem(int index, TCITEMA* item) { return (LONG)SendMessage(TCM_INSERTITEMA, index, (LPARAM)item); }
    BOOL GetItem(int index, TCITEMA* item) const { return (BOOL)SendMessage(TCM_GETITEMA, index, (LPARAM)item); }
    BOOL SetItem(int index, TCITEMA* item) { return (BOOL)SendMessage(TCM_SETITEMA, index, (LPARAM)item); }
    // The item's text (at most 260 characters), empty when there is no such item.
    CString GetItemText(int index) const;
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(TCM_DELETEITEM, index); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
    // Selection without notifications; SetCurFocus behaves like a click (it notifies).
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(TCM_SETCURSEL, index); }
    int GetCurFocus() const { return (int)SendMessage(TCM_GETCURFOCUS); }
    void SetCurFocus(int index) { SendMessage(TCM_SETCURFOCUS, index); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(TCM_GETITEMRECT, index, (LPARAM)rect); }
    // larger: window rectangle from display area (TRUE) or the other way round.
    void AdjustRect(BOOL larger, LPRECT rect) { SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect); }
    int HitTest(TCHITTESTINFO* info) const { return (int)SendMessage(TCM_HITTEST, 0, (LPARAM)info); }
    int GetRowCount() const { return (int)SendMessage(TCM_GETROWCOUNT); }
    CSize SetItemSize(CSize size);
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int SetMinTabWidth(int cx) { return (int)SendMessage(TCM_SETMINTABWIDTH, 0, cx); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(TCM_GETEXTENDEDSTYLE); }
    DWORD SetExtendedStyle(DWORD style, DWORD mask = 0) { return (DWORD)SendMessage(TCM_SETEXTENDEDSTYLE, mask, style); }
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* list);
    CToolTipCtrl* GetToolTips() const;
};

class TRVMFC_API CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    // Creates the control and tells it the size of TBBUTTON.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    BOOL AddButtons(int count, const TBBUTTON* buttons) {
        return (BOOL)SendMessage(TB_ADDBUTTONSA, count, (LPARAM)buttons);
    }
    BOOL InsertButton(int index, const TBBUTTON* button) {
        return (BOOL)SendMessage(TB_INSERTBUTTONA, index, (LPARAM)button);
    }
    BOOL DeleteButton(int index) { return (BOOL)SendMessage(TB_DELETEBUTTON, index); }
    int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }
    BOOL GetButton(int index, TBBUTTON* button) const { return (BOOL)SendMessage(TB_GETBUTTON, index, (LPARAM)button); }
    // Information by command id (or by index with TBIF_BYINDEX); -1 when it fails.
    int GetButtonInfo(UINT id, TBBUTTONINFOA* info) const;
    BOOL SetButtonInfo(UINT id, TBBUTTONINFOA* info);
    UINT CommandToIndex(UINT id) const { return (UINT)SendMessage(TB_COMMANDTOINDEX, id); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(TB_GETITEMRECT, index, (LPARAM)rect); }
    BOOL GetRect(UINT id, LPRECT rect) const { return (BOOL)SendMessage(TB_GETRECT, id, (LPARAM)rect); }
    // Index of the button at a client point; negative for none (the nearest separator's
    // index, complemented).
    int HitTest(LPPOINT point) const { return (int)SendMessage(TB_HITTEST, 0, (LPARAM)point); }

    BOOL EnableButton(UINT id, BOOL enable = TRUE) { return (BOOL)SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0)); }
    BOOL CheckButton(UINT id, BOOL check = TRUE) { return (BOOL)SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(check, 0)); }
    BOOL PressButton(UINT id, BOOL press = TRUE) { return (BOOL)SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(press, 0)); }
    BOOL HideButton(UINT id, BOOL hide = TRUE) { return (BOOL)SendMessage(TB_HIDEBUTTON, id, MAKELPARAM(hide, 0)); }
    BOOL Indeterminate(UINT id, BOOL on = TRUE) { return (BOOL)SendMessage(TB_INDETERMINATE, id, MAKELPARAM(on, 0)); }
    BOOL IsButtonEnabled(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, id); }
    BOOL IsButtonChecked(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, id); }
    BOOL IsButtonPressed(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONPRESSED, id); }
    BOOL IsButtonHidden(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONHIDDEN, id); }
    int GetState(UINT id) const { return (int)SendMessage(TB_GETSTATE, id); }
    BOOL SetState(UINT id, UINT state) { return (BOOL)SendMessage(TB_SETSTATE, id, MAKELPARAM(state, 0)); }

    BOOL SetButtonSize(CSize size) { return (BOOL)SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    BOOL SetBitmapSize(CSize size) { return (BOOL)SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    CSize GetButtonSize() const;
    BOOL GetMaxSize(LPSIZE size) const { return (BOOL)SendMessage(TB_GETMAXSIZE, 0, (LPARAM)size); }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    int GetRows() const { return (int)SendMessage(TB_GETROWS); }
    DWORD GetButtonStyle() const { return (DWORD)SendMessage(TB_GETSTYLE); }
    void SetButtonStyle(DWORD style) { SendMessage(TB_SETSTYLE, 0, style); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(TB_GETEXTENDEDSTYLE); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(TB_SETEXTENDEDSTYLE, 0, style); }
    int AddBitmap(int count, UINT bitmapId);
    int AddBitmap(int count, CBitmap* bitmap);
    int AddString(UINT stringId);
    // Strings separated by '\0', ending with an empty one.
    int AddStrings(LPCSTR strings) { return (int)SendMessage(TB_ADDSTRINGA, 0, (LPARAM)strings); }
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* list);
    CImageList* GetDisabledImageList() const;
    CImageList* SetDisabledImageList(CImageList* list);
    CImageList* GetHotImageList() const;
    CImageList* SetHotImageList(CImageList* list);
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* tips) { SendMessage(TB_SETTOOLTIPS, (WPARAM)(tips ? tips->m_hWnd : nullptr)); }
    void SetOwner(CWnd* owner) { SendMessage(TB_SETPARENT, (WPARAM)(owner ? owner->m_hWnd : nullptr)); }
};

class TRVMFC_API CStatusBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CStatusBarCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Right edges of the parts in client coordinates; -1 extends a part to the end.
    BOOL SetParts(int count, const int* rightEdges) { return (BOOL)SendMessage(SB_SETPARTS, count, (LPARAM)rightEdges); }
    int GetParts(int count, int* rightEdges) const { return (int)SendMessage(SB_GETPARTS, count, (LPARAM)rightEdges); }
    // type: 0, SBT_NOBORDERS, SBT_POPOUT, SBT_OWNERDRAW...
    BOOL SetText(LPCSTR text, int part, int type) { return (BOOL)SendMessage(SB_SETTEXTA, part | type, (LPARAM)text); }
    CString GetText(int part, int* type = nullptr) const;
    int GetTextLength(int part, int* type = nullptr) const;
    BOOL GetRect(int part, LPRECT rect) const { return (BOOL)SendMessage(SB_GETRECT, part, (LPARAM)rect); }
    BOOL GetBorders(int* borders) const { return (BOOL)SendMessage(SB_GETBORDERS, 0, (LPARAM)borders); }
    void SetMinHeight(int height) { SendMessage(SB_SETMINHEIGHT, height); }
    void SetSimple(BOOL simple = TRUE) { SendMessage(SB_SIMPLE, simple); }
    BOOL IsSimple() const { return (BOOL)SendMessage(SB_ISSIMPLE); }
    COLORREF SetBkColor(COLORREF c) { return (COLORREF)SendMessage(SB_SETBKCOLOR, 0, (LPARAM)c); }
    BOOL SetIcon(int part, HICON icon) { return (BOOL)SendMessage(SB_SETICON, part, (LPARAM)icon); }
    HICON GetIcon(int part) const { return (HICON)SendMessage(SB_GETICON, part); }
    void SetTipText(int part, LPCSTR text) { SendMessage(SB_SETTIPTEXTA, part, (LPARAM)text); }
};

class TRVMFC_API CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    void GetRange(int& minPos, int& maxPos) const { minPos = GetRangeMin(); maxPos = GetRangeMax(); }
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetRangeMin(int minPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, redraw, minPos); }
    void SetRangeMax(int maxPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMAX, redraw, maxPos); }
    int GetLineSize() const { return (int)SendMessage(TBM_GETLINESIZE); }
    int SetLineSize(int size) { return (int)SendMessage(TBM_SETLINESIZE, 0, size); }
    int GetPageSize() const { return (int)SendMessage(TBM_GETPAGESIZE); }
    int SetPageSize(int size) { return (int)SendMessage(TBM_SETPAGESIZE, 0, size); }
    void SetTicFreq(int freq) { SendMessage(TBM_SETTICFREQ, freq); }
    BOOL SetTic(int pos) { return (BOOL)SendMessage(TBM_SETTIC, 0, pos); }
    void ClearTics(BOOL redraw = FALSE) { SendMessage(TBM_CLEARTICS, redraw); }
    UINT GetNumTics() const { return (UINT)SendMessage(TBM_GETNUMTICS); }
    // Shown with TBS_ENABLESELRANGE; both ends through the 32-bit messages.
    void SetSelection(int first, int last) {
        SendMessage(TBM_SETSELSTART, FALSE, first);
        SendMessage(TBM_SETSELEND, TRUE, last);
    }
    void GetSelection(int& first, int& last) const;
    void ClearSel(BOOL redraw = FALSE) { SendMessage(TBM_CLEARSEL, redraw); }
    void GetChannelRect(LPRECT rect) const { SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)rect); }
    void GetThumbRect(LPRECT rect) const { SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)rect); }
};
