// The classic paint manager: construction and its palette, the fonts and the
// colour and brush tables rebuilt on every system event, colour lookup, and
// the operations whose whole behaviour is a constant or a forward.
#include "paint/paint_manager.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "toolkit/bar_types.h"
#include "paint/paint_log.h"
#include "paint/paint_system.h"

IMPLEMENT_DYNCREATE(VEzaPaintManager, CObject)

namespace {

const int kButtonFace = COLOR_BTNFACE;

// Red in 7 levels (outermost), green and blue in 6.
void CreateWidePalette(CPalette& palette) {
    const int count = 7 * 6 * 6;
    std::vector<BYTE> memory(offsetof(LOGPALETTE, palPalEntry) + count * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(memory.data());
    log->palVersion = 0x300;
    log->palNumEntries = count;
    int n = 0;
    for (int r = 0; r <= 6; ++r)
        for (int g = 0; g <= 5; ++g)
            for (int b = 0; b <= 5; ++b) {
                PALETTEENTRY& e = log->palPalEntry[n++];
                e.peRed = BYTE(r * 255 / 6);
                e.peGreen = BYTE(g * 51);
                e.peBlue = BYTE(b * 51);
                e.peFlags = 0;
            }
    if (!palette.CreatePalette(log))
        PaintLogFailure("paint manager: CreatePalette failed (error %lu)", (unsigned long)::GetLastError());
}

int CALLBACK StopAtTahoma(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM found) {
    if (::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, font->lfFaceName, -1, "Tahoma", -1) ==
        CSTR_EQUAL) {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
    }
    return 1;
}

bool TahomaInstalled() {
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) return false;
    bool found = false;
    ::EnumFontFamiliesA(dc, nullptr, &StopAtTahoma, reinterpret_cast<LPARAM>(&found));
    ::ReleaseDC(nullptr, dc);
    return found;
}

HFONT StockDefaultFont() {
    if (HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT)) return static_cast<HFONT>(font);
    return static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

LOGFONTA LogFontOf(const CFont& font) {
    LOGFONTA lf = {};
    font.GetLogFont(&lf);
    return lf;
}

void Replace(CFont& font, const LOGFONTA& lf) {
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

// The caption fonts are at most 11 pixels high.
LOGFONTA CaptionSized(const CFont& source) {
    LOGFONTA lf = LogFontOf(source);
    if (lf.lfHeight < -11) lf.lfHeight = -11;
    return lf;
}

}  // namespace

VEzaPaintManager::VEzaPaintManager() {
    m_mapColorTranslate.InitHashTable(17, FALSE);
    if (g_PaintManager.HasOs(VEzaPaintManagerAutoPtr::OsWin2000orLater)) m_nOptions |= OptPreferTahoma;
    m_DSS_DISABLED_style = DSS_DISABLED;
    m_nDockMarkerType = 3;
    CreateWidePalette(m_PaletteWide);
}

VEzaPaintManager::~VEzaPaintManager() = default;

// Object basics and identity

VEzaPaintManager::e_paint_manager_name_t VEzaPaintManager::OnQueryPaintManagerName() { return Classic; }

int VEzaPaintManager::GetSeparatorHeight() { return 6; }

void VEzaPaintManager::GetTabOneNoteItemColors(bool selected, bool hover, COLORREF& first, COLORREF& second,
                                               COLORREF& third, COLORREF& fourth, COLORREF& fifth) {
    if (hover) {
        first = second = fifth = RGB(0, 0, 128);
        third = RGB(233, 233, 244);
        fourth = RGB(179, 179, 217);
        return;
    }
    fifth = GetColor(COLOR_BTNTEXT);
    first = GetColor(selected ? COLOR_WINDOW : COLOR_BTNFACE);
    second = GetColor(COLOR_BTNSHADOW);
    third = fourth = GetColor(COLOR_BTNFACE);
}

void VEzaPaintManager::GetTabWhidbeyItemColors(bool selected, bool, COLORREF& first, COLORREF& second,
                                               COLORREF& third, COLORREF& fourth) {
    fourth = GetColor(COLOR_BTNTEXT);
    first = GetColor(COLOR_BTNSHADOW);
    second = third = GetColor(selected ? COLOR_WINDOW : COLOR_3DLIGHT);
}

