// The paint managers: the one object through which every toolkit window gets
// its colours, brushes, fonts and metrics and does its themed drawing.
//
// VEzaPaintManager is the classic three-dimensional look drawn from the
// system colours; VEzaPaintManagerXP the flat look with colours mixed from
// them. Exactly one manager is current in the process, owned by the holder
// g_PaintManager (VEzaPaintManager::VEzaPaintManagerAutoPtr), which also keeps
// the registry of themed windows (VEzaPmBridge), the operating-system facts,
// the visual-style binding and the optional msimg32/user32 functions, and
// relays system changes to the manager and then to every window.
//
// Colours are asked for by index: below 1000 an index of the colour table
// (0..49 the system colours by COLOR_ index, later entries appended by a
// look), from 1000 on a translated colour id mapped onto a table index. An
// unknown id or index answers the button face (15); nothing here fails.
//
// The virtual operations keep the order of the manager's slot table; the
// element painters (buttons, menu items, frames, tabs, markers...) take their
// places between these groups as they are built.
//
// GUI thread only; no locks.
#pragma once
#include "afxwin.h"
#include "afxtempl.h"

#include <vector>

#include "paint/uxtheme_wrapper.h"
#include "wendrel_export.h"

class VEzaPmBridge;
class VEzaCmdIcon;

class WENDREL_API VEzaPaintManager : public CObject {
    DECLARE_DYNCREATE(VEzaPaintManager)
public:
    class VEzaPaintManagerAutoPtr;

    // Sent to a window's parent to paint the background that the window
    // inherits (registered with the library's other messages).
    static const UINT g_nMsgPaintInheritedBackground;

    enum e_paint_manager_name_t {
        Classic = 1,
        XP = 2,
        Office2003 = 3,
        Studio2005 = 4,
    };
    // The visual style that theme detection found (the luna colour scheme).
    enum e_system_theme_t {
        ThemeUnknown = 0,
        ThemeLunaBlue = 1,     // "normalcolor"
        ThemeLunaOlive = 2,    // "homestead"
        ThemeLunaSilver = 3,   // "metallic"
    };
    enum e_nc_button_state_t {
        NcButtonNormal = 0,
        NcButtonHover = 1,
        NcButtonPressed = 2,
        NcButtonDisabled = 3,
    };
    enum eDockMarkerType_t {
        DockMarkerNone = 0,
        DockMarkerLeft = 1,
        DockMarkerRight = 2,
        DockMarkerTop = 3,
        DockMarkerBottom = 4,
        DockMarkerCenter = 5,
    };
    enum eBoxState_t {
        BoxUnchecked = 0,
        BoxChecked = 1,
        BoxIndeterminate = 2,
    };

    // A small picture of colour indices: 0 leaves a pixel as it is, k paints
    // colour map entry k. A glyph over static data does not own its pixels; a
    // copy (or a glyph turned from one) owns them.
    class WENDREL_API glyph_t {
    public:
        glyph_t() = default;
        glyph_t(UINT width, UINT height, UINT colors, const UINT* pixels);
        glyph_t(const glyph_t& other);
        // A copy of source turned as by Rotate (owning its pixels).
        glyph_t(const glyph_t& source, int angle);
        glyph_t& operator=(const glyph_t& other);
        ~glyph_t();

        UINT GetWidth() const { return m_nWidth; }
        UINT GetHeight() const { return m_nHeight; }
        CSize Size() const { return CSize(int(m_nWidth), int(m_nHeight)); }
        UINT GetColorsCount() const { return m_nColors; }
        const UINT* GetSurface() const { return m_pPixels; }
        // The colour index at column x, row y.
        UINT GetColorPixel(int x, int y) const { return m_pPixels[size_t(y) * m_nWidth + size_t(x)]; }
        // Turns the picture clockwise by 0, 90, 180 or 270 degrees; any other
        // angle leaves it as it is.
        void Rotate(int angle);

    private:
        void Free();
        UINT m_nWidth = 0;
        UINT m_nHeight = 0;
        UINT m_nColors = 0;
        const UINT* m_pPixels = nullptr;
        bool m_bOwnsPixels = false;
    };

    // The built-in pictures of the XP look's chevron and menu expand button,
    // and their quarter-turned copies (for vertical bars).
    static const glyph_t& GlyphExpandBottom();
    static const glyph_t& GlyphExpandRight2();
    static const glyph_t& GlyphExpandBottomTurned();
    static const glyph_t& GlyphExpandRight2Turned();
    // The turned copies themselves: built with the library's process-wide
    // objects right after g_PaintManager, freed before it at unloading.
    static const glyph_t g_glyphExpandBottomTurned;
    static const glyph_t g_glyphExpandRight2Turned;

    VEzaPaintManager();
    ~VEzaPaintManager() override;

    // Object basics and identity
    virtual e_paint_manager_name_t OnQueryPaintManagerName();
    virtual int GetSeparatorHeight();
    virtual void GetTabOneNoteItemColors(bool selected, bool hover, COLORREF& first, COLORREF& second,
                                         COLORREF& third, COLORREF& fourth, COLORREF& fifth);
    virtual void GetTabWhidbeyItemColors(bool selected, bool hover, COLORREF& first, COLORREF& second,
                                         COLORREF& third, COLORREF& fourth);
    virtual bool OnQueryUseThemeColors();
    virtual e_system_theme_t OnQuerySystemTheme() const;
    virtual void OnPaintSessionComplete(CObject* object, LPARAM lParam);

    // Non-client frame: frame skinning is not supported.
    virtual bool NcFrame_IsSupported(const CWnd* wnd, LPARAM lParam) const;
    virtual HRGN NcFrame_GenerateSkinFrameRGN(const RECT& rect, const CWnd* wnd, LPARAM lParam) const;
    virtual void NcFrame_GetMetrics(RECT& borders, RECT& caption, const CWnd* wnd, LPARAM lParam) const;
    virtual void NcFrame_Paint(CDC& dc, const VEzaCmdIcon* icon, LPCSTR caption, UINT style,
                               const RECT& frame, const RECT& rcCaption, const RECT& rcIcon,
                               const RECT& rcText, const RECT& rcHelp, const RECT& rcMinimize,
                               const RECT& rcMaximizeRestore, const RECT& rcClose, bool active,
                               bool maximized, e_nc_button_state_t stateHelp,
                               e_nc_button_state_t stateMinimize, e_nc_button_state_t stateMaximizeRestore,
                               e_nc_button_state_t stateClose, const CWnd* wnd, LPARAM lParam) const;
    virtual CRect NcFrame_GetHtRect(UINT hitTest, bool active, bool maximized, bool zoomed,
                                    const VEzaCmdIcon* icon, const CWnd* wnd, LPARAM lParam) const;
    virtual void NcFrame_GetRects(const VEzaCmdIcon* icon, LPCSTR caption, UINT style, RECT& rcIcon,
                                  RECT& rcText, RECT& rcHelp, RECT& rcMinimize, RECT& rcMaximizeRestore,
                                  RECT& rcClose, const CWnd* wnd, LPARAM lParam) const;

    // Control bars, toolbars and the status bar: -1, false, null or empty
    // tell the caller to use its own default.
    virtual bool Bar_MiniDockFrameNcCalcSize(RECT& rect, CWnd* miniFrame, CWnd* bar, LPARAM lParam);
    // The floating frame's caption: its window rectangle at 0,0 inside the
    // frame borders, one small caption high. False without a frame.
    virtual bool Bar_MiniDockFrameCaptionCalcRect(RECT& rect, CWnd* miniFrame, CWnd* bar, LPARAM lParam);
    virtual void PaintResizableBarSeparator(CDC& dc, const CRect& rect, bool horizontal, CWnd* bar,
                                            LPARAM lParam);
    virtual bool Bar_LayoutNcAreaButton(RECT& rcButton, const RECT& rcBar, CObject* button,
                                        CObject* previous, CObject* helper, LPARAM lParam);
    virtual CRect Bar_GetCaptionBordersForText(CWnd* bar, LPARAM lParam);
    virtual int Bar_SeparatorWidthGet(CWnd* bar, LPARAM lParam);
    virtual int Bar_SeparatorHeightGet(CWnd* bar, LPARAM lParam);
    virtual int Bar_GripperWidthAtLeftGet(CWnd* bar, LPARAM lParam);
    virtual int Bar_GripperHeightAtTopGet(CWnd* bar, LPARAM lParam);
    virtual HFONT Bar_GetCaptionFont(bool horizontal, CWnd* toolbar, LPARAM lParam);
    virtual CSize Toolbar_GetMinButtonSize(CObject* object, LPARAM lParam);
    virtual void Toolbar_AdjustButtonSize(CObject* barButton, CSize& size);
    virtual HFONT Toolbar_GetFont(bool horizontal, CWnd* bar, LPARAM lParam);
    virtual bool Toolbar_GetBGInfo(RECT& rect, int& first, int& second, CWnd* toolbar, LPARAM lParam);
    virtual bool Toolbar_GetSizeOfCEB(CSize& result, const CSize& size, CDC& dc, bool horizontal,
                                      CObject* button, LPARAM lParam);
    virtual bool StatusBar_QuerySkinSupport(const CWnd* statusBar, LPARAM lParam);
    virtual bool StatusBar_ErasePaneBackground(CDC& dc, int pane, const CRect& rect, const CWnd* statusBar,
                                               LPARAM lParam);
    virtual bool StatusBar_PaintPane(CDC& dc, int pane, const CRect& rect, DWORD style, HICON icon,
                                     LPCSTR text, UINT format, const CWnd* statusBar, LPARAM lParam);
    virtual bool StatusBar_PaintSeparator(CDC& dc, int pane, const CRect& before, const CRect& after,
                                          const CWnd* statusBar, LPARAM lParam);

