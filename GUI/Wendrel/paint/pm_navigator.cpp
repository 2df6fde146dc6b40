// Page navigator and task pane painters of the classic look (the XP look
// inherits all but four): borders, items and captions with their icons,
// caption texts, the splitter with its grip dots, the configuration button,
// the task pane's client area and group captions with the expand button.
#include <cstring>

#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"

namespace {

const UINT kCollapsePixels[7 * 8] = {
    0, 0, 0, 1, 0, 0, 0,  //
    0, 0, 1, 1, 1, 0, 0,  //
    0, 1, 1, 0, 1, 1, 0,  //
    1, 1, 0, 0, 0, 1, 1,  //
    0, 0, 0, 1, 0, 0, 0,  //
    0, 0, 1, 1, 1, 0, 0,  //
    0, 1, 1, 0, 1, 1, 0,  //
    1, 1, 0, 0, 0, 1, 1,  //
};
const UINT kExpandPixels[7 * 8] = {
    1, 1, 0, 0, 0, 1, 1,  //
    0, 1, 1, 0, 1, 1, 0,  //
    0, 0, 1, 1, 1, 0, 0,  //
    0, 0, 0, 1, 0, 0, 0,  //
    1, 1, 0, 0, 0, 1, 1,  //
    0, 1, 1, 0, 1, 1, 0,  //
    0, 0, 1, 1, 1, 0, 0,  //
    0, 0, 0, 1, 0, 0, 0,  //
};

const VEzaPaintManager::glyph_t& GlyphGroupCollapse() {
    static const VEzaPaintManager::glyph_t glyph(7, 8, 2, kCollapsePixels);
    return glyph;
}
const VEzaPaintManager::glyph_t& GlyphGroupExpand() {
    static const VEzaPaintManager::glyph_t glyph(7, 8, 2, kExpandPixels);
    return glyph;
}

bool HasText(LPCSTR text) { return text != nullptr && text[0] != '\0'; }

bool HasIcon(const VEzaCmdIcon* icon) { return icon != nullptr && !icon->IsEmpty(); }

const CWnd* WndOf(CObject* object) {
    return object != nullptr && object->IsKindOf(RUNTIME_CLASS(CWnd)) ? static_cast<const CWnd*>(object) : nullptr;
}

void FillRow(CDC& dc, int left, int right, int y, COLORREF colour) {
    dc.FillSolidRect(left, y, right - left, 1, colour);
}

// The system's icon-title font; the manager's normal font when the system
// does not answer.
LOGFONTA IconTitleFont(const CFont& fallback) {
    LOGFONTA lf = {};
    if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) {
        lf = LOGFONTA{};
        fallback.GetLogFont(&lf);
    }
    return lf;
}

