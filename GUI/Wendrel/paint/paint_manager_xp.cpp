// The XP paint manager: the flat look, with colours mixed from the system
// colours and appended to the colour table.
#include "paint/paint_manager.h"
#include "paint/paint_system.h"

IMPLEMENT_DYNCREATE(VEzaPaintManagerXP, VEzaPaintManager)

VEzaPaintManagerXP::VEzaPaintManagerXP()
    : m_glyphExpandBottom(GlyphExpandBottom()),
      m_glyphExpandRight2(GlyphExpandRight2()),
      m_glyphExpandBottomTurned(GlyphExpandBottomTurned()),
      m_glyphExpandRight2Turned(GlyphExpandRight2Turned()) {
    m_nXpOptions = XpOptSysCmdGlyphs | XpOptDockingFrame;
    for (int i = 0; i < 6; ++i) m_pushButtonColors[i] = m_pushButtonColors2[i] = -1;
}

VEzaPaintManagerXP::~VEzaPaintManagerXP() = default;

VEzaPaintManager::e_paint_manager_name_t VEzaPaintManagerXP::OnQueryPaintManagerName() { return XP; }

int VEzaPaintManagerXP::GetSeparatorHeight() { return 1; }

bool VEzaPaintManagerXP::OnQueryUseThemeColors() {
    return OnQuerySystemTheme() != ThemeUnknown && g_PaintManager.m_UxTheme.IsAppThemed();
}

COLORREF VEzaPaintManagerXP::GetMenuFrameFillColor(CObject*, LPARAM) { return GetColor(2001); }

void VEzaPaintManagerXP::InitTranslatedColors() {
    m_DSS_DISABLED_style = DSS_MONO;
    VEzaPaintManager::InitTranslatedColors();

    // Each change would otherwise append a further set for the life of the
    // process: keep only the system colours before appending.
    if (m_colors.GetSize() > kSysColorCount) m_colors.SetSize(kSysColorCount);

    const bool deep = stat_GetBPP() > 8;
    const COLORREF window = GetColor(COLOR_WINDOW), face = GetColor(COLOR_BTNFACE),
                   shadow = GetColor(COLOR_BTNSHADOW), dark = GetColor(COLOR_3DDKSHADOW),
                   highlight = GetColor(COLOR_HIGHLIGHT), light = GetColor(COLOR_BTNHIGHLIGHT),
                   text = GetColor(COLOR_BTNTEXT);
    const COLORREF xpFace = deep ? stat_BlendColors(window, face, 165) : face;
    const COLORREF lightSelection = deep ? stat_BlendColors(highlight, window, 30) : face;
    const COLORREF darkBorder =
        deep ? RGB((3 * GetRValue(shadow) + GetRValue(dark)) / 4, (3 * GetGValue(shadow) + GetGValue(dark)) / 4,
                   (3 * GetBValue(shadow) + GetBValue(dark)) / 4)
             : shadow;
    const COLORREF whiteish = deep ? RGB(0, 0, 0) : light;
    const COLORREF xpShadow = deep ? stat_BlendColors(shadow, window, 70) : shadow;
    const COLORREF menu = deep ? stat_BlendColors(face, window, 143) : window;
    const COLORREF halfSelection = deep ? stat_BlendColors(highlight, window, 50) : shadow;
    const COLORREF selectionFrame = deep ? highlight : text;
    const COLORREF lightFace = deep ? stat_BlendColors(face, shadow, 90) : shadow;
    const COLORREF disabledText = stat_BlendColors(text, shadow, 20);

    InstallTranslation(1000, InstallColor(xpFace));
    InstallTranslation(1001, InstallColor(lightSelection));
    const int border = InstallColor(darkBorder);
    for (int id = 1002; id <= 1009; ++id) InstallTranslation(id, border);
    InstallTranslation(1011, InstallColor(whiteish));
    InstallTranslation(2011, InstallColor(xpShadow));
    InstallTranslation(2000, InstallColor(xpFace));
    InstallTranslation(2001, InstallColor(menu));
    InstallTranslation(2002, InstallColor(xpShadow));
    InstallTranslation(2003, InstallColor(halfSelection));
    InstallTranslation(2004, InstallColor(selectionFrame));
    InstallTranslation(2005, InstallColor(lightFace));
    InstallTranslation(2007, InstallColor(disabledText));
    InstallTranslation(2008, InstallColor(menu));
    InstallTranslation(2009, InstallColor(GetColor(1000)));
    InstallTranslation(1012, InstallColor(menu));
    InstallTranslation(1013, InstallColor(menu));
    for (int id : {1010, 1014, 1015, 1016, 1017}) InstallTranslation(id, COLOR_WINDOWTEXT);
    InstallTranslation(2006, COLOR_HIGHLIGHTTEXT);
    InstallTranslation(2010, COLOR_BTNFACE);
}

CSize VEzaPaintManagerXP::GetPushedOffset() { return CSize(0, 0); }

void VEzaPaintManagerXP::PaintTabNcAreaRect(CDC& dc, const RECT& rect, CObject*, LPARAM) {
    const COLORREF shadow = GetColor(COLOR_BTNSHADOW);
    dc.Draw3dRect(&rect, shadow, shadow);
}

void VEzaPaintManagerXP::PaintResizableBarChildNcAreaRect(CDC& dc, const RECT& rect, CObject* object,
                                                          LPARAM lParam) {
    VEzaPaintManagerXP::PaintTabNcAreaRect(dc, rect, object, lParam);
}

CRect VEzaPaintManagerXP::GetMenuBorderMetrics(const CWnd*, LPARAM) { return CRect(1, 1, 1, 1); }
bool VEzaPaintManagerXP::IsMenuMustCombineExcludeArea() { return true; }
bool VEzaPaintManagerXP::IsToolBarChevronMenuCombined() { return true; }
int VEzaPaintManagerXP::TaskPaneQueryGroupCaptionMinHeight(const CWnd*, LPARAM) const { return 18; }
CRect VEzaPaintManagerXP::TaskPaneQueryGroupCaptionTextMargins(const CWnd*, LPARAM) const {
    return CRect(0, 0, 2, 0);
}