    // Fonts, colours and metrics
    virtual bool AdjustControlFont(HFONT& font, CObject* object, LPARAM lParam);
    virtual const DLGTEMPLATE* AdjustDialogTemplate(const DLGTEMPLATE* dialogTemplate, CObject* object,
                                                    bool wizard, LPARAM lParam);
    // The menu font of the system (Tahoma preferred when option bit 0 is set),
    // else the stock GUI font, else the stock system font. The caller owns a
    // created font; stock fonts need no deleting.
    virtual HFONT CreateDefaultFont();
    virtual void SyncSysColors();
    virtual HBRUSH GetBrush(int index);
    virtual COLORREF GetColor(int index, CObject* object = nullptr, LPARAM lParam = 0);
    virtual COLORREF GetMenuFrameFillColor(CObject* object, LPARAM lParam);
    virtual COLORREF GetShadowAdjustColor();
    // A bar docked at the left or right shrinks by 1 horizontally and 3
    // vertically, any other by 3 and 1.
    virtual void FixedBar_AdjustClientRect(const CWnd* bar, CRect& rect);
    // 0 for the menu bar, 6 for any other toolbar.
    virtual int FixedBar_GetRowDistance(const CWnd* toolbar);
    virtual bool FixedBar_IsPaintRowBkMode(const CWnd* toolbar);
    virtual void InitTranslatedColors();
    virtual void InitHelperBrushes();
    virtual CSize GetPushedOffset();
    // Empties the icon and loads the built-in tree box, expanded (a minus)
    // or collapsed (a plus), with magenta as its transparent colour.
    virtual void LoadWinXpTreeBox(VEzaCmdIcon& icon, bool expanded);

    // Painting of elements
    virtual void PaintGlyph(CDC& dc, POINT topLeft, const glyph_t& glyph, const COLORREF* colors);
    virtual void PaintGlyphCentered(CDC& dc, const RECT& rect, const glyph_t& glyph, const COLORREF* colors);
    virtual void PaintFloatToolbarRowBk(CDC& dc, const CWnd* toolbar, int row, const CRect& rect);
    virtual int GetMenuExpandButtonHeight();
    // Any output may be null.
    virtual void GetThemeAccentTabColors(COLORREF* setUpper, COLORREF* setLower, COLORREF* upperHighlight,
                                         COLORREF* lowerShadow, CObject* object, LPARAM lParam);
    virtual bool QueryTabWndHoverChangingRedraw(const CWnd* tabWnd, LPARAM lParam);
    virtual void PaintTabNcAreaRect(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam);
    virtual void TabWnd_UpdateItemMeasure(CWnd* tabWnd, CObject* item, CDC& dc, CSize& size);
    virtual void PaintResizableBarChildNcAreaRect(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam);
    virtual CSize GetCheckButtonBoxSize();
    virtual CSize GetRadioButtonBoxSize();
    virtual CSize GetDropDividerMerics();
    virtual int TearOff_GetCaptionHeight();
    virtual void TearOff_GetCaptionPaint(CDC& dc, const CRect& rect, bool hover, bool pushed, CObject* object,
                                         LPARAM lParam);
    virtual int GetTextHeight(bool horizontal);
    virtual int GetTipShadowSize();
    virtual int GetMenuShadowSize();
    virtual CRect GetMenuBorderMetrics(const CWnd* wnd, LPARAM lParam);
    virtual bool IsMenuMustCombineExcludeArea();
    virtual bool IsToolBarChevronMenuCombined();
    virtual int GetThemeDockingType();
    virtual int GetAutoHideTabsType();
    virtual bool IsCustomBackgroundInheritanceEnabled();
    virtual bool GetCustomBackgroundInheritanceMode(CObject* object, LPARAM lParam);
    virtual bool GetCb2DbTransparentMode(CObject* object, LPARAM lParam);
    virtual bool PaintDockerBkgnd(bool clientArea, CDC& dc, const CRect& rect, const CRect& second,
                                  LPARAM lParam);

    // System events, relayed by g_PaintManager: each rebuilds every derived
    // table in one order (paint session, colours and fonts, translated
    // colours, helper brushes).
    virtual void OnSysColorChange();
    virtual void OnSettingChange(UINT flags, LPCSTR section);
    virtual void OnDisplayChange(INT bitsPerPixel, CPoint resolution);
    virtual void OnThemeChanged(WPARAM wParam, LPARAM lParam);

    // Other elements
    virtual CSize GetToolBarButtonOffset(bool horizontal) const;
    virtual COLORREF GetIconAlphaColor() const;
    virtual double GetIconAlphaAdjustPercent() const;
    virtual CSize FixedBar_GetRoundedAreaMerics() const;
    virtual CRect TaskPaneQueryMarginsPage(const CWnd* wnd, LPARAM lParam) const;
    virtual int TaskPaneQueryGroupSpacing(const CWnd* wnd, LPARAM lParam) const;
    virtual int TaskPaneQueryGroupCaptionMinHeight(const CWnd* wnd, LPARAM lParam) const;
    virtual CRect TaskPaneQueryGroupCaptionTextMargins(const CWnd* wnd, LPARAM lParam) const;
    // A new font the caller owns and deletes.
    virtual CFont* TaskPaneQueryGroupCaptionFont(const CWnd* wnd, LPARAM lParam);
    virtual CRect DockMarker_GetOuterDistance();
    virtual bool DockMarker_IsAdjustBmpsRequired(int markerType) const;
    virtual void DockMarker_AdjustBmps(int markerType, CBitmap& hover, COLORREF hoverTransparent,
                                       CBitmap& idle, COLORREF idleTransparent);
    virtual void PaintBarButtonCombinedArea(CDC& dc, CObject* barButton, LPARAM lParam);
    virtual COLORREF QueryObjectTextColor(CDC& dc, bool enabled, bool focused, bool hovered, bool pressed,
                                          CObject* object, LPARAM lParam);
    virtual bool PaintGroupBoxFrame(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam);
    virtual bool PaintGroupBoxLabel(CDC& dc, LPCSTR text, int alignment, HFONT font, COLORREF colour,
                                    bool onBackground, const CRect& rect, CObject* object, LPARAM lParam);

    // ---- Icons: icon placement and painting, caption buttons and system-command glyphs
    // Positions in the built-in table of caption-button and system-command
    // glyphs (colour 1 is the glyph, 0 leaves the pixel). The bars number
    // their caption glyphs in this table (3 options, 10 and 11 the pins), so
    // it stays apart from the tab table below, whose 3 is a down arrow; the
    // two share their close and help pictures.
    enum e_builtin_glyph_t {
        GlyphClose = 1,
        GlyphOptions = 3,
        GlyphMinimize = 6,
        GlyphRestore = 7,
        GlyphMaximize = 8,
        GlyphContextHelp = 9,
        GlyphAutoHide = 10,
        GlyphAutoHidden = 11,
        GlyphCloseXP = 16,
        GlyphCloseClassic = 21,
    };
    // The glyph at a table position; an empty glyph (no pixels) for a
    // position the table does not hold.
    static const glyph_t& stat_GetBuiltinGlyph(int position);

    // Where PaintIcon puts an icon of iconSize inside item: answers the icon's
    // rectangle and sets caption to what is left for the text. alignment bits:
    // 1 and 2 choose the icon's side, 8 centres it across the layout.
    static CRect stat_PlaceIcon(bool horizontal, bool emptyText, CSize iconSize, const RECT& item, int alignment,
                                bool iconAfterText, RECT& caption);
    // Places the icon (a null or empty icon leaves caption equal to item and
    // draws nothing) and draws it in its state, never outside item.
    // background: the colour behind a disabled or shadowed icon, -1 for none.
    virtual void PaintIcon(CDC& dc, bool horizontal, LPCSTR text, VEzaCmdIcon* icon, const RECT& item,
                           RECT& caption, bool pushed, bool enabled, bool hover, int alignment, bool iconAfterText,
                           COLORREF background = COLORREF(-1));