// A caption text: centred vertically in the available rectangle, starting
// inset pixels from its left, as wide as it measures and never outside the
// rectangle. A text with a tab expands it.
void PaintCaptionText(CDC& dc, const CRect& available, LPCSTR text, CFont& font, COLORREF colour, UINT format,
                      int inset, UINT extra) {
    CFont* oldFont = dc.SelectObject(&font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(colour);
    if (std::strchr(text, '\t') != nullptr) format |= DT_EXPANDTABS;
    CRect measured(available);
    dc.DrawText(text, -1, &measured, format | DT_CALCRECT);
    CRect r(available.left + inset, available.top + (available.Height() - measured.Height()) / 2,
            available.left + inset + measured.Width(), available.top + (available.Height() + measured.Height()) / 2);
    // Nothing when no room is left (a rectangle narrower than its margins).
    if (r.IntersectRect(&r, &available)) dc.DrawText(text, -1, &r, format | extra);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void PaintCaptionText(CDC& dc, const CRect& available, LPCSTR text, const LOGFONTA& lf, COLORREF colour,
                      UINT format, int inset, UINT extra) {
    CFont font;
    if (!font.CreateFontIndirect(&lf)) return;
    PaintCaptionText(dc, available, text, font, colour, format, inset, extra);
}

}  // namespace

// Layout arithmetic

VEzaPaintManager::page_navigator_caption_layout_t VEzaPaintManager::stat_CalcPageNavigatorCaptionLayout(
    const CRect& rect, CSize iconSize, bool expanded) {
    page_navigator_caption_layout_t layout;
    const int cx = iconSize.cx, cy = iconSize.cy;
    layout.nIconColumn = cx + ::MulDiv(cx, 1, 2);
    layout.bText = expanded;
    layout.nTextInset = layout.nIconColumn;
    const int span = expanded ? layout.nIconColumn : rect.Width();
    layout.rcIcon.SetRect(rect.left + (span - cx) / 2, rect.top + (rect.Height() - cy) / 2,
                          rect.left + (span + cx) / 2, rect.top + (rect.Height() + cy) / 2);
    return layout;
}

CPoint VEzaPaintManager::stat_CalcPageNavigatorSplitterDotsOrigin(const CRect& rect, int dy) {
    return CPoint(rect.left + (rect.Width() - 36) / 2, rect.top + 1 + (rect.Height() - 3) / 2 + dy);
}

VEzaPaintManager::task_pane_caption_layout_t VEzaPaintManager::stat_CalcTaskPaneGroupCaptionLayout(
    const CRect& rect, bool expandButton) {
    task_pane_caption_layout_t layout;
    layout.rcText = rect;
    if (!expandButton) return layout;
    const CRect box(CPoint(rect.right - 23, rect.top + (rect.Height() - 16) / 2), CSize(17, 16));
    // A caption too narrow for the button keeps its whole width for the text.
    if (box.left <= rect.left) return layout;
    layout.bButton = true;
    layout.rcButton = box;
    layout.rcText.right -= 17;
    return layout;
}

// Page navigator

void VEzaPaintManager::PaintPageNavigatorClientArea(CDC& dc, const RECT& rect, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    dc.FillSolidRect(&rect, GetColor(COLOR_WINDOW, object));
}

void VEzaPaintManager::PaintPageNavigatorBorder(CDC& dc, const RECT& rect) {
    if (!dc.RectVisible(&rect)) return;
    dc.Draw3dRect(&rect, GetColor(COLOR_BTNSHADOW, this), GetColor(COLOR_WINDOW, this));
}

void VEzaPaintManager::PaintPageNavigatorItem(CDC& dc, const CRect& rect, LPCSTR text, VEzaCmdIcon* icon,
                                              bool expanded, bool selected, bool hover) {
    if (!dc.RectVisible(&rect)) return;
    CRect r(rect);
    if (expanded) {
        r.left += 1;
        r.right -= 1;
        r.bottom -= 1;
    }
    dc.FillSolidRect(&r, GetColor(COLOR_BTNSHADOW, this));
    // A dark line parts an expanded item from the one above it.
    if (expanded) FillRow(dc, r.left, r.right, r.top, GetColor(COLOR_3DDKSHADOW, this));
    if (selected)
        dc.Draw3dRect(&r, GetColor(COLOR_3DDKSHADOW, this), GetColor(COLOR_WINDOW, this));
    else if (hover)
        dc.Draw3dRect(&r, GetColor(COLOR_WINDOW, this), GetColor(COLOR_3DDKSHADOW, this));
    PaintPageNavigatorCaption(dc, rect, text, icon, expanded, selected, hover, true);
}

void VEzaPaintManager::PaintPageNavigatorItemCaptionText(CDC& dc, const CRect& rect, LPCSTR text) {
    if (!HasText(text) || !dc.RectVisible(&rect)) return;
    LOGFONTA lf = IconTitleFont(m_FontNormal);
    ::lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    lf.lfHeight = 20;
    lf.lfWeight = 700;
    PaintCaptionText(dc, rect, text, lf, GetColor(COLOR_WINDOW, this), 0, 4, 0);
}

void VEzaPaintManager::PaintPageNavigatorItemCaption(CDC& dc, const CRect& rect, LPCSTR text) {
    if (!dc.RectVisible(&rect)) return;
    dc.FillSolidRect(&rect, GetColor(COLOR_BTNSHADOW, this));
    PaintPageNavigatorItemCaptionText(dc, rect, text);
}

void VEzaPaintManager::PaintPageNavigatorCaption(CDC& dc, const CRect& rect, LPCSTR text, VEzaCmdIcon* icon,
                                                 bool expanded, bool selected, bool hover, bool onItem) {
    if (!dc.RectVisible(&rect)) return;
    const CSize iconSize = icon != nullptr ? CSize(icon->GetSize()) : CSize(0, 0);
    const page_navigator_caption_layout_t layout = stat_CalcPageNavigatorCaptionLayout(rect, iconSize, expanded);
    if (layout.bText && HasText(text)) {
        LOGFONTA lf = IconTitleFont(m_FontNormal);
        lf.lfWeight = 700;
        const COLORREF colour = GetColor(selected && hover && onItem ? COLOR_WINDOW : COLOR_BTNTEXT, this);
        PaintCaptionText(dc, rect, text, lf, colour, DT_WORDBREAK, layout.nTextInset, DT_END_ELLIPSIS);
    }
    if (!HasIcon(icon)) return;
    // The icon alone in its box: a pushed icon moves (classic) and a hovered
    // one is raised over its shadow (XP) as anywhere else.
    RECT caption = {0, 0, 0, 0};
    PaintIcon(dc, true, "", icon, layout.rcIcon, caption, selected, true, hover, 0, false);
}

void VEzaPaintManager::PaintPageNavigatorItemPaneCaptionText(CDC& dc, const CRect& rect, LPCSTR text) {
    if (!HasText(text) || !dc.RectVisible(&rect)) return;
    const LOGFONTA lf = IconTitleFont(m_FontNormal);
    PaintCaptionText(dc, rect, text, lf, GetColor(COLOR_WINDOWTEXT, this), 0, 7, DT_END_ELLIPSIS);
}

void VEzaPaintManager::PaintPageNavigatorItemPaneCaption(CDC& dc, const CRect& rect, LPCSTR text) {
    if (!dc.RectVisible(&rect)) return;
    dc.FillSolidRect(&rect, GetColor(COLOR_BTNFACE, this));
    FillRow(dc, rect.left, rect.right, rect.bottom - 1, GetColor(COLOR_BTNSHADOW, this));
    PaintPageNavigatorItemPaneCaptionText(dc, rect, text);
}

void VEzaPaintManager::PaintPageNavigatorConfigButton(CDC& dc, const CRect& rect, bool, bool) {
    if (!dc.RectVisible(&rect)) return;
    const COLORREF colours[2] = {0, GetColor(COLOR_BTNTEXT, this)};
    PaintGlyphCentered(dc, rect, *stat_GetTabGlyph(26), colours);
}

void VEzaPaintManager::PaintPageNavigatorSplitter(CDC& dc, const CRect& rect, bool drawDots) {
    dc.FillSolidRect(&rect, GetColor(1000, this));
    FillRow(dc, rect.left, rect.right, rect.top, GetColor(COLOR_BTNSHADOW, this));
    const COLORREF light = GetColor(COLOR_WINDOW, this);
    FillRow(dc, rect.left, rect.right, rect.top + 1, light);
    dc.FillSolidRect(rect.left, rect.top + 1, 1, rect.bottom - rect.top - 1, light);
    if (drawDots) PaintPageNavigatorSplitterDots(dc, rect, 0);
}

void VEzaPaintManager::PaintPageNavigatorSplitterDots(CDC& dc, const CRect& rect, int dy) {
    const CPoint origin = stat_CalcPageNavigatorSplitterDotsOrigin(rect, dy);
    const COLORREF light = GetColor(COLOR_WINDOW, this), dark = GetColor(COLOR_3DDKSHADOW, this);
    for (int k = 0; k < 9; ++k) {
        const int x = origin.x + 4 * k;
        dc.FillSolidRect(x + 1, origin.y + 1, 2, 2, light);
        dc.FillSolidRect(x, origin.y, 2, 2, dark);
    }
}

// Task pane

void VEzaPaintManager::TaskPanePaintClientArea(CDC& dc, const RECT& rect, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    const COLORREF top = GetColor(1012, object), bottom = GetColor(1013, object);
    if (top == bottom)
        dc.FillSolidRect(&rect, top);
    else
        stat_PaintGradientRect(dc, CRect(rect), bottom, top, true, 256);
}

void VEzaPaintManager::TaskPanePaintClientAreaToolbar(CDC& dc, const RECT& rect, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    dc.FillSolidRect(&rect, GetColor(1012, object));
}

void VEzaPaintManager::TaskPanePaintBorder(CDC& dc, const RECT& rect, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    dc.Draw3dRect(&rect, GetColor(COLOR_BTNSHADOW, object), GetColor(COLOR_WINDOW, object));
}

void VEzaPaintManager::TaskPanePaintGroupCaptionBackground(CDC& dc, const CRect& rect, bool, bool, bool special,
                                                           bool roundTopLeft, bool roundTopRight, bool twoStep,
                                                           CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    const COLORREF c1 = GetColor(special ? 1019 : 1018, object), c2 = GetColor(special ? 1021 : 1020, object);
    // Rounded corners: the caller's clip region keeps these pixels out for
    // the rest of its painting too.
    if (roundTopLeft) {
        dc.ExcludeClipRect(rect.left, rect.top, rect.left + 2, rect.top + 1);
        dc.ExcludeClipRect(rect.left, rect.top + 1, rect.left + 1, rect.top + 2);
    }
    if (roundTopRight) {
        dc.ExcludeClipRect(rect.right - 2, rect.top, rect.right, rect.top + 1);
        dc.ExcludeClipRect(rect.right - 1, rect.top + 1, rect.right, rect.top + 2);
    }
    if (c1 == c2)
        dc.FillSolidRect(&rect, c1);
    else if (twoStep && !special)
        stat_PaintTwoStepGradient(dc, rect, c1, c1, c2, false, 7, 15, 256);
    else
        stat_PaintGradientRect(dc, rect, c1, c2, false, 256);
}

void VEzaPaintManager::TaskPanePaintGroupCaption(CDC& dc, const CRect& rect, LPCSTR text, bool hover, bool pressed,
                                                 bool special, bool expandButton, bool expanded, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    TaskPanePaintGroupCaptionBackground(dc, rect, hover, pressed, special, false, false, false, object);
    const task_pane_caption_layout_t layout = stat_CalcTaskPaneGroupCaptionLayout(rect, expandButton);
    if (layout.bButton) {
        if (hover)
            dc.Draw3dRect(&layout.rcButton, GetColor(COLOR_BTNHIGHLIGHT, object), GetColor(COLOR_BTNSHADOW, object));
        const COLORREF colours[2] = {0, GetColor(1014 + (hover ? 1 : 0) + (special ? 2 : 0), object)};
        PaintGlyphCentered(dc, layout.rcButton, expanded ? GlyphGroupCollapse() : GlyphGroupExpand(), colours);
    }
    TaskPanePaintGroupCaptionText(dc, layout.rcText, text, hover, pressed, special, object);
}

void VEzaPaintManager::TaskPanePaintGroupCaptionText(CDC& dc, const CRect& rect, LPCSTR text, bool hover, bool,
                                                     bool special, CObject* object) {
    if (!HasText(text) || !dc.RectVisible(&rect)) return;
    const CWnd* wnd = WndOf(object);
    const CRect margins = TaskPaneQueryGroupCaptionTextMargins(wnd, 0);
    const CRect available(rect.left + margins.left, rect.top + margins.top, rect.right - margins.right,
                          rect.bottom - margins.bottom);
    const COLORREF colour = GetColor(1014 + (hover ? 1 : 0) + (special ? 2 : 0), object);
    CFont* font = TaskPaneQueryGroupCaptionFont(wnd, 0);
    if (font != nullptr && font->GetSafeHandle() != nullptr)
        PaintCaptionText(dc, available, text, *font, colour, DT_WORDBREAK, 0, 0);
    else
        PaintCaptionText(dc, available, text, IconTitleFont(m_FontNormal), colour, DT_WORDBREAK, 0, 0);
    delete font;
}
