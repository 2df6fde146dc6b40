// Menus, standard controls, image lists, tooltips and command UI.
#include "afxwin_state.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(CMenu, CObject)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// ---- menus

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU h)
{
    if (!h) return nullptr;
    auto& st = AfxGetWinThreadState();
    auto p = st.permanentMenu.find(h);
    if (p != st.permanentMenu.end()) return p->second;
    auto t = st.temporaryMenu.find(h);
    if (t != st.temporaryMenu.end()) return t->second;
    CMenu* m = new CMenu;
    m->m_hMenu = h;
    st.temporaryMenu.emplace(h, m);
    return m;
}

void CMenu::DeleteTempMap()
{
    auto& map = AfxGetWinThreadState().temporaryMenu;
    auto old = std::move(map);
    map.clear();
    for (auto& [h, m] : old) {
        m->m_hMenu = nullptr;
        delete m;
    }
}

BOOL CMenu::Attach(HMENU h)
{
    if (!h) return FALSE;
    m_hMenu = h;
    AfxGetWinThreadState().permanentMenu[h] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h) {
        auto& map = AfxGetWinThreadState().permanentMenu;
        auto it = map.find(h);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEA(id)); }

BOOL CMenu::LoadMenu(LPCSTR name)
{
    DestroyMenu();
    return Attach(::LoadMenuA(AfxFindResourceHandle(name, MAKEINTRESOURCEA(4) /* RT_MENU */), name));
}

int CMenu::GetMenuString(UINT id, CString& s, UINT flags) const
{
    char buf[1025];
    int n = ::GetMenuStringA(m_hMenu, id, buf, sizeof buf, flags);
    s = CString(buf);
    return n;
}

// ---- command UI

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther && m_pOther->m_hWnd) {
        // Move the focus off a control before it is disabled, or keyboard input stops.
        if (!on && ::GetFocus() == m_pOther->m_hWnd) {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent) ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(m_pOther->m_hWnd, on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && m_pOther->m_hWnd) {
        if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, check, 0);
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (m_pMenu && !m_pSubMenu && on) {
        ::CheckMenuRadioItem(m_pMenu->m_hMenu, m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
        return;
    }
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR text)
{
    if (m_pMenu) {
        if (m_pSubMenu) return;
        UINT state = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION) &
                     (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
        ::ModifyMenuA(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
    } else if (m_pOther && m_pOther->m_hWnd) {
        ::SetWindowTextA(m_pOther->m_hWnd, text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and unnamed items
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr};
        BOOL routable = target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(routable);
    }
    return handled;
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    CWnd temp;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        temp.m_hWnd = child;
        state.m_nID = (UINT)::GetDlgCtrlID(child);
        state.m_pOther = &temp;
        // Plain push buttons only disable; check boxes and radios follow their handlers.
        UINT code = (UINT)::SendMessageA(child, WM_GETDLGCODE, 0, 0);
        BOOL disable = disableIfNoHandler && (code & DLGC_BUTTON) &&
                       ((::GetWindowLongPtrA(child, GWL_STYLE) & 0x0F) <= BS_DEFPUSHBUTTON);
        state.DoUpdate(target, disable);
    }
    temp.m_hWnd = nullptr;
}

// ---- controls

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("STATIC", text, style, rect, parent, id);
}
BOOL CButton::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("BUTTON", text, style, rect, parent, id);
}
BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
}
BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("LISTBOX", nullptr, style, rect, parent, id);
}
BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("COMBOBOX", nullptr, style, rect, parent, id);
}
BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("SCROLLBAR", nullptr, style, rect, parent, id);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) return TRUE;
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (result) *result = TRUE;
    return TRUE;
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) return TRUE;
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (result) *result = TRUE;
    return TRUE;
}

// Owner-draw messages go to the virtuals unless a reflect entry took them.
template <class T>
static BOOL OwnerDrawNotify(T* ctl, UINT message, LPARAM lParam, LRESULT* result)
{
    LRESULT r = TRUE;
    switch (message) {
    case WM_DRAWITEM: ctl->DrawItem((LPDRAWITEMSTRUCT)lParam); break;
    case WM_MEASUREITEM: ctl->MeasureItem((LPMEASUREITEMSTRUCT)lParam); break;
    case WM_COMPAREITEM: r = ctl->CompareItem((LPCOMPAREITEMSTRUCT)lParam); break;
    case WM_DELETEITEM: ctl->DeleteItem((LPDELETEITEMSTRUCT)lParam); break;
    default: return FALSE;
    }
    if (result) *result = r;
    return TRUE;
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) return TRUE;
    return OwnerDrawNotify(this, message, lParam, result);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) return TRUE;
    return OwnerDrawNotify(this, message, lParam, result);
}