    // A button in the caption of a docked or floating bar.
    struct WENDREL_API PAINTDOCKINGCAPTIONBUTTONDATA {
        PAINTDOCKINGCAPTIONBUTTONDATA(CObject* button, const RECT& rect, int glyph, bool hover, bool pushed,
                                      bool enabled, bool barActive, bool barFloating, bool noOutset)
            : m_pButton(button), m_rcButton(rect), m_nGlyph(glyph), m_bHover(hover), m_bPushed(pushed),
              m_bEnabled(enabled), m_bBarActive(barActive), m_bBarFloating(barFloating), m_bNoOutset(noOutset) {}
        CObject* m_pButton;  // passed to GetColor
        LPARAM m_lParam = 0;
        CRect m_rcButton;
        int m_nGlyph;  // a position of the built-in glyph table
        bool m_bHover, m_bPushed, m_bEnabled;
        bool m_bBarActive, m_bBarFloating;
        bool m_bNoOutset;  // the classic frame stays inside the rectangle
    };
    virtual void PaintDockingCaptionButton(CDC& dc, PAINTDOCKINGCAPTIONBUTTONDATA& data);
    // The symbol of SC_CLOSE, SC_RESTORE, SC_CONTEXTHELP, SC_MINIMIZE or
    // SC_MAXIMIZE centred in rect; any other command draws nothing.
    virtual void PaintSysCmdGlyph(CDC& dc, UINT command, const RECT& rect, bool hover, bool pushed, bool enabled);
    // ---- end Icons

    // ---- Frames: separators, borders and frames
    // The records of the frame painters. Each names the object being painted
    // and an LPARAM; both go to every GetColor the painter asks.
    struct PAINTCONTROLBARBORDERSDATA {
        PAINTCONTROLBARBORDERSDATA(CObject* bar, int borderStyle, DWORD barStyle, const RECT& rect)
            : m_pHelperSrc(bar), m_eBorderStyle(borderStyle), m_dwBarStyle(barStyle), m_rc(rect) {}
        CObject* m_pHelperSrc;
        LPARAM m_lParam = 0;
        int m_eBorderStyle;  // 2: a sunken edge; any other: the CBRS_BORDER_ bits
        DWORD m_dwBarStyle;  // the bar's CBRS_ bits
        CRect m_rc;
    };
    struct PAINTDOCKINGFRAMEDATA {
        enum : BYTE { Floating = 0x01, ExtBar = 0x02, SideBar = 0x04 };
        PAINTDOCKINGFRAMEDATA(CObject* wnd, const RECT& frame, const RECT& client, bool floating, bool extBar,
                              bool sideBar)
            : m_pHelperSrc(wnd), m_rcWindow(frame), m_rcClient(client),
              m_nFlags(BYTE((floating ? Floating : 0) | (extBar ? ExtBar : 0) | (sideBar ? SideBar : 0))) {}
        bool Has(BYTE bit) const { return (m_nFlags & bit) != 0; }
        CObject* m_pHelperSrc;
        LPARAM m_lParam = 0;
        CRect m_rcWindow;
        CRect m_rcClient;
        // Floating: the floating frame; ExtBar: no inner edge (classic) or no
        // outer frame (XP) on a docked bar; SideBar: no dotted outline.
        BYTE m_nFlags;
    };
    struct PAINTCONTROLFRAMEDATA {
        enum : BYTE { Flat = 0x01, Hover = 0x02, Enabled = 0x04, Focus = 0x08 };
        PAINTCONTROLFRAMEDATA(CObject* object, const RECT& rect, bool flat, bool hover, bool enabled, bool focus)
            : m_pHelperSrc(object), m_rcClient(rect),
              m_nFlags(BYTE((flat ? Flat : 0) | (hover ? Hover : 0) | (enabled ? Enabled : 0) |
                            (focus ? Focus : 0))) {}
        bool Has(BYTE bit) const { return (m_nFlags & bit) != 0; }
        CObject* m_pHelperSrc;
        LPARAM m_lParam = 0;
        CRect m_rcClient;  // the control's own rectangle; the frames lie outside it
        BYTE m_nFlags;
    };
    struct PAINTGRIPPERDATA {
        // First group: Active a focused caption; Floating the caption of a
        // floating frame; HorzBar a bar laid out across (vertical gripper
        // lines, caption text turned); SideBar a resizable bar's caption.
        enum : BYTE { Active = 0x01, Floating = 0x02, HorzBar = 0x04, SideBar = 0x08 };
        // Second group: NoBackground leaves the caption background alone;
        // RightToLeft reverses the gradient and right-aligns the text.
        enum : BYTE { NoBackground = 0x02, RightToLeft = 0x04 };
        PAINTGRIPPERDATA(CObject* wnd, const RECT& gripper, const RECT& text, bool active, bool floating,
                         bool horzBar, bool sideBar = false, LPCSTR caption = nullptr, bool rightToLeft = false)
            : m_pHelperSrc(wnd), m_rcGripper(gripper), m_rcText(text),
              m_nFlags(BYTE((active ? Active : 0) | (floating ? Floating : 0) | (horzBar ? HorzBar : 0) |
                            (sideBar ? SideBar : 0))),
              m_sCaption(caption != nullptr ? caption : ""), m_nFlags2(rightToLeft ? RightToLeft : 0) {}
        bool Has(BYTE bit) const { return (m_nFlags & bit) != 0; }
        bool Has2(BYTE bit) const { return (m_nFlags2 & bit) != 0; }
        CObject* m_pHelperSrc;
        LPARAM m_lParam = 0;
        CRect m_rcGripper;
        CRect m_rcText;
        BYTE m_nFlags;
        LPCSTR m_sCaption;  // never null
        BYTE m_nFlags2;
    };
    struct PAINTCOMBOFRAMEDATA {
        PAINTCOMBOFRAMEDATA(CObject* object, const RECT& rect, bool hover, bool pushed, bool enabled)
            : m_pHelperSrc(object), m_rcClient(rect), m_bHover(hover), m_bPushed(pushed), m_bEnabled(enabled) {}
        bool IsHot() const { return m_bHover || m_bPushed; }
        CObject* m_pHelperSrc;
        LPARAM m_lParam = 0;
        CRect m_rcClient;
        bool m_bHover;
        bool m_bPushed;
        bool m_bEnabled;
        // −1: the look's own. Inner replaces the inner colours (XP: field
        // and frames), Outer the outer frame (XP: the face); HotOuter is the
        // XP outer frame of a hot control. Inner and Outer apply only when
        // the control is not hot.
        COLORREF m_clrInner = COLORREF(-1);
        COLORREF m_clrOuter = COLORREF(-1);
        COLORREF m_clrHotOuter = COLORREF(-1);
        // No outer frame (XP): set by frames drawn inside a menu or a bar.
        bool m_bNoOuterFrame = false;
    };

    // Fills with face unless transparent, then an etched line (XP: a flat
    // one) across the middle; horizontal: a vertical line for a bar laid out
    // across.
    virtual void PaintSeparator(CDC& dc, const RECT& rect, bool horizontal, bool transparent, CObject* object,
                                LPARAM lParam);
    virtual void PaintMenuSeparator(CDC& dc, const RECT& rect, int gutterWidth, bool rarelyUsed, CObject* object,
                                    LPARAM lParam);
    virtual void PaintMenuBorder(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam);
    // The border piece joining a popup menu to the button it came from
    // (exclude); areaType: the menu lies 1 below, 2 above, 3 left, 4 right.
    virtual void PaintMenuCombinedArea(CDC& dc, const RECT& rect, const RECT& exclude, int areaType,
                                       CObject* object, LPARAM lParam);
    virtual void PaintControlBarBorders(CDC& dc, PAINTCONTROLBARBORDERSDATA& data);
    virtual void PaintDockingFrame(CDC& dc, PAINTDOCKINGFRAMEDATA& data);
    virtual void PaintGripper(CDC& dc, PAINTGRIPPERDATA& data);
    virtual void PaintComboFrame(CDC& dc, PAINTCOMBOFRAMEDATA& data);
    virtual void PaintResizingGripper(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam);
    virtual void PaintControlFrame(CDC& dc, PAINTCONTROLFRAMEDATA& data);
    // ---- end Frames

    // ---- Buttons: push buttons, check and radio boxes
    // What PaintPushButton draws: a push-like button of a dialog, a toolbar
    // or a menu. The record does not own the text, icon or font.
    struct WENDREL_API PAINTPUSHBUTTONDATA {
        PAINTPUSHBUTTONDATA(CObject* source, bool horizontal, const RECT& rect, LPCSTR text, VEzaCmdIcon* icon,
                            bool flat, bool hover, bool pushed, bool reserved, bool enabled, bool drawBorder,
                            bool drawFocusRect, bool defaultButton, int textAlignment, HFONT font = nullptr,
                            bool dropDown = false, UINT sysCmdId = 0, bool transparentBackground = false);
        // Right-to-left layout: ForceRtl; no other source object of this
        // library asks for it.
        bool IsRTL() const { return m_bForceRtl; }

