// Status bars over the status bar common control.
#include "afxwin.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

namespace {

// Room around a pane's text, besides the control's own borders.
constexpr int kPaneBorder = 6;

// Command UI of one pane (m_pOther is the status bar, m_nIndex the pane).
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
        if (!on) style |= SBPS_DISABLED;
        bar->SetPaneStyle((int)m_nIndex, style);
    }
    void SetCheck(int check) override
    {
        // A checked pane pops out.
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
        if (check) style |= SBPS_POPOUT;
        bar->SetPaneStyle((int)m_nIndex, style);
    }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(LPCSTR text) override { static_cast<CStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, text); }
};

}  // namespace

CStatusBar::CStatusBar()
{
    m_cyTopBorder = 2;
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar()
{
    m_bAutoDelete = FALSE;  // being deleted already
    DestroyWindow();
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, id); }

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id)
{
    static const bool classes = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)classes;
    m_dwStyle = style & CBRS_ALL;
    DWORD wndStyle = (style & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | ctrlStyle;
    // The grip resizes the parent: only for a parent with a sizing border.
    if (parent && (parent->GetStyle() & WS_THICKFRAME)) wndStyle |= SBARS_SIZEGRIP;
    return CWnd::Create(STATUSCLASSNAMEA, nullptr, wndStyle, CRect(0, 0, 0, 0), parent, id);
}

CStatusBar::Pane* CStatusBar::PaneAt(int index)
{
    if (index < 0 || index >= (int)m_panes.size()) AfxThrowInvalidArgException();
    return &m_panes[(size_t)index];
}

const CStatusBar::Pane* CStatusBar::PaneAt(int index) const
{
    if (index < 0 || index >= (int)m_panes.size()) AfxThrowInvalidArgException();
    return &m_panes[(size_t)index];
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (count < 0 || count > 255) return FALSE;  // the control has at most 255 parts
    m_panes.assign((size_t)count, Pane{});
    m_nCount = count;
    BOOL ok = TRUE;
    if (ids) {
        // Widths measured with the bar's font on the screen.
        HDC dc = ::GetDC(nullptr);
        HFONT font = m_hWnd ? (HFONT)SendMessage(WM_GETFONT) : nullptr;
        HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
        for (int i = 0; i < count; ++i) {
            Pane& pane = m_panes[(size_t)i];
            pane.nID = ids[i];
            pane.pending = true;
            if (pane.nID != 0) {
                if (!pane.strText.LoadString(pane.nID)) {
                    ::OutputDebugStringA("CStatusBar::SetIndicators: an indicator's string is missing\n");
                    ok = FALSE;
                    continue;
                }
                SIZE extent{};
                ::GetTextExtentPoint32A(dc, pane.strText, pane.strText.GetLength(), &extent);
                pane.cxText = extent.cx;
            } else {
                // A pane without its own text: a quarter of the screen; the first stretches.
                pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0) pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
            }
        }
        if (oldFont) ::SelectObject(dc, oldFont);
        ::ReleaseDC(nullptr, dc);
    }
    UpdateAllPanes(TRUE, TRUE);
    return ok;
}

void CStatusBar::UpdateAllPanes(BOOL updateRects, BOOL updateText)
{
    if (!m_hWnd) return;
    if (updateRects && !m_panes.empty()) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int borders[3] = {0, 0, 0};  // horizontal, vertical, between parts
        DefWindowProc(SB_GETBORDERS, 0, (LPARAM)borders);
        // What the panes leave over goes to the stretching ones, in equal shares.
        int extra = rect.Width() + borders[2];
        int stretchy = 0;
        for (const Pane& pane : m_panes) {
            if (pane.nStyle & SBPS_STRETCH) ++stretchy;
            extra -= pane.cxText + kPaneBorder + borders[2];
        }
        std::vector<int> rights(m_panes.size());
        int right = borders[0];
        for (size_t i = 0; i < m_panes.size(); ++i) {
            const Pane& pane = m_panes[i];
            right += pane.cxText + kPaneBorder;
            if ((pane.nStyle & SBPS_STRETCH) && extra > 0 && stretchy > 0) {
                int share = extra / stretchy;
                right += share;
                extra -= share;
                --stretchy;
            }
            rights[i] = right;
            right += borders[2];
        }
        DefWindowProc(SB_SETPARTS, (WPARAM)rights.size(), (LPARAM)rights.data());
    }
    if (updateText) {
        for (size_t i = 0; i < m_panes.size(); ++i)
            if (m_panes[i].pending) SetPaneText((int)i, m_panes[i].strText);
    }
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].nID == id) return (int)i;
    return -1;
}

