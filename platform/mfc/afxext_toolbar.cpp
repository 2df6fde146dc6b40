// Toolbars over the toolbar common control.
#include "afxwin.h"

#include <algorithm>
#include <climits>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

namespace {

#pragma pack(push, 2)
struct ToolBarResource {
    WORD version;  // 1
    WORD width;
    WORD height;
    WORD count;
    // WORD ids[count] follow
};
#pragma pack(pop)

// Command UI of one toolbar button (m_pOther is the toolbar, m_nIndex the button).
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CToolBar*>(m_pOther);
        UINT style = bar->GetButtonStyle((int)m_nIndex) & ~TBBS_DISABLED;
        // A disabled button must not stay pressed.
        if (!on) style = (style | TBBS_DISABLED) & ~TBBS_PRESSED;
        bar->SetButtonStyle((int)m_nIndex, style);
    }
    void SetCheck(int check) override
    {
        auto* bar = static_cast<CToolBar*>(m_pOther);
        UINT style = bar->GetButtonStyle((int)m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (check == 1)
            style |= TBBS_CHECKED;
        else if (check == 2)
            style |= TBBS_INDETERMINATE;
        bar->SetButtonStyle((int)m_nIndex, style | TBBS_CHECKBOX);
    }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(LPCSTR) override {}  // buttons show pictures
};

void InitToolbarClass()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

}  // namespace