int CListBox::SelItemRange(BOOL select, int first, int last)
{
    // LB_SELITEMRANGEEX selects when first <= last and deselects when reversed, so a
    // single item cannot be deselected through it.
    int low = first < last ? first : last;
    int high = first < last ? last : first;
    if (select) return (int)SendMessage(LB_SELITEMRANGEEX, low, high);
    if (low == high) return (int)SendMessage(LB_SETSEL, FALSE, low);
    return (int)SendMessage(LB_SELITEMRANGEEX, high, low);
}

void CListBox::GetText(int index, CString& s) const
{
    int n = GetTextLen(index);
    if (n < 0) {
        s.Empty();
        return;
    }
    GetText(index, s.GetBuffer(n + 1));
    s.ReleaseBuffer();
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& outside) const
{
    DWORD r = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    outside = HIWORD(r) != 0;
    return LOWORD(r);
}

void CComboBox::GetLBText(int index, CString& s) const
{
    int n = GetLBTextLen(index);
    if (n < 0) {
        s.Empty();
        return;
    }
    GetLBText(index, s.GetBuffer(n + 1));
    s.ReleaseBuffer();
}

// ---- image lists

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST h)
{
    if (!h) return nullptr;
    auto& st = AfxGetWinThreadState();
    auto p = st.permanentImageList.find(h);
    if (p != st.permanentImageList.end()) return p->second;
    auto t = st.temporaryImageList.find(h);
    if (t != st.temporaryImageList.end()) return t->second;
    auto* list = new CImageList;
    list->m_hImageList = h;
    st.temporaryImageList.emplace(h, list);
    return list;
}

void CImageList::DeleteTempMap()
{
    auto& map = AfxGetWinThreadState().temporaryImageList;
    auto old = std::move(map);
    map.clear();
    for (auto& [h, l] : old) {
        l->m_hImageList = nullptr;
        delete l;
    }
}

BOOL CImageList::Attach(HIMAGELIST h)
{
    if (!h) return FALSE;
    m_hImageList = h;
    AfxGetWinThreadState().permanentImageList[h] = this;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    if (h) {
        auto& map = AfxGetWinThreadState().permanentImageList;
        auto it = map.find(h);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    return Attach(ImageList_LoadImageA(AfxWinInstance(), MAKEINTRESOURCEA(bitmapId), cx, grow, mask, IMAGE_BITMAP,
                                       LR_CREATEDIBSECTION));
}

// ---- tooltips

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | style, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* wnd, UINT_PTR id) const
{
    ti = TOOLINFOA{};
    ti.cbSize = sizeof(TOOLINFOA);
    if (id == 0) {
        ti.hwnd = ::GetParent(wnd->m_hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)wnd->m_hWnd;
    } else {
        ti.hwnd = wnd->m_hWnd;
        ti.uId = id;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCSTR text, LPCRECT rect, UINT_PTR id)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, wnd, id);
    if (rect) ti.rect = *rect;
    else if (id) ::GetClientRect(wnd->m_hWnd, &ti.rect);
    ti.uFlags |= TTF_SUBCLASS;
    ti.lpszText = const_cast<LPSTR>(text);
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT rect, UINT_PTR id)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, wnd, id);
    if (rect) ti.rect = *rect;
    else if (id) ::GetClientRect(wnd->m_hWnd, &ti.rect);
    ti.uFlags |= TTF_SUBCLASS;
    ti.hinst = AfxWinInstance();
    ti.lpszText = MAKEINTRESOURCEA(textId);
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, wnd, id);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR id)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, wnd, id);
    ti.lpszText = const_cast<LPSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

CToolTipCtrl* AfxGetThreadToolTip() { return AfxGetWinThreadState().toolTip; }

BOOL CWnd::EnableToolTips(BOOL enable)
{
    if (enable) m_nFlags |= WF_TOOLTIPS;
    else {
        m_nFlags &= ~WF_TOOLTIPS;
        CancelToolTips();
    }
    return TRUE;
}