UINT CStatusBar::GetItemID(int index) const { return PaneAt(index)->nID; }

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    PaneAt(index);
    if (!const_cast<CStatusBar*>(this)->DefWindowProc(SB_GETRECT, (WPARAM)index, (LPARAM)rect)) ::SetRectEmpty(rect);
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane* pane = PaneAt(index);
    id = pane->nID;
    style = pane->nStyle;
    width = pane->cxText;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    Pane* pane = PaneAt(index);
    bool relayout = false;
    pane->nID = id;
    if (pane->nStyle != style) {
        if ((pane->nStyle ^ style) & SBPS_STRETCH) {
            relayout = true;
        } else {
            pane->nStyle = style;
            pane->pending = true;
            SetPaneText(index, pane->strText);
        }
        pane->nStyle = style;
    }
    if (width != pane->cxText) {
        pane->cxText = width;
        relayout = true;
    }
    if (relayout) UpdateAllPanes(TRUE, FALSE);
}

UINT CStatusBar::GetPaneStyle(int index) const { return PaneAt(index)->nStyle; }

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    Pane* pane = PaneAt(index);
    if (pane->nStyle == style) return;
    bool stretchChanged = ((pane->nStyle ^ style) & SBPS_STRETCH) != 0;
    pane->nStyle = style;
    pane->pending = true;
    SetPaneText(index, pane->strText);
    if (stretchChanged) UpdateAllPanes(TRUE, FALSE);
}

CString CStatusBar::GetPaneText(int index) const { return PaneAt(index)->strText; }

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update)
{
    Pane* pane = PaneAt(index);
    CString next = text ? CString(text) : CString();
    if (!pane->pending && pane->strText == next) return TRUE;
    pane->strText = next;
    if (!update || !m_hWnd) {
        pane->pending = true;
        return TRUE;
    }
    pane->pending = false;
    // A disabled pane keeps its text but shows none.
    LPCSTR shown = (pane->nStyle & SBPS_DISABLED) ? nullptr : (LPCSTR)pane->strText;
    DefWindowProc(SB_SETTEXTA, (WPARAM)(((WORD)pane->nStyle) | (UINT)index), (LPARAM)shown);
    return TRUE;
}

// ---- layout and command UI

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL horz)
{
    TEXTMETRICA tm{};
    HDC dc = ::GetDC(nullptr);
    HFONT font = m_hWnd ? (HFONT)SendMessage(WM_GETFONT) : nullptr;
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    ::GetTextMetricsA(dc, &tm);
    if (oldFont) ::SelectObject(dc, oldFont);
    ::ReleaseDC(nullptr, dc);
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horz);
    int borders[3] = {0, 0, 0};
    if (m_hWnd) DefWindowProc(SB_GETBORDERS, 0, (LPARAM)borders);
    // One line of text, the control's borders above and below, and the bar's own.
    CSize size(32767, tm.tmHeight - tm.tmInternalLeading - 1 + borders[1] * 2 + ::GetSystemMetrics(SM_CYBORDER) * 2 -
                          inside.Height());
    if (size.cy < m_nMinHeight) size.cy = m_nMinHeight;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_panes.size();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // The bar's own update handlers first; panes are never disabled for want of one.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
        state.DoUpdate(target, FALSE);
    }
    UpdateDialogControls(target, disableIfNoHandler);
}

// ---- messages

void CStatusBar::OnPaint()
{
    UpdateAllPanes(FALSE, TRUE);
    Default();
}

BOOL CStatusBar::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }

void CStatusBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    (void)type, (void)cx, (void)cy;
    UpdateAllPanes(TRUE, FALSE);
}

void CStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, TRUE);
    params->rgrc[0].left += inside.left;
    params->rgrc[0].top += inside.top;
    params->rgrc[0].right += inside.right;
    params->rgrc[0].bottom += inside.bottom;
}

void CStatusBar::OnNcPaint() { EraseNonClient(); }

LRESULT CStatusBar::OnNcHitTest(CPoint)
{
    // The grip sizes the frame; anywhere else is the bar's client area.
    LRESULT hit = Default();
    return hit == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    int index = CommandToIndex(0);
    if (index < 0) return -1;
    return SetPaneText(index, (LPCSTR)lParam) ? 0 : -1;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    int index = CommandToIndex(0);
    if (index < 0 || wParam == 0 || !lParam) return 0;
    const CString& text = m_panes[(size_t)index].strText;
    int n = std::min((int)wParam - 1, text.GetLength());
    ::memcpy((char*)lParam, (LPCSTR)text, (size_t)n);
    ((char*)lParam)[n] = '\0';
    return n;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    int index = CommandToIndex(0);
    return index < 0 ? 0 : m_panes[(size_t)index].strText.GetLength();
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = DefWindowProc(SB_SETMINHEIGHT, wParam, lParam);
    m_nMinHeight = (int)wParam;
    return r;
}