bool VEzaPaintManager::OnQueryUseThemeColors() { return false; }

VEzaPaintManager::e_system_theme_t VEzaPaintManager::OnQuerySystemTheme() const {
    return e_system_theme_t(g_PaintManager.m_eXpScheme);
}

void VEzaPaintManager::OnPaintSessionComplete(CObject*, LPARAM) {}

// Non-client frame

bool VEzaPaintManager::NcFrame_IsSupported(const CWnd*, LPARAM) const { return false; }

HRGN VEzaPaintManager::NcFrame_GenerateSkinFrameRGN(const RECT&, const CWnd*, LPARAM) const { return nullptr; }

void VEzaPaintManager::NcFrame_GetMetrics(RECT& borders, RECT& caption, const CWnd*, LPARAM) const {
    ::SetRectEmpty(&borders);
    ::SetRectEmpty(&caption);
}

void VEzaPaintManager::NcFrame_Paint(CDC&, const VEzaCmdIcon*, LPCSTR, UINT, const RECT&, const RECT&, const RECT&,
                                     const RECT&, const RECT&, const RECT&, const RECT&, const RECT&, bool, bool,
                                     e_nc_button_state_t, e_nc_button_state_t, e_nc_button_state_t,
                                     e_nc_button_state_t, const CWnd*, LPARAM) const {}

CRect VEzaPaintManager::NcFrame_GetHtRect(UINT, bool, bool, bool, const VEzaCmdIcon*, const CWnd*, LPARAM) const {
    return CRect(0, 0, 0, 0);
}

void VEzaPaintManager::NcFrame_GetRects(const VEzaCmdIcon*, LPCSTR, UINT, RECT& rcIcon, RECT& rcText, RECT& rcHelp,
                                        RECT& rcMinimize, RECT& rcMaximizeRestore, RECT& rcClose, const CWnd*,
                                        LPARAM) const {
    for (RECT* r : {&rcIcon, &rcText, &rcHelp, &rcMinimize, &rcMaximizeRestore, &rcClose}) ::SetRectEmpty(r);
}

// Control bars, toolbars and the status bar

bool VEzaPaintManager::Bar_MiniDockFrameNcCalcSize(RECT&, CWnd*, CWnd*, LPARAM) { return false; }

bool VEzaPaintManager::Bar_MiniDockFrameCaptionCalcRect(RECT& rect, CWnd* miniFrame, CWnd*, LPARAM) {
    if (miniFrame == nullptr || miniFrame->GetSafeHwnd() == nullptr) return false;
    CRect r;
    miniFrame->GetWindowRect(&r);
    r.OffsetRect(-r.left, -r.top);
    r.DeflateRect(::GetSystemMetrics(SM_CXFRAME), 0);
    r.top += ::GetSystemMetrics(SM_CYFRAME);
    r.bottom = r.top + ::GetSystemMetrics(SM_CYSMSIZE);
    rect = r;
    return true;
}
void VEzaPaintManager::PaintResizableBarSeparator(CDC&, const CRect&, bool, CWnd*, LPARAM) {}
bool VEzaPaintManager::Bar_LayoutNcAreaButton(RECT&, const RECT&, CObject*, CObject*, CObject*, LPARAM) {
    return false;
}
CRect VEzaPaintManager::Bar_GetCaptionBordersForText(CWnd*, LPARAM) { return CRect(0, 0, 0, 0); }
int VEzaPaintManager::Bar_SeparatorWidthGet(CWnd*, LPARAM) { return -1; }
int VEzaPaintManager::Bar_SeparatorHeightGet(CWnd*, LPARAM) { return -1; }
int VEzaPaintManager::Bar_GripperWidthAtLeftGet(CWnd*, LPARAM) { return -1; }
int VEzaPaintManager::Bar_GripperHeightAtTopGet(CWnd*, LPARAM) { return -1; }
HFONT VEzaPaintManager::Bar_GetCaptionFont(bool, CWnd*, LPARAM) { return nullptr; }
CSize VEzaPaintManager::Toolbar_GetMinButtonSize(CObject*, LPARAM) { return CSize(0, 0); }
void VEzaPaintManager::Toolbar_AdjustButtonSize(CObject*, CSize&) {}
HFONT VEzaPaintManager::Toolbar_GetFont(bool, CWnd*, LPARAM) { return nullptr; }
bool VEzaPaintManager::Toolbar_GetBGInfo(RECT&, int&, int&, CWnd*, LPARAM) { return false; }
bool VEzaPaintManager::Toolbar_GetSizeOfCEB(CSize&, const CSize&, CDC&, bool, CObject*, LPARAM) { return false; }
bool VEzaPaintManager::StatusBar_QuerySkinSupport(const CWnd*, LPARAM) { return false; }
bool VEzaPaintManager::StatusBar_ErasePaneBackground(CDC&, int, const CRect&, const CWnd*, LPARAM) { return false; }
bool VEzaPaintManager::StatusBar_PaintPane(CDC&, int, const CRect&, DWORD, HICON, LPCSTR, UINT, const CWnd*,
                                           LPARAM) {
    return false;
}
bool VEzaPaintManager::StatusBar_PaintSeparator(CDC&, int, const CRect&, const CRect&, const CWnd*, LPARAM) {
    return false;
}

