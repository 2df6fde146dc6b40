// Icon painting, caption buttons and system-command glyphs in the XP look:
// a hovered icon or glyph stands raised over its shadow, a disabled icon is
// faded, frames are flat.
#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"

using glyph_t = VEzaPaintManager::glyph_t;

void VEzaPaintManagerXP::PaintIcon(CDC& dc, bool horizontal, LPCSTR text, VEzaCmdIcon* icon, const RECT& item,
                                   RECT& caption, bool pushed, bool enabled, bool hover, int alignment,
                                   bool iconAfterText, COLORREF background) {
    caption = item;
    if (icon == nullptr || icon->IsEmpty()) return;
    const bool emptyText = text == nullptr || *text == '\0';
    CRect at = stat_PlaceIcon(horizontal, emptyText, CSize(icon->GetSize()), item, alignment, iconAfterText, caption);
    if (pushed) at.OffsetRect(GetPushedOffset());

    const bool raised = (m_nXpOptions & XpOptSysCmdGlyphs) != 0;
    CPoint position = at.TopLeft();
    if (raised) position.Offset(iconAfterText ? -1 : 1, 1);

    // An item smaller than its icon shows only the part inside it.
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&item);
    const HDC hdc = dc.GetSafeHdc();
    if (enabled && hover && !pushed && raised) {
        CBrush shadow;
        if (shadow.CreateSolidBrush(background == COLORREF(-1) ? GetColor(COLOR_BTNSHADOW) : background)) {
            icon->Paint(hdc, position, 2, HBRUSH(shadow.GetSafeHandle()));
            icon->Paint(hdc, CPoint(position.x - 2, position.y - 2), 0);
        }
    } else if (enabled) {
        icon->Paint(hdc, position, 0);
    } else {
        CBrush brush;
        brush.CreateSolidBrush(background == COLORREF(-1) ? GetColor(2002) : background);
        const COLORREF alpha = background == COLORREF(-1) ? GetIconAlphaColor() : COLORREF(-1);
        int look = 1;
        if (alpha != COLORREF(-1)) {
            // The faded look is the icon's variant in the alpha colour.
            if (icon->GetVariantColor() != alpha) icon->SetVariantColor(alpha);
            if (icon->GetVariantLightness() != GetIconAlphaAdjustPercent())
                icon->SetVariantLightness(GetIconAlphaAdjustPercent());
            look = 3;
        }
        icon->Paint(hdc, at.TopLeft(), look, HBRUSH(brush.GetSafeHandle()));
    }
    dc.RestoreDC(saved);
}

void VEzaPaintManagerXP::PaintDockingCaptionButton(CDC& dc, PAINTDOCKINGCAPTIONBUTTONDATA& data) {
    CRect r(data.m_rcButton);
    r.NormalizeRect();
    if (r.IsRectEmpty()) return;
    CObject* const object = data.m_pButton;
    const LPARAM lParam = data.m_lParam;
    COLORREF glyphColour = RGB(0, 0, 0);
    if (!data.m_bEnabled)
        glyphColour = GetColor(COLOR_BTNSHADOW, object, lParam);
    else if (!data.m_bHover && !data.m_bPushed)
        glyphColour = GetColor(data.m_bBarActive && !data.m_bBarFloating ? COLOR_3DDKSHADOW : COLOR_HIGHLIGHTTEXT,
                               object, lParam);

    if ((data.m_bEnabled && data.m_bHover) || data.m_bPushed) {
        dc.FillSolidRect(&r, GetColor(data.m_bPushed ? 2003 : 1001, object, lParam));
        const COLORREF frame = GetColor(data.m_bBarFloating ? 2003 : 2004, object, lParam);
        CRect outside(r);
        outside.InflateRect(1, 1);
        dc.Draw3dRect(&outside, frame, frame);
    }

    if (r.Width() % 2 != 0) ++r.left;
    if (r.Height() % 2 != 0) ++r.top;
    const int position =
        data.m_nGlyph == GlyphClose && data.m_bBarActive && !data.m_bNoOutset ? GlyphCloseXP : data.m_nGlyph;
    const COLORREF colours[2] = {0, glyphColour};
    PaintGlyphCentered(dc, r, stat_GetBuiltinGlyph(position), colours);
}

void VEzaPaintManagerXP::PaintSysCmdGlyph(CDC& dc, UINT command, const RECT& rect, bool hover, bool pushed,
                                          bool enabled) {
    int position = 0;
    switch (command) {
    case SC_CLOSE: position = GlyphClose; break;
    case SC_RESTORE: position = GlyphRestore; break;
    case SC_CONTEXTHELP: position = GlyphContextHelp; break;
    case SC_MINIMIZE: position = GlyphMinimize; break;
    case SC_MAXIMIZE: position = GlyphMaximize; break;
    default: return;
    }
    const glyph_t& glyph = stat_GetBuiltinGlyph(position);
    CRect r(rect);
    if (pushed) r.OffsetRect(GetPushedOffset());
    const COLORREF shadow[2] = {0, GetColor(COLOR_BTNSHADOW)};
    if (!enabled) {
        PaintGlyphCentered(dc, r, glyph, shadow);
        return;
    }
    if ((m_nXpOptions & XpOptSysCmdGlyphs) != 0 && hover && !pushed) {
        PaintGlyphCentered(dc, r, glyph, shadow);
        r.OffsetRect(-2, -2);
    }
    const COLORREF colours[2] = {0, GetColor(1010)};
    PaintGlyphCentered(dc, r, glyph, colours);
}