void CWnd::CancelToolTips(BOOL)
{
    auto& st = AfxGetWinThreadState();
    if (st.toolTip && st.toolTip->m_hWnd) {
        st.toolTip->SendMessage(TTM_ACTIVATE, FALSE);
        st.toolTip->SendMessage(TTM_ACTIVATE, TRUE);
    }
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* ti) const
{
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == m_hWnd || (::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) == 0) return -1;
    if (ti) {
        ti->hwnd = m_hWnd;
        ti->uId = (UINT_PTR)child;
        ti->uFlags |= TTF_IDISHWND;
        ti->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return ::GetDlgCtrlID(child);
}

BOOL AfxFillToolTipText(NMHDR* nm)
{
    if (nm->code != TTN_NEEDTEXTA && nm->code != TTN_NEEDTEXTW) return FALSE;
    auto* a = reinterpret_cast<NMTTDISPINFOA*>(nm);
    UINT_PTR id = nm->idFrom;
    if (a->uFlags & TTF_IDISHWND) id = (UINT_PTR)(UINT)::GetDlgCtrlID((HWND)id);
    if (id == 0 || id > 0xFFFF) return FALSE;
    CString full;
    if (!full.LoadString((UINT)id)) return FALSE;
    int nl = full.Find('\n');
    if (nl < 0) return FALSE;
    CString tip = full.Mid(nl + 1);
    int end = tip.Find('\n');
    if (end >= 0) tip = tip.Left(end);
    if (tip.IsEmpty()) return FALSE;
    if (nm->code == TTN_NEEDTEXTA) {
        // Kept per thread: the control reads the text after the notification returns.
        auto& keep = AfxGetWinThreadState().toolTipText;
        keep.assign((LPCSTR)tip, (size_t)tip.GetLength());
        a->lpszText = keep.data();
        a->hinst = nullptr;
    } else {
        auto* w = reinterpret_cast<NMTTDISPINFOW*>(nm);
        int n = ::MultiByteToWideChar(CP_ACP, 0, tip, -1, w->szText, (int)(sizeof w->szText / sizeof w->szText[0]));
        if (n == 0) w->szText[sizeof w->szText / sizeof w->szText[0] - 1] = 0;
        w->lpszText = w->szText;
        w->hinst = nullptr;
    }
    return TRUE;
}

LRESULT CWnd::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    INT_PTR id = OnToolHitTest(CPoint(lParam), &ti);
    if (id != -1 && ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(ti.lpszText))
        std::free(ti.lpszText);
    return id > 0 ? (LRESULT)(HID_BASE_COMMAND + (UINT)id) : 0;
}

// Tracks the tool under the cursor for windows with tooltips enabled: a new
// (window, id) replaces the tool, -1 hides it. Hit-test text allocated with malloc is
// freed after the control has copied it.
void CWnd::FilterToolTipMessage(MSG* msg)
{
    UINT m = msg->message;
    bool mouse = m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE || m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN ||
                 m == WM_MBUTTONDOWN || m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP;
    if (!mouse || !m_hWnd) return;
    auto& st = AfxGetWinThreadState();
    if (!st.toolTip) {
        auto* tip = new CToolTipCtrl;
        if (!tip->Create(nullptr)) {
            delete tip;
            return;
        }
        st.toolTip = tip;
        tip->SendMessage(TTM_ACTIVATE, TRUE);
    }
    CToolTipCtrl* tip = st.toolTip;
    POINT pt = msg->pt;
    ::ScreenToClient(m_hWnd, &pt);
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    INT_PTR hit = OnToolHitTest(CPoint(pt), &ti);
    HWND hitWnd = hit == -1 ? nullptr : ti.hwnd;
    if (hit != st.lastHitId || hitWnd != st.lastHitWnd || st.toolTipOwner != this) {
        if (st.lastHitWnd && ::IsWindow(st.lastHitWnd)) {
            TOOLINFOA old{};
            old.cbSize = sizeof old;
            old.hwnd = st.lastHitWnd;
            old.uId = st.lastToolId;
            tip->SendMessage(TTM_DELTOOLA, 0, (LPARAM)&old);
        }
        st.lastHitWnd = nullptr;
        st.lastHitId = -1;
        st.toolTipOwner = this;
        if (hit != -1) {
            if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect)) ::GetClientRect(ti.hwnd, &ti.rect);
            tip->SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
            st.lastHitWnd = ti.hwnd;
            st.lastHitId = hit;
            st.lastToolId = ti.uId;
        } else {
            tip->SendMessage(TTM_POP);
        }
    }
    if (hit != -1 && ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(ti.lpszText))
        std::free(ti.lpszText);
    if (hit != -1) tip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg);
}