        CObject* m_pSourceObject;  // passed to colour queries
        LPARAM m_lParam = 0;       // passed to colour queries
        CRect m_rcButton;
        LPCSTR m_sText;  // never null
        VEzaCmdIcon* m_pIcon;
        int m_nTextAlignment;  // 0 left/top, 1 horizontal centre, 2 right, 8 vertical centre
        HFONT m_hFont;         // null: the manager's fonts
        UINT m_nSysCmdId;      // glyph drawn when there is no icon
        bool m_bHorizontal, m_bFlat, m_bHover, m_bPushed, m_bReserved, m_bEnabled, m_bDrawBorder, m_bDrawFocusRect;
        bool m_bDefaultButton;  // bold caption
        bool m_bDropDown, m_bTransparentBackground, m_bSeparatedDropDown, m_bDropDownPushed, m_bWordBreak;
        // -1 each for the look's default.
        COLORREF m_clrDisabledText = COLORREF(-1), m_clrText = COLORREF(-1), m_clrHoverText = COLORREF(-1),
                 m_clrPushedText = COLORREF(-1), m_clrIcon = COLORREF(-1), m_clrBackground = COLORREF(-1);
        int m_nContentAlignment;  // 1 centre horizontally, 2 right, 4 centre vertically
        bool m_bPlainCaption = false, m_bForceRtl = false, m_bRtlReading = false;
    };
    virtual void PaintPushButton(CDC& dc, PAINTPUSHBUTTONDATA& data);

    // What PaintCheckButton and PaintRadioButton draw; m_rcBox comes back.
    struct WENDREL_API PAINTCHECKRADIOBUTTONDATA {
        PAINTCHECKRADIOBUTTONDATA(CObject* source, const RECT& rect, LPCSTR text, eBoxState_t state, bool boxAtRight,
                                  bool multiline, bool hover, bool pushed, bool enabled, bool focused,
                                  int textAlignment = 0, HFONT font = nullptr);
        CObject* m_pSourceObject;
        LPARAM m_lParam = 0;
        CRect m_rcClient;
        LPCSTR m_sText;  // may be null
        eBoxState_t m_eState;
        bool m_bBoxAtRight, m_bMultiline, m_bHover, m_bPushed, m_bEnabled, m_bFocused;
        bool m_bFlat = false;  // flat box (also when the source window has BS_FLAT)
        // Bits 0-1: 0 left, 1 centre, 2 right; bits 2-4: 4 top, 0x10 bottom,
        // anything else centred vertically.
        int m_nTextAlignment;
        HFONT m_hFont;  // null: the manager's normal font
        COLORREF m_clrDisabledText = COLORREF(-1), m_clrText = COLORREF(-1), m_clrHoverText = COLORREF(-1),
                 m_clrPushedText = COLORREF(-1);
        CRect m_rcBox;  // out: where the box was placed
    };
    // Where the box and the label area of a check or radio button go.
    struct check_radio_layout_t {
        CRect box, label;
    };
    static check_radio_layout_t stat_LayoutCheckRadio(const RECT& client, CSize boxSize, bool boxAtRight);
    virtual void PaintCheckButton(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data);
    virtual void PaintRadioButton(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data);
    // Lays out and draws the label; answers the box rectangle through box.
    virtual void PaintCheckOrRadioButtonText(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data, CSize boxSize, CRect& box);
    virtual void PaintCheckButtonBox(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data);
    virtual void PaintRadioButtonBox(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data);
    // The row of the box state table for a record (see pm_check_radio.cpp);
    // radio boxes have no mixed rows.
    static int stat_GetBoxStateIndex(const PAINTCHECKRADIOBUTTONDATA& data, bool radio);
    // ---- end Buttons

    // ---- Menus: menu items, ornaments and small paint helpers
    // One command item of a popup menu: the gutter with its icon or mark,
    // caption, accelerator, submenu arrow, selection and an optional
    // in-place control strip. The texts are never null; the record does not
    // own the icon or the font.
    struct WENDREL_API PAINTMENUITEMDATA {
        enum : BYTE {
            Popup = 0x01,
            Selected = 0x02,
            Checked = 0x04,
            Radio = 0x08,
            Reserved = 0x10,  // kept for the caller, not drawn
            Enabled = 0x20,
            RarelyUsed = 0x40,
            RarelyUsedPrev = 0x80,
        };
        enum : BYTE {
            RarelyUsedNext = 0x01,
            NoGutter = 0x02,
            ExtraGlyph = 0x04,
            SeparatedPopup = 0x08,  // with ExtraGlyph: the second glyph
            ExtraMark = 0x10,
            ExtraMarkChecked = 0x20,
        };
        PAINTMENUITEMDATA(CObject* source, const RECT& selection, const RECT& item, int gutterWidth, LPCSTR text,
                          LPCSTR accelText, VEzaCmdIcon* icon, bool popup, bool selected, bool checked, bool radio,
                          bool reserved, bool enabled, bool rarelyUsed, bool rarelyUsedPrev, bool rarelyUsedNext,
                          UINT sysCmdId, HFONT font)
            : m_pHelperSrc(source), m_rcSelection(selection), m_rcItem(item), m_nGutterWidth(gutterWidth),
              m_sText(text != nullptr ? text : ""), m_sAccelText(accelText != nullptr ? accelText : ""),
              m_pIcon(icon), m_nSysCmdId(sysCmdId), m_hFont(font),
              m_nState(BYTE((popup ? Popup : 0) | (selected ? Selected : 0) | (checked ? Checked : 0) |
                            (radio ? Radio : 0) | (reserved ? Reserved : 0) | (enabled ? Enabled : 0) |
                            (rarelyUsed ? RarelyUsed : 0) | (rarelyUsedPrev ? RarelyUsedPrev : 0))),
              m_nState2(rarelyUsedNext ? RarelyUsedNext : 0) {}
        bool Has(BYTE bit) const { return (m_nState & bit) != 0; }
        bool Has2(BYTE bit) const { return (m_nState2 & bit) != 0; }
        void Set2(BYTE bit, bool on) { m_nState2 = BYTE(on ? (m_nState2 | bit) : (m_nState2 & ~bit)); }
        // True when the source is a popup menu laid out right to left.
        bool IsRTL() const;

        CObject* m_pHelperSrc;
        LPARAM m_lParam = 0;
        CRect m_rcSelection;
        CRect m_rcItem;
        int m_nGutterWidth;
        LPCSTR m_sText;
        LPCSTR m_sAccelText;
        VEzaCmdIcon* m_pIcon;
        UINT m_nSysCmdId;  // its glyph stands in for a missing icon
        HFONT m_hFont;     // null: the manager's normal font
        BYTE m_nState;
        BYTE m_nState2;
        CRect m_rcInPlaceWnd = CRect(0, 0, 0, 0);
        CString m_sInPlaceText;
        BYTE m_nInPlaceState = 0;  // bit 0: its drop-down button is pressed
        COLORREF m_clrIcon = COLORREF(-1);
    };

    virtual void PaintMenuItem(CDC& dc, PAINTMENUITEMDATA& data);
    // A flat button with an up ("t" in the symbol font, direction set) or
    // down arrow; pushed when either of the first two flags is set.
    virtual void PaintMenuScrollButton(CDC& dc, bool pushed, bool tracking, bool direction, const RECT& rect,
                                       CObject* source, LPARAM lParam);
    virtual void PaintMenuExpandButton(CDC& dc, const RECT& rect, bool pushed, bool hover, CObject* source,
                                       LPARAM lParam);
    // The toolbar's chevron button; a rectangle given inverted is normalised.
    virtual void PaintToolbarExpandButton(CDC& dc, const RECT& rect, bool horizontal, bool firstGlyphOnly,
                                          bool enabled, bool pushed, bool hover, CObject* object, LPARAM lParam,
                                          bool transparentBackground = false);
    virtual void PaintDatePickerClientArea(CDC& dc, const RECT& client, const RECT& area, CObject* object,
                                           LPARAM lParam);
    // Asks the window of the object and then its parents to paint the
    // background it shows through (the registered inherited-background
    // message); true when one did.
    virtual bool RenderCustomBackground(bool client, CDC& dc, CObject* object, LPARAM lParam);