// Fonts, colours and metrics

bool VEzaPaintManager::AdjustControlFont(HFONT&, CObject*, LPARAM) { return false; }

const DLGTEMPLATE* VEzaPaintManager::AdjustDialogTemplate(const DLGTEMPLATE*, CObject*, bool, LPARAM) {
    return nullptr;
}

HFONT VEzaPaintManager::CreateDefaultFont() {
    NONCLIENTMETRICSA metrics = {};
    // The record as systems before the padded border know it.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        PaintLogFailure("paint manager: SystemParametersInfo(SPI_GETNONCLIENTMETRICS) failed (error %lu), stock font used",
                        (unsigned long)::GetLastError());
        return StockDefaultFont();
    }
    LOGFONTA lf = metrics.lfMenuFont;
    lf.lfCharSet = BYTE(::GetTextCharset(nullptr));
    if ((m_nOptions & OptPreferTahoma) != 0 && TahomaInstalled()) ::lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    if (HFONT font = ::CreateFontIndirectA(&lf)) return font;
    PaintLogFailure("paint manager: CreateFontIndirect(\"%s\") failed, stock font used", lf.lfFaceName);
    return StockDefaultFont();
}

void VEzaPaintManager::BuildFonts(HFONT normal) {
    m_FontNormal.DeleteObject();
    m_FontNormal.Attach(normal);
    const LOGFONTA base = LogFontOf(m_FontNormal);

    LOGFONTA bold = base;
    bold.lfWeight = 900;
    Replace(m_FontBold, bold);

    LOGFONTA symbol = base;
    symbol.lfCharSet = SYMBOL_CHARSET;
    symbol.lfWeight = 0;
    symbol.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK) - 1;
    ::lstrcpynA(symbol.lfFaceName, "Marlett", LF_FACESIZE);
    Replace(m_FontMarlett, symbol);

    // Systems whose default face does not turn draw rotated text in Arial.
    const bool arial = g_PaintManager.HasOs(VEzaPaintManagerAutoPtr::OsWin9x) ||
                       g_PaintManager.HasOs(VEzaPaintManagerAutoPtr::OsWinNT4);
    auto turned = [arial](const CFont& source, int escapement) {
        LOGFONTA lf = LogFontOf(source);
        lf.lfEscapement = escapement;
        if (arial) ::lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
        return lf;
    };
    Replace(m_FontNormalVert, turned(m_FontNormal, 2700));
    Replace(m_FontNormalVertX, turned(m_FontNormal, 900));
    Replace(m_FontBoldVert, turned(m_FontBold, 2700));
    Replace(m_FontBoldVertX, turned(m_FontBold, 900));

    Replace(m_FontNormalBC, CaptionSized(m_FontNormal));
    Replace(m_FontNormalVertBC, CaptionSized(m_FontNormalVert));
    Replace(m_FontNormalVertXBC, CaptionSized(m_FontNormalVertX));
    Replace(m_FontBoldBC, CaptionSized(m_FontBold));
    Replace(m_FontBoldVertBC, CaptionSized(m_FontBoldVert));
    Replace(m_FontBoldVertXBC, CaptionSized(m_FontBoldVertX));
}