CToolBar::CToolBar() : m_sizeButton(23, 22), m_sizeImage(16, 15)
{
    // A little more room above and below for grabbing the bar.
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CToolBar::~CToolBar()
{
    m_bAutoDelete = FALSE;  // being deleted already
    DestroyWindow();
    if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id)
{
    InitToolbarClass();
    SetBorders(borders);
    m_dwStyle = style & CBRS_ALL;
    if (id == AFX_IDW_TOOLBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
    // The bar lays the control out; the control must not place itself.
    DWORD wndStyle = (style & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | ctrlStyle;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, wndStyle, CRect(0, 0, 0, 0), parent, id)) return FALSE;
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

int CToolBar::OnCreate(LPCREATESTRUCTA cs)
{
    if (CControlBar::OnCreate(cs) == -1) return -1;
    if (m_hWndOwner) DefWindowProc(TB_SETPARENT, (WPARAM)m_hWndOwner, 0);
    DefWindowProc(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return 0;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    if (!m_hWnd) return;
    DefWindowProc(TB_SETBITMAPSIZE, 0, MAKELONG(image.cx, image.cy));
    DefWindowProc(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
    Invalidate();
}

void CToolBar::SetHeight(int height)
{
    // The height the buttons leave: shared out as top and bottom margins.
    int extra = height - m_sizeButton.cy;
    m_cyTopBorder = extra / 2;
    m_cyBottomBorder = extra - m_cyTopBorder;
}

BOOL CToolBar::LoadToolBar(LPCSTR resourceName)
{
    HINSTANCE inst = AfxFindResourceHandle(resourceName, RT_TOOLBAR);
    HRSRC res = ::FindResourceA(inst, resourceName, RT_TOOLBAR);
    if (!res) return FALSE;
    HGLOBAL global = ::LoadResource(inst, res);
    auto* data = global ? static_cast<const ToolBarResource*>(::LockResource(global)) : nullptr;
    DWORD bytes = ::SizeofResource(inst, res);
    if (!data || bytes < sizeof(ToolBarResource) || data->version != 1 ||
        bytes < sizeof(ToolBarResource) + data->count * sizeof(WORD))
        return FALSE;
    auto* ids16 = reinterpret_cast<const WORD*>(data + 1);
    std::vector<UINT> ids(ids16, ids16 + data->count);
    if (!SetButtons(ids.data(), (int)ids.size())) return FALSE;
    SetSizes(CSize(data->width + 7, data->height + 7), CSize(data->width, data->height));
    return LoadBitmap(resourceName);
}

BOOL CToolBar::LoadBitmap(LPCSTR resourceName)
{
    HINSTANCE inst = AfxFindResourceHandle(resourceName, (LPCSTR)RT_BITMAP);
    HRSRC res = ::FindResourceA(inst, resourceName, (LPCSTR)RT_BITMAP);
    if (!res) return FALSE;
    // Greys of the picture become the button colours of the system.
    auto bitmap = (HBITMAP)::LoadImageA(inst, resourceName, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    if (!bitmap) return FALSE;
    m_hRsrcImageWell = res;
    return SetBitmap(bitmap);
}

BOOL CToolBar::SetBitmap(HBITMAP bitmap)
{
    if (!bitmap || !m_hWnd) return FALSE;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    int images = m_sizeImage.cx > 0 ? info.bmWidth / m_sizeImage.cx : 0;
    BOOL ok;
    if (m_hbmImageWell) {
        TBREPLACEBITMAP replace{nullptr, (UINT_PTR)m_hbmImageWell, nullptr, (UINT_PTR)bitmap, images};
        ok = DefWindowProc(TB_REPLACEBITMAP, 0, (LPARAM)&replace) != 0;
    } else {
        TBADDBITMAP add{nullptr, (UINT_PTR)bitmap};
        ok = DefWindowProc(TB_ADDBITMAP, images, (LPARAM)&add) != -1;
    }
    if (!ok) {
        ::DeleteObject(bitmap);
        return FALSE;
    }
    if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = bitmap;
    Invalidate();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (!m_hWnd || count < 0) return FALSE;
    for (int n = (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0); n > 0; --n) DefWindowProc(TB_DELETEBUTTON, 0, 0);
    TBBUTTON button{};
    button.iString = -1;
    int image = 0;
    for (int i = 0; i < count; ++i) {
        button.fsState = TBSTATE_ENABLED;
        button.idCommand = ids ? (int)ids[i] : 0;
        if (ids && ids[i] == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = (GetStyle() & TBSTYLE_FLAT) ? 6 : 8;  // the separator's width
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = ids ? image++ : 0;
        }
        if (!DefWindowProc(TB_ADDBUTTONSA, 1, (LPARAM)&button)) return FALSE;
    }
    m_nCount = (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0);
    return TRUE;
}

// ---- buttons

BOOL CToolBar::GetButton(int index, TBBUTTON* button) const
{
    auto* self = const_cast<CToolBar*>(this);
    if (!m_hWnd || !self->DefWindowProc(TB_GETBUTTON, (WPARAM)index, (LPARAM)button)) {
        *button = TBBUTTON{};
        return FALSE;
    }
    button->fsState ^= TBSTATE_ENABLED;
    return TRUE;
}

void CToolBar::SetButton(int index, TBBUTTON* button)
{
    TBBUTTON old{};
    if (!DefWindowProc(TB_GETBUTTON, (WPARAM)index, (LPARAM)&old)) return;
    BYTE state = button->fsState ^ TBSTATE_ENABLED;
    if (old.idCommand == button->idCommand && old.iBitmap == button->iBitmap && old.fsStyle == button->fsStyle &&
        old.fsState == state)
        return;
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STATE | TBIF_STYLE;
    info.idCommand = button->idCommand;
    info.fsState = state;
    info.fsStyle = button->fsStyle;
    if (button->fsStyle & TBSTYLE_SEP) {
        info.dwMask |= TBIF_SIZE;  // a separator's "image" is its width
        info.cx = (WORD)button->iBitmap;
    } else {
        info.dwMask |= TBIF_IMAGE;
        info.iImage = button->iBitmap;
    }
    DefWindowProc(TB_SETBUTTONINFOA, (WPARAM)index, (LPARAM)&info);
    if ((old.fsStyle ^ button->fsStyle) & TBSTYLE_SEP) {
        Invalidate();
    } else {
        RECT r;
        if (DefWindowProc(TB_GETITEMRECT, (WPARAM)index, (LPARAM)&r)) InvalidateRect(&r);
    }
}

int CToolBar::CommandToIndex(UINT id) const
{
    if (!m_hWnd) return -1;
    return (int)const_cast<CToolBar*>(this)->DefWindowProc(TB_COMMANDTOINDEX, id, 0);
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button;
    GetButton(index, &button);
    return (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (!m_hWnd || !const_cast<CToolBar*>(this)->DefWindowProc(TB_GETITEMRECT, (WPARAM)index, (LPARAM)rect))
        ::SetRectEmpty(rect);
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button;
    GetButton(index, &button);
    return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    TBBUTTON button;
    if (!GetButton(index, &button)) return;
    button.fsStyle = (BYTE)LOWORD(style);
    button.fsState = (BYTE)HIWORD(style);
    SetButton(index, &button);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    TBBUTTON button;
    GetButton(index, &button);
    id = (UINT)button.idCommand;
    style = MAKELONG(button.fsStyle, button.fsState);
    image = button.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    TBBUTTON button;
    if (!GetButton(index, &button)) return;
    button.idCommand = (int)id;
    button.fsStyle = (BYTE)LOWORD(style);
    button.fsState = (BYTE)HIWORD(style);
    button.iBitmap = image;
    SetButton(index, &button);
}

BOOL CToolBar::SetButtonText(int index, LPCSTR text)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = const_cast<LPSTR>(text);
    return DefWindowProc(TB_SETBUTTONINFOA, (WPARAM)index, (LPARAM)&info) != 0;
}

CString CToolBar::GetButtonText(int index) const
{
    char text[1025] = "";
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = text;
    info.cchText = (int)sizeof text;
    if (const_cast<CToolBar*>(this)->DefWindowProc(TB_GETBUTTONINFOA, (WPARAM)index, (LPARAM)&info) < 0) return CString();
    return CString(text);
}

// ---- layout

CSize CToolBar::Layout(int width, bool oneColumn)
{
    int count = (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0);
    // Row breaks: every button in one column, else where the next one would not fit.
    std::vector<bool> wrap((size_t)count, false);
    int x = 0;
    int previous = -1;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        DefWindowProc(TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
        if (b.fsState & TBSTATE_HIDDEN) continue;
        int w = (b.fsStyle & TBSTYLE_SEP) ? b.iBitmap : m_sizeButton.cx;
        if (oneColumn) {
            wrap[(size_t)i] = true;
            continue;
        }
        if (x > 0 && x + w > width && previous >= 0) {
            wrap[(size_t)previous] = true;
            x = 0;
        }
        x += w;
        previous = i;
    }
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        DefWindowProc(TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
        bool has = (b.fsState & TBSTATE_WRAP) != 0;
        if (has == wrap[(size_t)i]) continue;
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        info.fsState = wrap[(size_t)i] ? (b.fsState | TBSTATE_WRAP) : (b.fsState & ~TBSTATE_WRAP);
        DefWindowProc(TB_SETBUTTONINFOA, (WPARAM)i, (LPARAM)&info);
    }
    // The control places the buttons; the bar takes their extent.
    CRect bounds(0, 0, 0, 0);
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&r) && !::IsRectEmpty(&r)) bounds.UnionRect(bounds, &r);
    }
    return CSize(bounds.right, bounds.bottom);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    CSize size = Layout(horz ? INT_MAX : 0, !horz);
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horz);
    size.cx -= inside.Width();
    size.cy -= inside.Height();
    if (stretch) {
        if (horz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZDOCK);
    BOOL horz = (mode & LM_HORZ) != 0;
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horz);
    CSize size;
    if (mode & LM_MRUWIDTH) {
        size = Layout((int)m_nMRUWidth + inside.Width(), false);
    } else if (length >= 0 && (mode & LM_LENGTHY)) {
        // The narrowest layout whose height fits the length.
        int count = std::max(m_nCount, 1);
        size = Layout(INT_MAX, false);
        for (int columns = 1; columns <= count; ++columns) {
            CSize trial = Layout(columns * m_sizeButton.cx, false);
            if (trial.cy - inside.Height() <= length) {
                size = trial;
                break;
            }
        }
    } else if (length >= 0) {
        size = Layout(length + inside.Width(), false);
    } else {
        size = Layout(horz ? INT_MAX : 0, !horz);
    }
    size.cx -= inside.Width();
    size.cy -= inside.Height();
    if (mode & LM_COMMIT) m_nMRUWidth = (UINT)size.cx;
    return size;
}

// ---- command UI, tooltips, styles

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)DefWindowProc(TB_BUTTONCOUNT, 0, 0);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON button;
        GetButton((int)state.m_nIndex, &button);
        if (button.fsStyle & TBSTYLE_SEP) continue;
        state.m_nID = (UINT)button.idCommand;
        // The bar's own update handlers first, then the frame's route.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
        state.DoUpdate(target, disableIfNoHandler);
    }
    UpdateDialogControls(target, disableIfNoHandler);
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFOA* ti) const
{
    if (!m_hWnd) return -1;
    int hit = (int)const_cast<CToolBar*>(this)->DefWindowProc(TB_HITTEST, 0, (LPARAM)&point);
    if (hit < 0 || hit >= (int)const_cast<CToolBar*>(this)->DefWindowProc(TB_BUTTONCOUNT, 0, 0)) return -1;
    TBBUTTON button;
    GetButton(hit, &button);
    if ((button.fsStyle & TBSTYLE_SEP) || button.idCommand == 0) return -1;
    if (ti) {
        ti->hwnd = m_hWnd;
        GetItemRect(hit, &ti->rect);
        ti->uId = (UINT_PTR)button.idCommand;
        ti->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return button.idCommand;
}

void CToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle)
{
    if ((oldStyle ^ newStyle) & CBRS_TOOLTIPS) EnableToolTips((newStyle & CBRS_TOOLTIPS) != 0);
    Invalidate();
}

// ---- painting: the control paints its buttons, the bar its borders

void CToolBar::OnPaint() { Default(); }
BOOL CToolBar::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    params->rgrc[0].left += inside.left;
    params->rgrc[0].top += inside.top;
    params->rgrc[0].right += inside.right;
    params->rgrc[0].bottom += inside.bottom;
}

void CToolBar::OnNcPaint() { EraseNonClient(); }