    // The record the inherited-background message carries (its address is
    // the wParam). A window that painted sets m_bHandled; one that forbids
    // its parents to paint sets m_bCancelled.
    struct WENDREL_API CUSTOM_BACKGROUND_QUERY {
        CUSTOM_BACKGROUND_QUERY(CDC& dc, CWnd* wnd, CObject* object, LPARAM lParam, bool client)
            : m_dc(dc), m_pWnd(wnd), m_pObject(object), m_lParam(lParam), m_bClient(client) {}
        // The client rectangle, or the window rectangle moved to 0,0.
        CRect GetRenderingRect() const;
        // Sends the message up from the window while it is a child window.
        bool Notify();
        CDC& m_dc;
        CWnd* m_pWnd;
        CObject* m_pObject;
        LPARAM m_lParam;
        bool m_bClient;
        bool m_bHandled = false;
        bool m_bCancelled = false;
        HWND m_hWndHandler = nullptr;
    };
    // Whether a child window of this class and style lets its parent's
    // background through.
    static bool stat_IsInheritedBackgroundWnd(HWND wnd);
    // Copies the source to the destination leaving out the pixels of the
    // transparent colour; stretched when the sizes differ and are not
    // negative.
    static void stat_TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                                    int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent);
    // ---- end Menus

    // ---- Markers: dock-marker pictures and regions, drag marks, date picker elements
    // Marker objects and their window factory: paint/dock_marker.h.
    class DockMarkerBase;
    class DockMarkerBeta2;
    using DockMarkerWndArray = CTypedPtrArray<CPtrArray, class VEzaDynDockMarkerWnd*>;
    // A new marker object for the dock-marker style (1: DockMarkerBase, 2
    // and 3: DockMarkerBeta2); any other style throws CNotSupportedException.
    virtual DockMarkerBase* DockMarker_CreateObject();
    // Empties the array and fills it with the windows of a marker of the kind
    // built in the rectangle; false when the marker cannot be built.
    virtual bool DockMarker_CreateWnds(HWND parent, int kind, CRect rect, DockMarkerWndArray& windows);
    // Drawn by a marker window (the object) after its pictures, styles 2
    // and 3 only: the outline of a hovered separate arrow, or on a compass
    // centre the lines towards the arm under the mouse.
    virtual void DockMarker_PostRender(CDC& dc, CRect rect, int kind, bool highlighted, CObject* object,
                                       LPARAM lParam);
    // Tints the area where a dragged bar would dock: width by height 32-bit
    // pixels of a bottom-up DIB (0x00RRGGBB). With tabShape only the main and
    // tab areas are touched. Colours −1 take the defaults.
    virtual void DockMarker_AdjustHighlightedArea(COLORREF* pixels, int width, int height, bool tabShape,
                                                  bool tabAbove, const CRect& main, const CRect& tab,
                                                  COLORREF fill, COLORREF border, int borderWidth);
    // The shape of a bitmap: every pixel outside transparent .. transparent
    // + tolerance (per channel), as one-pixel-high runs. A bitmap without
    // such a pixel gives an empty region; null only when the bitmap cannot
    // be read.
    static HRGN stat_GetRegionFromBitmap(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance = 0);

    // Marks of drag-and-drop editing: where a dragged item lands (before or
    // after the rectangle; verticalLine between items of a row), the frame
    // round the item dragged, and a menu's tear-off strip.
    virtual void PaintDropDivider(CDC& dc, const CRect& rect, bool before, bool verticalLine);
    virtual void PaintDragSourceRect(CDC& dc, const CRect& rect);
    virtual void PaintMenuTearOffButton(CDC& dc, const CRect& rect, bool hover, bool pushed, CObject* object,
                                        LPARAM lParam);

    // The date picker's frame, month header, the separator above its
    // buttons and the buttons. Nothing is drawn for an invisible rectangle.
    virtual void PaintDatePickerBorder(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam);
    virtual void PaintDatePickerHeaderBackground(int column, int row, CDC& dc, int year, int month,
                                                 const CRect& header, const CRect& second, const CRect& third,
                                                 const CRect& fourth, const CRect& fifth, CObject* object,
                                                 LPARAM lParam);
    virtual void PaintDatePickerButtonsSeparator(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam);
    // A push button of the date picker in the manager's font, text centred;
    // the button kind does not change the drawing.
    virtual void PaintDatePickerPushButton(CDC& dc, const CRect& rect, int buttonKind, LPCSTR text, bool flat,
                                           bool drawBorder, bool pushed, bool hover, CObject* object,
                                           LPARAM lParam);
    // ---- end Markers

    // ---- Tabs: tabs, shortcut list, text field, undo caption and spin buttons
    // Tab windows call these for every visible item, the strip background and
    // the small buttons at the strip's end. The strip's side (orientation) is
    // 0 top, 1 bottom, 2 left, 3 right. Colours given as -1 take the look's
    // default.

    // Where the parts of one tab item go, worked out without drawing.
    enum e_tab_body_t { TabBodyGrouped = 0, TabBodySelected = 1, TabBodySeparator = 2 };
    struct tab_item_layout_t {
        e_tab_body_t body = TabBodySeparator;
        // Grouped: the filled and framed rectangle. Selected: the rectangle
        // whose three sides away from the page are outlined. Unselected: the
        // one-pixel separator.
        CRect rcBody;
        // Selected: what is filled (it covers the line between tab and page);
        // grouped: rcBody; unselected: empty.
        CRect rcFill;
        // The rectangle handed to PaintIcon (empty: no icon is drawn).
        CRect rcIcon;
        // The text's rectangle (empty: no text); for a vertical strip the
        // clip rectangle of ExtTextOut, with ptText its reference point.
        CRect rcText;
        CPoint ptText;
    };
    // iconSize is 0 by 0 when no icon is to be drawn.
    static tab_item_layout_t stat_CalcTabItemLayout(bool topLeft, bool horizontal, bool selected,
                                                    bool centeredText, bool groupedMode, bool inGroupActive,
                                                    bool invertedVertical, const CRect& rcEntireItem,
                                                    CSize sizeTextMeasured, CSize iconSize);

    virtual void PaintTabItem(CDC& dc, CRect& rcTabItemsArea, bool topLeft, bool horizontal, bool selected,
                              bool centeredText, bool groupedMode, bool inGroupActive, bool invertedVertical,
                              const CRect& rcEntireItem, CSize sizeTextMeasured, CFont* font, LPCSTR text,
                              VEzaCmdIcon* icon, CObject* object, LPARAM lParam,
                              COLORREF clrForceText = COLORREF(-1), COLORREF clrForceTabBk = COLORREF(-1),
                              COLORREF clrForceTabBorderLT = COLORREF(-1),
                              COLORREF clrForceTabBorderRB = COLORREF(-1),
                              COLORREF clrForceTabSeparator = COLORREF(-1));
    // The strip between a tab window's items and its client area, shared by
    // both looks: filled, with a one-pixel line on the side facing the
    // items, light for top and left strips, dark for bottom and right ones.
    static void stat_PaintTabNearBorder(CDC& dc, const CRect& rcNear, DWORD orientation, COLORREF fill,
                                        COLORREF light, COLORREF dark);
    virtual void PaintTabClientArea(CDC& dc, CRect& rcClient, CRect& rcTabItemsArea, CRect& rcTabNearBorderArea,
                                    DWORD orientation, bool groupedMode, CObject* object, LPARAM lParam);
    virtual void PaintTabbedTabClientArea(CDC& dc, CRect& rcClient, CRect& rcTabItemsArea,
                                          CRect& rcTabNearBorderArea, DWORD orientation, bool groupedMode,
                                          CObject* object, LPARAM lParam);
    // Button kinds of PaintTabButton.
    enum e_tab_button_t {
        TabButtonScrollBack = -4,
        TabButtonScrollForward = -5,
        TabButtonHelp = -6,
        TabButtonClose = -7,
        TabButtonList = -8,
        TabButtonFirst = -9,
        TabButtonLast = -10,
    };
    virtual void PaintTabButton(CDC& dc, CRect& rcButton, int kind, bool topLeft, bool horizontal,
                                bool enabled, bool hover, bool pushed, bool groupedMode, CObject* object,
                                LPARAM lParam);
    // The picture at a position of the built-in glyph table that the tab and
    // spin painters use (1 close, 2..5 arrows, 9 help, 17..20 hollow arrows,
    // 26 the page navigator's configuration button, 45 item list, 49..52
    // first and last); null for any other position.
    static const glyph_t* stat_GetTabGlyph(int position);

    // The argument record of PaintShortcutListItem, filled by the list.
    struct PAINTSHORTCUTLISTITEMSDATA {
        enum : BYTE {
            Hover = 0x01,
            Pushed = 0x02,
            Expanded = 0x10,  // the caption in tip colours over a tip-coloured box
            VerticalText = 0x20,
            BigIconView = 0x40,
            ExpandedBackgroundPass = 0x80,
        };
        // ListStyle: vertical text starts at the top.
        enum : DWORD { ListStyleTextTop = 0x10 };
        CObject* m_pSourceObject = nullptr;
        LPARAM m_lParam = 0;
        VEzaCmdIcon* m_pBigIcon = nullptr;
        VEzaCmdIcon* m_pSmallIcon = nullptr;
        CRect m_rcItem;
        CRect m_rcIcon;
        CRect m_rcText;
        CRect m_rcClient;
        CString m_sText;
        BYTE m_nState = 0;
        DWORD m_dwListStyle = 0;
        HFONT m_hFont = nullptr;
    };
    // The argument record of PaintToolbarTextField, filled by the toolbar.
    struct PAINTTOOLBARTEXTFIELDDATA {
        enum : BYTE { ComboBox = 0x01, Hover = 0x02, Pushed = 0x04, Enabled = 0x08 };
        CObject* m_pSourceObject = nullptr;
        LPARAM m_lParam = 0;
        UINT m_nDrawTextFlags = 0;
        CString m_sText;
        CRect m_rcField;
        CRect m_rcText;
        BYTE m_nState = 0;
    };
    virtual void PaintShortcutListBkgnd(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam);
    virtual void PaintShortcutListScrollButton(CDC& dc, bool horizontal, const CRect& rect, bool up, bool hover,
                                               bool pushed, CObject* object, LPARAM lParam);
    virtual void PaintShortcutListItem(CDC& dc, PAINTSHORTCUTLISTITEMSDATA& data);
    virtual void PaintToolbarTextField(CDC& dc, PAINTTOOLBARTEXTFIELDDATA& data);
    virtual void PaintUndoRedoCaption(CDC& dc, const CRect& rect, LPCSTR text, CObject* object, LPARAM lParam);
    virtual void PaintSpinButtonArrow(CDC& dc, const CRect& rect, bool up, bool horizontal, bool enabled,
                                      bool pushed, bool hover, bool highlighted, CObject* object, LPARAM lParam);
    virtual void PaintSpinButton(CDC& dc, const CRect& rect, bool up, bool horizontal, bool enabled, bool flat,
                                 bool drawBorder, bool pushed, bool hover, bool highlighted, CObject* object,
                                 LPARAM lParam);
    // The size value of the spin arrow's font for a rectangle: 6, or two
    // thirds of the smaller side when that is more than 5.
    static int stat_GetSpinArrowFontSize(const CRect& rect);