void VEzaPaintManager::SyncSysColors() {
    g_PaintManager.stat_DetectXpTheme();
    m_FontNormal.DeleteObject();
    BuildFonts(CreateDefaultFont());

    const VEzaPaintSystem& system = VEzaGetPaintSystem();
    if (m_colors.GetSize() < kSysColorCount) {
        const COLORREF face = system.pfnGetSysColor(kButtonFace);
        while (m_colors.GetSize() < kSysColorCount) m_colors.Add(face);
    }
    if (m_brushes.GetSize() < kSysColorCount) {
        const HBRUSH face = system.pfnGetSysColorBrush(kButtonFace);
        while (m_brushes.GetSize() < kSysColorCount) m_brushes.Add(face);
    }
    for (int i = 0; i < kSysColorCount; ++i) {
        m_colors[i] = system.pfnGetSysColor(i);
        m_brushes[i] = system.pfnGetSysColorBrush(i);
    }
}

HBRUSH VEzaPaintManager::GetBrush(int index) {
    if (index < 0 || index >= m_brushes.GetSize()) index = kButtonFace;
    // Before the first system event the table is empty: the system's brush.
    if (index >= m_brushes.GetSize()) return VEzaGetPaintSystem().pfnGetSysColorBrush(kButtonFace);
    return m_brushes[index];
}

COLORREF VEzaPaintManager::GetColor(int index, CObject*, LPARAM) {
    if (index >= 1000) {
        int mapped = kButtonFace;
        if (!m_mapColorTranslate.Lookup(index, mapped)) mapped = kButtonFace;
        index = mapped;
    }
    if (index < 0 || index >= m_colors.GetSize()) index = kButtonFace;
    if (index >= m_colors.GetSize()) return VEzaGetPaintSystem().pfnGetSysColor(kButtonFace);
    return m_colors[index];
}

COLORREF VEzaPaintManager::GetMenuFrameFillColor(CObject*, LPARAM) { return GetColor(1000); }

COLORREF VEzaPaintManager::GetShadowAdjustColor() { return COLORREF(-1); }

void VEzaPaintManager::FixedBar_AdjustClientRect(const CWnd* bar, CRect& rect) {
    // A docked bar's parent is the frame's dock bar of its side.
    const CWnd* dockBar = bar != nullptr && bar->GetSafeHwnd() != nullptr ? bar->GetParent() : nullptr;
    const UINT side = dockBar != nullptr ? UINT(dockBar->GetDlgCtrlID()) : 0;
    if (side == AFX_IDW_DOCKBAR_LEFT || side == AFX_IDW_DOCKBAR_RIGHT)
        rect.DeflateRect(1, 3);
    else
        rect.DeflateRect(3, 1);
}

int VEzaPaintManager::FixedBar_GetRowDistance(const CWnd* toolbar) {
    return toolbar != nullptr && toolbar->IsKindOf(RUNTIME_CLASS(VEzaMenuControlBar)) ? 0 : 6;
}

bool VEzaPaintManager::FixedBar_IsPaintRowBkMode(const CWnd*) { return false; }

int VEzaPaintManager::InstallColor(COLORREF colour) { return int(m_colors.Add(colour)); }

void VEzaPaintManager::InstallTranslation(int id, int index) { m_mapColorTranslate.SetAt(id, index); }