protected:
    // The tab item drawing both looks' PaintTabItem hand their work to, with
    // every colour resolved (a colour of -1 still paints nothing).
    void PaintTabItemCommon(CDC& dc, bool topLeft, bool horizontal, bool selected, bool centeredText,
                            bool groupedMode, bool inGroupActive, bool invertedVertical, const CRect& rcEntireItem,
                            CSize sizeTextMeasured, CFont* font, LPCSTR text, VEzaCmdIcon* icon, bool drawIcon,
                            COLORREF clrText, COLORREF clrTabBk, COLORREF clrTabBorderLT, COLORREF clrTabBorderRB,
                            COLORREF clrTabSeparator);

public:
    // ---- end Tabs

    // ---- Navigator: page navigator and task pane
    // Page navigator and task pane windows call these with their rectangles
    // and states; nothing is kept between calls. Every painter draws nothing
    // when its rectangle is not visible on the DC, except the splitter and its
    // dots. Operations without an object ask for colours with the manager
    // itself as the object. The flags are named by the drawing they cause.

    // Where a page navigator caption puts its icon and text. expanded: the
    // icon stands in a column at the left and the text follows; otherwise the
    // icon alone is centred in the whole rectangle.
    struct page_navigator_caption_layout_t {
        int nIconColumn = 0;  // icon width and half of it again
        CRect rcIcon;         // the icon's box (empty for a 0 by 0 icon)
        bool bText = false;   // whether the text is drawn
        int nTextInset = 0;   // the text's distance from the rectangle's left
    };
    static page_navigator_caption_layout_t stat_CalcPageNavigatorCaptionLayout(const CRect& rect, CSize iconSize,
                                                                               bool expanded);
    // The top-left of the first of the nine grip dots (4 pixels apart) of a
    // splitter, moved down by dy.
    static CPoint stat_CalcPageNavigatorSplitterDotsOrigin(const CRect& rect, int dy);
    // The classic group caption: the expand button's box (only when the
    // caption is wide enough for it) and the rectangle left for the text.
    struct task_pane_caption_layout_t {
        bool bButton = false;
        CRect rcButton;
        CRect rcText;
    };
    static task_pane_caption_layout_t stat_CalcTaskPaneGroupCaptionLayout(const CRect& rect, bool expandButton);

    virtual void PaintPageNavigatorClientArea(CDC& dc, const RECT& rect, CObject* object);
    virtual void PaintPageNavigatorBorder(CDC& dc, const RECT& rect);
    // expanded: a full-width item with its text; selected: pressed in;
    // hover: under the mouse.
    virtual void PaintPageNavigatorItem(CDC& dc, const CRect& rect, LPCSTR text, VEzaCmdIcon* icon, bool expanded,
                                        bool selected, bool hover);
    virtual void PaintPageNavigatorItemCaptionText(CDC& dc, const CRect& rect, LPCSTR text);
    virtual void PaintPageNavigatorItemCaption(CDC& dc, const CRect& rect, LPCSTR text);
    // onItem: drawn over an item's own background (with selected and hover,
    // the text turns to the window colour).
    virtual void PaintPageNavigatorCaption(CDC& dc, const CRect& rect, LPCSTR text, VEzaCmdIcon* icon,
                                           bool expanded, bool selected, bool hover, bool onItem);
    virtual void PaintPageNavigatorItemPaneCaptionText(CDC& dc, const CRect& rect, LPCSTR text);
    virtual void PaintPageNavigatorItemPaneCaption(CDC& dc, const CRect& rect, LPCSTR text);
    // The same picture whatever the state.
    virtual void PaintPageNavigatorConfigButton(CDC& dc, const CRect& rect, bool hover, bool pushed);
    virtual void PaintPageNavigatorSplitter(CDC& dc, const CRect& rect, bool drawDots);
    virtual void PaintPageNavigatorSplitterDots(CDC& dc, const CRect& rect, int dy);
    virtual void TaskPanePaintClientArea(CDC& dc, const RECT& rect, CObject* object);
    virtual void TaskPanePaintClientAreaToolbar(CDC& dc, const RECT& rect, CObject* object);
    virtual void TaskPanePaintBorder(CDC& dc, const RECT& rect, CObject* object);
    // special: the highlighted kind of group. roundTopLeft and roundTopRight
    // cut three corner pixels out of the DC's clip region (left so on
    // return); twoStep keeps the left 7/15 solid before the gradient. hover
    // and pressed do not change the background.
    virtual void TaskPanePaintGroupCaptionBackground(CDC& dc, const CRect& rect, bool hover, bool pressed,
                                                     bool special, bool roundTopLeft, bool roundTopRight,
                                                     bool twoStep, CObject* object);
    // expandButton: the caption carries an expand/collapse button; expanded:
    // it shows the collapse picture.
    virtual void TaskPanePaintGroupCaption(CDC& dc, const CRect& rect, LPCSTR text, bool hover, bool pressed,
                                           bool special, bool expandButton, bool expanded, CObject* object);
    virtual void TaskPanePaintGroupCaptionText(CDC& dc, const CRect& rect, LPCSTR text, bool hover, bool pressed,
                                               bool special, CObject* object);
    // ---- end Navigator

    // Colour arithmetic (COLORREF 0x00BBGGRR; hue, luminance and saturation
    // are fractions from 0 to 1).
    // Per channel (A·w + B·(D − w) + D/2) / D: D = 100 below weight 100
    // (percent), else 1000 (per mille of A).
    static COLORREF stat_BlendColors(COLORREF a, COLORREF b, int weight);
    static void stat_ColorToHLS(COLORREF colour, double& hue, double& luminance, double& saturation);
    static COLORREF stat_HLSToColor(double hue, double luminance, double saturation);
    // Each change from −1 to 1 moves its value that part of the way to 1
    // (positive) or to 0 (negative).
    static COLORREF stat_AdjustColorHLS(COLORREF colour, double dh, double dl, double ds);
    // A new 32-bit bitmap with every pixel adjusted except those inside the
    // skip range (skip .. skip + tolerance per channel); null without a
    // bitmap or when all changes are 0.
    static HBITMAP stat_AdjustBitmapHLS(HBITMAP bitmap, COLORREF skip, COLORREF tolerance, double dh,
                                        double dl, double ds);
    static bool stat_ReplaceBitmapHLS(CBitmap& bitmap, COLORREF skip, COLORREF tolerance, double dh,
                                      double dl, double ds);

    // A 16 by 16 bitmap compatible with the screen: pixel (x, y) is the
    // override colour when (xo & x) or (yo & y), else A when
    // ((ym & y) ? (xm & x) : !(xm & x)), else B. −1: A the system face, B the
    // system highlight, override A.
    static HBITMAP stat_GenerateHalftoneBitmap(COLORREF a, COLORREF b, int xMask, int yMask, int xOffsetMask,
                                               int yOffsetMask, COLORREF overrideColor);

    // Gradients: A at the left (or bottom when vertical), B at the right (top).
    static void stat_PaintGradientRect(CDC& dc, const CRect& rect, COLORREF a, COLORREF b, bool vertical,
                                       int bands = 256);
    static void stat_PaintTwoStepGradient(CDC& dc, const CRect& rect, COLORREF a, COLORREF b, COLORREF c,
                                          bool vertical, int numerator, int denominator, int bands = 256);

    // Window snapshots: a new 32-bit bitmap of the window (with its frame
    // when flags has PRF_NONCLIENT) painted by sending the message (WM_PRINT).
    static HBITMAP stat_PrintWnd(HWND wnd, UINT message = WM_PRINT,
                                 LPARAM flags = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    static void stat_PrintChildren(HWND wnd, UINT message, HDC dc, LPARAM flags, bool recurse);
    // False when the queue holds WM_QUIT.
    static bool stat_PassPaintMessages(bool nonClient = true, bool erase = true, bool paint = true);
    // A copy of the bitmap (or a rectangle of it): compatible, or a 32-bit
    // DIB section whose bits come back through bits when that is given.
    static HBITMAP stat_CloneBitmap(HBITMAP source, const RECT* rect = nullptr, COLORREF** bits = nullptr);
    // A packed DIB in global memory (header, colour table up to 8 bits, pixels).
    static HGLOBAL stat_DDBtoPackedDIB(HBITMAP bitmap, HPALETTE palette = nullptr);
    // Loading: reads a VEzaBitmap from the archive (with resourceData, the
    // archive holds a bitmap resource: the info header, colours and pixels
    // without the file header) and returns a new bitmap through bitmap.
    // Storing: writes the bitmap as a VEzaBitmap. False on any failure,
    // damaged data included; bitmap is then left as it was.
    static bool stat_SerializeBitmap(CArchive& ar, HBITMAP* bitmap, bool resourceData = false);
    // The bitmap of a bitmap resource of module, or null.
    static HBITMAP stat_LoadBitmapFromResource(HINSTANCE module, HRSRC resource);

    // Monitor of a point, rectangle or window: its rectangle, work area and
    // whether it is the primary monitor.
    struct monitor_parms_t {
        CRect m_rcMonitor;
        CRect m_rcWorkArea;
        bool m_bPrimaryMonitor = true;
    };
    static void stat_GetMonitorParms(monitor_parms_t& parms, const POINT& point);
    static void stat_GetMonitorParms(monitor_parms_t& parms, const RECT& rect);
    static void stat_GetMonitorParms(monitor_parms_t& parms, HWND wnd);

    static int stat_GetBPP();
    // Answers true for a child that keeps its area in the clip region.
    using ExcludeChildFilter = bool (*)(HWND child, LPVOID data);
    static void stat_ExcludeChildAreas(HDC dc, HWND wnd, ExcludeChildFilter filter = nullptr,
                                       LPVOID filterData = nullptr);
    // The names the bars, menus and docking windows use for three of these.
    static void PrintChildWindows(HWND wnd, UINT message, HDC dc, LPARAM flags) {
        stat_PrintChildren(wnd, message, dc, flags, true);
    }
    static void ClipOutChildWindows(HDC dc, HWND wnd, ExcludeChildFilter filter = nullptr,
                                    LPVOID filterData = nullptr) {
        stat_ExcludeChildAreas(dc, wnd, filter, filterData);
    }
    static bool DispatchPendingPaints(bool nonClient = true, bool erase = true, bool paint = true) {
        return stat_PassPaintMessages(nonClient, erase, paint);
    }
    static CRect stat_CalcTextDimension(CDC& dc, CFont& font, const CString& text, UINT format);
    static int stat_CalcTextWidth(CDC& dc, CFont& font, const CString& text);
    // Major version in the high word, minor in the low; 0 when unknown.
    static DWORD stat_GetDllVersion(LPCSTR fileName);

    // A 7 by 7 check mark with its shadow (the nearest colour to the
    // inverse), a radio dot with its shadow, and a frame whose four corner
    // pixels are left out.
    static void stat_PaintCheckMark(CDC& dc, int x, int y, COLORREF colour);
    static void stat_PaintRadioDot(CDC& dc, int x, int y, COLORREF colour);
    static void stat_PaintFrameWithoutCorners(CDC& dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    static void stat_PaintFrameWithoutCorners(CDC& dc, int x, int y, int width, int height, COLORREF topLeft,
                                              COLORREF bottomRight);

    // Option bits: 0 prefer Tahoma, 1 custom background inheritance.
    enum : BYTE { OptPreferTahoma = 0x01, OptCustomBackgroundInheritance = 0x02 };
    static const int kSysColorCount = 50;
    static const int kHelperBrushCount = 12;

    CArray<COLORREF, COLORREF> m_colors;
    CArray<HBRUSH, HBRUSH> m_brushes;
    CMap<int, int, int, int> m_mapColorTranslate;
    CPalette m_PaletteWide;
    CBrush m_brushHelper[kHelperBrushCount];
    CFont m_FontNormal;
    CFont m_FontNormalVert;
    CFont m_FontNormalVertX;
    CFont m_FontBold;
    CFont m_FontBoldVert;
    CFont m_FontBoldVertX;
    CFont m_FontNormalBC;
    CFont m_FontNormalVertBC;
    CFont m_FontNormalVertXBC;
    CFont m_FontBoldBC;
    CFont m_FontBoldVertBC;
    CFont m_FontBoldVertXBC;
    CFont m_FontMarlett;
    int m_DSS_DISABLED_style = DSS_DISABLED;
    BYTE m_nOptions = 0;
    int m_nDockMarkerType = 3;

protected:
    // Appends a colour to the colour table and answers its index.
    int InstallColor(COLORREF colour);
    // Maps a translated id onto a colour-table index.
    void InstallTranslation(int id, int index);

private:
    void BuildFonts(HFONT normal);
};

class WENDREL_API VEzaPaintManagerXP : public VEzaPaintManager {
    DECLARE_DYNCREATE(VEzaPaintManagerXP)
public:
    VEzaPaintManagerXP();
    ~VEzaPaintManagerXP() override;

    e_paint_manager_name_t OnQueryPaintManagerName() override;
    int GetSeparatorHeight() override;
    bool OnQueryUseThemeColors() override;
    COLORREF GetMenuFrameFillColor(CObject* object, LPARAM lParam) override;
    void InitTranslatedColors() override;
    CSize GetPushedOffset() override;
    void PaintTabNcAreaRect(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) override;
    void PaintResizableBarChildNcAreaRect(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) override;
    CRect GetMenuBorderMetrics(const CWnd* wnd, LPARAM lParam) override;
    bool IsMenuMustCombineExcludeArea() override;
    bool IsToolBarChevronMenuCombined() override;
    int TaskPaneQueryGroupCaptionMinHeight(const CWnd* wnd, LPARAM lParam) const override;
    CRect TaskPaneQueryGroupCaptionTextMargins(const CWnd* wnd, LPARAM lParam) const override;

    // ---- Icons: icon placement and painting, caption buttons and system-command glyphs (XP look)
    void PaintIcon(CDC& dc, bool horizontal, LPCSTR text, VEzaCmdIcon* icon, const RECT& item, RECT& caption,
                   bool pushed, bool enabled, bool hover, int alignment, bool iconAfterText,
                   COLORREF background = COLORREF(-1)) override;
    void PaintDockingCaptionButton(CDC& dc, PAINTDOCKINGCAPTIONBUTTONDATA& data) override;
    void PaintSysCmdGlyph(CDC& dc, UINT command, const RECT& rect, bool hover, bool pushed, bool enabled) override;
    // ---- end Icons

    // ---- Frames: separators, borders and frames (XP look)
    void PaintSeparator(CDC& dc, const RECT& rect, bool horizontal, bool transparent, CObject* object,
                        LPARAM lParam) override;
    void PaintMenuBorder(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) override;
    void PaintMenuCombinedArea(CDC& dc, const RECT& rect, const RECT& exclude, int areaType, CObject* object,
                               LPARAM lParam) override;
    void PaintControlBarBorders(CDC& dc, PAINTCONTROLBARBORDERSDATA& data) override;
    void PaintDockingFrame(CDC& dc, PAINTDOCKINGFRAMEDATA& data) override;
    void PaintComboFrame(CDC& dc, PAINTCOMBOFRAMEDATA& data) override;
    void PaintControlFrame(CDC& dc, PAINTCONTROLFRAMEDATA& data) override;
    // ---- end Frames

    // ---- Buttons: push buttons, check and radio boxes (XP look)
    void PaintPushButton(CDC& dc, PAINTPUSHBUTTONDATA& data) override;
    // ---- end Buttons

    // ---- Menus: menu items, ornaments and small paint helpers (XP look)
    void PaintMenuItem(CDC& dc, PAINTMENUITEMDATA& data) override;
    void PaintMenuSeparator(CDC& dc, const RECT& rect, int gutterWidth, bool rarelyUsed, CObject* object,
                            LPARAM lParam) override;
    void PaintGripper(CDC& dc, PAINTGRIPPERDATA& data) override;
    void PaintMenuExpandButton(CDC& dc, const RECT& rect, bool pushed, bool hover, CObject* source,
                               LPARAM lParam) override;
    void PaintToolbarExpandButton(CDC& dc, const RECT& rect, bool horizontal, bool firstGlyphOnly, bool enabled,
                                  bool pushed, bool hover, CObject* object, LPARAM lParam,
                                  bool transparentBackground = false) override;
    // ---- end Menus

    // ---- Markers: dock-marker pictures and regions, drag marks, date picker elements (XP look)
    void PaintMenuTearOffButton(CDC& dc, const CRect& rect, bool hover, bool pushed, CObject* object,
                                LPARAM lParam) override;
    // ---- end Markers

    // ---- Tabs: tabs, shortcut list, text field, undo caption and spin buttons (XP look)
    void PaintTabItem(CDC& dc, CRect& rcTabItemsArea, bool topLeft, bool horizontal, bool selected,
                      bool centeredText, bool groupedMode, bool inGroupActive, bool invertedVertical,
                      const CRect& rcEntireItem, CSize sizeTextMeasured, CFont* font, LPCSTR text, VEzaCmdIcon* icon,
                      CObject* object, LPARAM lParam, COLORREF clrForceText = COLORREF(-1),
                      COLORREF clrForceTabBk = COLORREF(-1), COLORREF clrForceTabBorderLT = COLORREF(-1),
                      COLORREF clrForceTabBorderRB = COLORREF(-1),
                      COLORREF clrForceTabSeparator = COLORREF(-1)) override;
    void PaintTabClientArea(CDC& dc, CRect& rcClient, CRect& rcTabItemsArea, CRect& rcTabNearBorderArea,
                            DWORD orientation, bool groupedMode, CObject* object, LPARAM lParam) override;
    void PaintShortcutListBkgnd(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam) override;
    void PaintShortcutListItem(CDC& dc, PAINTSHORTCUTLISTITEMSDATA& data) override;
    void PaintToolbarTextField(CDC& dc, PAINTTOOLBARTEXTFIELDDATA& data) override;
    void PaintUndoRedoCaption(CDC& dc, const CRect& rect, LPCSTR text, CObject* object, LPARAM lParam) override;
    void PaintSpinButton(CDC& dc, const CRect& rect, bool up, bool horizontal, bool enabled, bool flat,
                         bool drawBorder, bool pushed, bool hover, bool highlighted, CObject* object,
                         LPARAM lParam) override;
    // ---- end Tabs

    // ---- Navigator: page navigator and task pane (XP look)
    void PaintPageNavigatorBorder(CDC& dc, const RECT& rect) override;
    void PaintPageNavigatorItem(CDC& dc, const CRect& rect, LPCSTR text, VEzaCmdIcon* icon, bool expanded,
                                bool selected, bool hover) override;
    void TaskPanePaintBorder(CDC& dc, const RECT& rect, CObject* object) override;
    void TaskPanePaintGroupCaption(CDC& dc, const CRect& rect, LPCSTR text, bool hover, bool pressed, bool special,
                                   bool expandButton, bool expanded, CObject* object) override;
    // ---- end Navigator

    // Bit 0: system-command glyphs and icons, bit 1: docking frames, bit 2:
    // the toolbar expand button.
    enum : BYTE { XpOptSysCmdGlyphs = 0x01, XpOptDockingFrame = 0x02, XpOptExpandButton = 0x04 };
    BYTE m_nXpOptions = XpOptSysCmdGlyphs | XpOptDockingFrame;
    const glyph_t& m_glyphExpandBottom;
    const glyph_t& m_glyphExpandRight2;
    const glyph_t& m_glyphExpandBottomTurned;
    const glyph_t& m_glyphExpandRight2Turned;
    // Colour-table indices of the push button's states; −1 until chosen.
    int m_pushButtonColors[6];
    int m_pushButtonColors2[6];
};

// The holder of the current paint manager (see the top of this file). One
// instance, g_PaintManager, lives from the library's loading to its unloading.
class WENDREL_API VEzaPaintManager::VEzaPaintManagerAutoPtr {
public:
    VEzaPaintManagerAutoPtr();
    ~VEzaPaintManagerAutoPtr();
    VEzaPaintManagerAutoPtr(const VEzaPaintManagerAutoPtr&) = delete;
    VEzaPaintManagerAutoPtr& operator=(const VEzaPaintManagerAutoPtr&) = delete;

    VEzaPaintManager* operator->() const { return m_pPaintManager; }
    VEzaPaintManager* GetPM() const { return m_pPaintManager; }

    // Replaces the current manager and takes ownership of the new one (null:
    // a new XP manager); the same manager again changes nothing. The new
    // manager loads its tables, then every bridge hears of it.
    bool InstallPaintManager(VEzaPaintManager* manager);
    bool InstallPaintManager(CRuntimeClass* managerClass);

    void RegisterBridge(VEzaPmBridge* bridge);
    bool UnregisterBridge(VEzaPmBridge* bridge);
    bool IsBridgeRegistered(VEzaPmBridge* bridge) const;
    INT_PTR GetBridgeCount() const { return m_mapBridges.GetCount(); }

    // Whether this window relays system notifications for its frame, so that
    // a frame with many toolkit windows handles each change once.
    bool IsNotificationSourceWnd(CWnd* wnd);

    // Relays: the current manager first, then every bridge.
    void OnSysColorChange(CWnd* wnd);
    void OnSettingChange(CWnd* wnd, UINT flags, LPCSTR section);
    void OnDisplayChange(CWnd* wnd, INT bitsPerPixel, CPoint resolution);
    void OnThemeChanged(CWnd* wnd, WPARAM wParam, LPARAM lParam);

    // Finds the luna colour scheme and reads the TASKBAND colours.
    void stat_DetectXpTheme();
    // Sets the OS flags and version text from a version record.
    void InitOsFlags(const OSVERSIONINFOA& version);
    // Lines per wheel notch (at least 2), read once.
    int GetMouseWheelScrollLines();

    // OS flags
    enum : WORD {
        OsWin32s = 0x0001,
        OsWin9x = 0x0002,
        OsWin95 = 0x0004,
        OsWin98orLater = 0x0008,
        OsWin98 = 0x0010,
        OsWinNT = 0x0020,
        OsWinNT4 = 0x0040,
        OsWin2000 = 0x0080,
        OsWinXP = 0x0100,
        OsWinNT4orLater = 0x0200,
        OsWin2000orLater = 0x0400,
        OsWinXPorLater = 0x0800,
        OsThemeColorsRead = 0x1000,
    };
    bool HasOs(WORD flag) const { return (m_wOsFlags & flag) != 0; }

    using PfnGradientFill = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    using PfnAlphaBlend = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using PfnAlphaDIBBlend = BOOL(WINAPI*)(HDC, int, int, int, int, const void*, const BITMAPINFO*, UINT, int,
                                           int, int, int, BLENDFUNCTION);
    using PfnTransparentBlt = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    using PfnTransparentDIBits = BOOL(WINAPI*)(HDC, int, int, int, int, const void*, const BITMAPINFO*, UINT,
                                               int, int, int, int, UINT);
    using PfnAnimateWindow = BOOL(WINAPI*)(HWND, DWORD, DWORD);
    using PfnSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    using PfnUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                 BLENDFUNCTION*, DWORD);

    VEzaPaintManager* m_pPaintManager = nullptr;
    CTypedPtrMap<CMapPtrToPtr, VEzaPmBridge*, void*> m_mapBridges;
    bool m_bChanged = false;
    CString m_strOsVer;
    OSVERSIONINFOA m_osVerData;
    WORD m_wOsFlags = 0;
    UxThemeWrapper m_UxTheme;
    int m_eXpScheme = 0;
    COLORREF m_clrThemeColors[7] = {};
    HMODULE m_hDllMsImg = nullptr;
    PfnGradientFill m_pfnGradientFill = nullptr;
    PfnAlphaBlend m_pfnAlphaBlend = nullptr;
    PfnAlphaDIBBlend m_pfnAlphaDIBBlend = nullptr;
    PfnTransparentBlt m_pfnTransparentBlt = nullptr;
    PfnTransparentDIBits m_pfnTransparentDIBits = nullptr;
    HMODULE m_hDllUser32 = nullptr;
    PfnAnimateWindow m_pfnAnimateWindow = nullptr;
    PfnSetLayeredWindowAttributes m_pfnSetLayeredWindowAttributes = nullptr;
    PfnUpdateLayeredWindow m_pfnUpdateLayeredWindow = nullptr;

private:
    // The bridges registered now, for a broadcast that a bridge may change.
    std::vector<VEzaPmBridge*> SnapshotBridges() const;
    int m_nWheelScrollLines = 0;  // 0: not read yet
};

extern WENDREL_API VEzaPaintManager::VEzaPaintManagerAutoPtr g_PaintManager;