void VEzaPaintManager::InitTranslatedColors() {
    m_mapColorTranslate.RemoveAll();
    static const struct {
        int index;
        int ids[4];
    } kTable[] = {
        {COLOR_BTNFACE, {1000, 1001, 2000, 0}},
        {COLOR_3DLIGHT, {1002, 1003, 2002, 0}},
        {COLOR_BTNHIGHLIGHT, {1004, 1005, 2004, 0}},
        {COLOR_BTNSHADOW, {1006, 1007, 2006, 0}},
        {COLOR_3DDKSHADOW, {1008, 1009, 2008, 0}},
        {COLOR_WINDOWTEXT, {1010, 1011, 1014, 1015}},
        {COLOR_BTNSHADOW, {2010, 0, 0, 0}},
        {COLOR_WINDOW, {1012, 1013, 0, 0}},
        {COLOR_HIGHLIGHTTEXT, {1016, 1017, 0, 0}},
        {COLOR_BTNFACE, {1018, 1020, 0, 0}},
        {COLOR_HIGHLIGHT, {1019, 1021, 0, 0}},
    };
    for (const auto& row : kTable)
        for (int id : row.ids)
            if (id != 0) InstallTranslation(id, row.index);
}

CSize VEzaPaintManager::GetPushedOffset() { return CSize(1, 1); }

// Painting of elements

void VEzaPaintManager::PaintFloatToolbarRowBk(CDC&, const CWnd*, int, const CRect&) {}

int VEzaPaintManager::GetMenuExpandButtonHeight() { return ::GetSystemMetrics(SM_CYMENUCHECK); }

void VEzaPaintManager::GetThemeAccentTabColors(COLORREF* setUpper, COLORREF* setLower, COLORREF* upperHighlight,
                                               COLORREF* lowerShadow, CObject*, LPARAM) {
    if (setUpper != nullptr) *setUpper = GetColor(COLOR_BTNTEXT);
    if (setLower != nullptr) *setLower = GetColor(1000);
    if (upperHighlight != nullptr) *upperHighlight = GetColor(COLOR_BTNHIGHLIGHT);
    if (lowerShadow != nullptr) *lowerShadow = GetColor(COLOR_3DDKSHADOW);
}

bool VEzaPaintManager::QueryTabWndHoverChangingRedraw(const CWnd*, LPARAM) { return false; }

void VEzaPaintManager::PaintTabNcAreaRect(CDC& dc, const RECT& rect, CObject*, LPARAM) {
    dc.Draw3dRect(&rect, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNHIGHLIGHT));
}

void VEzaPaintManager::TabWnd_UpdateItemMeasure(CWnd*, CObject*, CDC&, CSize&) {}

void VEzaPaintManager::PaintResizableBarChildNcAreaRect(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) {
    VEzaPaintManager::PaintTabNcAreaRect(dc, rect, object, lParam);
}

CSize VEzaPaintManager::GetCheckButtonBoxSize() { return CSize(13, 13); }
CSize VEzaPaintManager::GetRadioButtonBoxSize() { return CSize(13, 13); }
CSize VEzaPaintManager::GetDropDividerMerics() { return CSize(6, 6); }
int VEzaPaintManager::TearOff_GetCaptionHeight() { return 8; }
void VEzaPaintManager::TearOff_GetCaptionPaint(CDC&, const CRect&, bool, bool, CObject*, LPARAM) {}

int VEzaPaintManager::GetTextHeight(bool) {
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) return 2;
    HGDIOBJ old = ::SelectObject(dc, m_FontNormal.GetSafeHandle() != nullptr ? m_FontNormal.GetSafeHandle()
                                                                              : StockDefaultFont());
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return tm.tmHeight + 2;
}

int VEzaPaintManager::GetTipShadowSize() { return 3; }
int VEzaPaintManager::GetMenuShadowSize() { return 4; }
CRect VEzaPaintManager::GetMenuBorderMetrics(const CWnd*, LPARAM) { return CRect(2, 2, 2, 2); }
bool VEzaPaintManager::IsMenuMustCombineExcludeArea() { return false; }
bool VEzaPaintManager::IsToolBarChevronMenuCombined() { return false; }
int VEzaPaintManager::GetThemeDockingType() { return 0; }
int VEzaPaintManager::GetAutoHideTabsType() { return 0; }
bool VEzaPaintManager::IsCustomBackgroundInheritanceEnabled() {
    return (m_nOptions & OptCustomBackgroundInheritance) != 0;
}
bool VEzaPaintManager::GetCustomBackgroundInheritanceMode(CObject*, LPARAM) {
    return IsCustomBackgroundInheritanceEnabled();
}
bool VEzaPaintManager::GetCb2DbTransparentMode(CObject* object, LPARAM lParam) {
    return GetCustomBackgroundInheritanceMode(object, lParam);
}

bool VEzaPaintManager::PaintDockerBkgnd(bool, CDC& dc, const CRect& rect, const CRect&, LPARAM) {
    dc.FillSolidRect(&rect, GetColor(1000));
    return true;
}

// System events

void VEzaPaintManager::OnSysColorChange() {
    OnPaintSessionComplete(nullptr, 0);
    SyncSysColors();
    InitTranslatedColors();
    InitHelperBrushes();
}

void VEzaPaintManager::OnSettingChange(UINT, LPCSTR) { OnSysColorChange(); }
void VEzaPaintManager::OnDisplayChange(INT, CPoint) { OnSysColorChange(); }
void VEzaPaintManager::OnThemeChanged(WPARAM, LPARAM) { OnSysColorChange(); }

// Other elements

CSize VEzaPaintManager::GetToolBarButtonOffset(bool) const { return CSize(0, 0); }
COLORREF VEzaPaintManager::GetIconAlphaColor() const { return COLORREF(-1); }
double VEzaPaintManager::GetIconAlphaAdjustPercent() const { return 0.0; }
CSize VEzaPaintManager::FixedBar_GetRoundedAreaMerics() const { return CSize(0, 0); }
CRect VEzaPaintManager::TaskPaneQueryMarginsPage(const CWnd*, LPARAM) const { return CRect(12, 9, 12, 12); }
int VEzaPaintManager::TaskPaneQueryGroupSpacing(const CWnd*, LPARAM) const { return 15; }
int VEzaPaintManager::TaskPaneQueryGroupCaptionMinHeight(const CWnd*, LPARAM) const { return 25; }
CRect VEzaPaintManager::TaskPaneQueryGroupCaptionTextMargins(const CWnd*, LPARAM) const {
    return CRect(13, 0, 2, 0);
}

CFont* VEzaPaintManager::TaskPaneQueryGroupCaptionFont(const CWnd*, LPARAM) {
    auto* font = new CFont;
    LOGFONTA lf = {};
    if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) {
        lf.lfWeight = 700;
        if (font->CreateFontIndirect(&lf)) return font;
    }
    lf = LogFontOf(m_FontNormal);
    lf.lfWeight = 700;
    font->CreateFontIndirect(&lf);
    return font;
}

CRect VEzaPaintManager::DockMarker_GetOuterDistance() {
    return m_nDockMarkerType == 2 || m_nDockMarkerType == 3 ? CRect(5, 5, 5, 5) : CRect(0, 0, 0, 0);
}

bool VEzaPaintManager::DockMarker_IsAdjustBmpsRequired(int) const { return m_nDockMarkerType == 1; }

void VEzaPaintManager::DockMarker_AdjustBmps(int markerType, CBitmap& hover, COLORREF hoverTransparent,
                                             CBitmap& idle, COLORREF idleTransparent) {
    if (!DockMarker_IsAdjustBmpsRequired(markerType) || markerType == 4) return;
    if (stat_GetBPP() > 8) {
        stat_ReplaceBitmapHLS(idle, idleTransparent, 0, 0.0, 0.35, 0.0);
        return;
    }
    stat_ReplaceBitmapHLS(idle, idleTransparent, 0, 0.0, 0.3, -1.0);
    stat_ReplaceBitmapHLS(hover, hoverTransparent, 0, 0.0, -0.15, -1.0);
}

void VEzaPaintManager::PaintBarButtonCombinedArea(CDC&, CObject*, LPARAM) {}

COLORREF VEzaPaintManager::QueryObjectTextColor(CDC&, bool, bool, bool, bool, CObject*, LPARAM) {
    return COLORREF(-1);
}

bool VEzaPaintManager::PaintGroupBoxFrame(CDC&, const CRect&, CObject*, LPARAM) { return false; }

bool VEzaPaintManager::PaintGroupBoxLabel(CDC&, LPCSTR, int, HFONT, COLORREF, bool, const CRect&, CObject*, LPARAM) {
    return false;
}
