// Menu items of both looks: the classic item with system-colour fills, 3-D
// boxes and embossed disabled text, the XP item with its gutter, framed
// light selection and flat frames; the icon area and the in-place control
// strip each look draws after the text.
#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/pm_clip_to.h"
#include "paint/paint_system.h"
#include "paint/pm_frame_draw.h"
#include "paint/pm_menu_glyphs.h"
#include "toolkit/menu_types.h"

using MenuItem = VEzaPaintManager::PAINTMENUITEMDATA;

bool VEzaPaintManager::PAINTMENUITEMDATA::IsRTL() const {
    return m_pHelperSrc != nullptr && m_pHelperSrc->IsKindOf(RUNTIME_CLASS(VEzaPopupMenuWnd)) &&
           static_cast<VEzaPopupMenuWnd*>(m_pHelperSrc)->OnQueryLayoutRTL();
}

namespace {

COLORREF SysColor(int index) { return VEzaGetPaintSystem().pfnGetSysColor(index); }

bool HasIcon(const MenuItem& d) { return d.m_pIcon != nullptr && !d.m_pIcon->IsEmpty(); }

// Cuts the gutter off the rectangle's leading edge.
void CutGutter(CRect& r, int gutter, bool rtl) {
    if (rtl)
        r.right -= gutter;
    else
        r.left += gutter;
}

// The submenu arrow's column: 16 pixels at the trailing edge of the
// selection inset by 3.
CRect ArrowColumn(const MenuItem& d, bool rtl) {
    CRect column(d.m_rcSelection);
    column.DeflateRect(3, 3);
    if (rtl)
        column.right = column.left + 16;
    else
        column.left = column.right - 16;
    return column;
}

// The text's size on one line, with the item's reading order.
CSize Measure(CDC& dc, LPCSTR text, bool rtl) {
    CRect m(0, 0, 0, 0);
    dc.DrawText(text, -1, &m, DT_CALCRECT | DT_SINGLELINE | (rtl ? DT_RTLREADING | DT_RIGHT : 0));
    return m.Size();
}

void DrawSubmenuArrow(CDC& dc, CFont& marlett, const CRect& arrow, COLORREF colour, bool rtl) {
    CFont* old = dc.SelectObject(&marlett);
    dc.SetTextColor(colour);
    CRect r(arrow);
    dc.DrawText(rtl ? "3" : "4", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(old);
}

// The DC's text colour, background mode and font, put back on destruction.
class TextState {
public:
    explicit TextState(CDC& dc)
        : m_dc(dc), m_text(dc.GetTextColor()), m_mode(dc.GetBkMode()),
          m_font(static_cast<HFONT>(::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT))) {}
    ~TextState() {
        ::SelectObject(m_dc.GetSafeHdc(), m_font);
        m_dc.SetBkMode(m_mode);
        m_dc.SetTextColor(m_text);
    }
    TextState(const TextState&) = delete;
    TextState& operator=(const TextState&) = delete;

private:
    CDC& m_dc;
    COLORREF m_text;
    int m_mode;
    HFONT m_font;
};

void SelectItemFont(CDC& dc, const MenuItem& d, CFont& normal) {
    if (d.m_hFont != nullptr)
        ::SelectObject(dc.GetSafeHdc(), d.m_hFont);
    else
        dc.SelectObject(&normal);
}

}  // namespace

namespace {
// The icon area, the same in both looks but for the box fills and frames
// (drawn after the text): icon or system-command glyph, the extra mark,
// check or radio box, then the in-place strip.
void PaintMenuItemIconArea(VEzaPaintManager& pm, CDC& dc, MenuItem& d, bool xp);

// Everything an item paints lies within its item and selection rectangles,
// even when they are too small for its gutter, marks or text.
CRect ItemBounds(const MenuItem& d) {
    CRect bounds;
    bounds.UnionRect(&d.m_rcItem, &d.m_rcSelection);
    return bounds;
}
}  // namespace

void VEzaPaintManager::PaintMenuItem(CDC& dc, PAINTMENUITEMDATA& d) {
    if (d.m_rcSelection.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, ItemBounds(d));
    CObject* object = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const bool rtl = d.IsRTL();
    const bool selected = d.Has(MenuItem::Selected), rarely = d.Has(MenuItem::RarelyUsed);
    const bool enabled = d.Has(MenuItem::Enabled);
    COLORREF background = GetColor(1000, object, lParam), foreground = GetColor(1010, object, lParam);
    pmdraw::Fill(dc, d.m_rcItem, background);
    if (selected) {
        background = GetColor(COLOR_HIGHLIGHT, object, lParam);
        foreground = GetColor(COLOR_HIGHLIGHTTEXT, object, lParam);
    }
    if (rarely) {
        pmdraw::Fill(dc, d.m_rcItem, m_brushHelper[0]);
        const CRect& r = d.m_rcItem;
        if (!d.Has(MenuItem::RarelyUsedPrev))
            pmdraw::Line(dc, r.left, r.top, r.right, r.top, GetColor(COLOR_BTNSHADOW, object, lParam));
        if (!d.Has2(MenuItem::RarelyUsedNext))
            pmdraw::Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1,
                         GetColor(COLOR_BTNHIGHLIGHT, object, lParam));
    }
    CRect text(d.m_rcSelection);
    const bool hasMark = HasIcon(d) || d.Has(MenuItem::Checked) || d.Has(MenuItem::Radio);
    // With a mark the gutter keeps its face; without one the selection
    // runs over it.
    if (hasMark) CutGutter(text, d.m_nGutterWidth, rtl);
    text.left += 1;
    if (selected || !rarely) pmdraw::Fill(dc, text, background);
    if (!hasMark) CutGutter(text, d.m_nGutterWidth, rtl);
    text.DeflateRect(6, 3);

    {
        TextState state(dc);
        dc.SetTextColor(foreground);
        dc.SetBkMode(TRANSPARENT);
        SelectItemFont(dc, d, m_FontNormal);
        const UINT disabled = enabled ? 0 : UINT(m_DSS_DISABLED_style);
        const UINT rtlFlags = DT_RTLREADING | DT_RIGHT | DT_SINGLELINE;
        auto drawRtl = [&](LPCSTR s, CRect r) {
            if (enabled) {
                dc.DrawText(s, -1, &r, rtlFlags);
                return;
            }
            CRect raised(r);
            raised.OffsetRect(1, 1);
            dc.SetTextColor(GetColor(COLOR_BTNHIGHLIGHT, object, lParam));
            dc.DrawText(s, -1, &raised, rtlFlags);
            dc.SetTextColor(GetColor(COLOR_BTNSHADOW, object, lParam));
            dc.DrawText(s, -1, &r, rtlFlags);
            dc.SetTextColor(foreground);
        };
        auto drawLtr = [&](LPCSTR s, const CRect& r) {
            ::DrawStateA(dc.GetSafeHdc(), nullptr, nullptr, LPARAM(s), 0, r.left, r.top, r.Width(), r.Height(),
                         DST_PREFIXTEXT | disabled);
        };

        const CSize caption = Measure(dc, d.m_sText, rtl);
        CRect cap(text);
        cap.OffsetRect(0, (text.Height() - caption.cy) / 2);
        if (rtl) {
            cap.left = cap.right - caption.cx;
            drawRtl(d.m_sText, cap);
        } else {
            drawLtr(d.m_sText, cap);
        }
        if (d.m_sAccelText[0] != '\0') {
            const CSize accel = Measure(dc, d.m_sAccelText, rtl);
            CRect acc(text);
            acc.OffsetRect(0, (text.Height() - accel.cy) / 2);
            if (rtl) {
                acc.left = text.left + 16;
                acc.right = acc.left + accel.cx;
                text.right = acc.right;
                drawRtl(d.m_sAccelText, acc);
            } else {
                acc.left = text.right - accel.cx - 16;
                text.left = acc.left;
                drawLtr(d.m_sAccelText, acc);
            }
        }
        if (d.Has(MenuItem::Popup)) {
            const CRect column = ArrowColumn(d, rtl);
            if (d.Has2(MenuItem::ExtraGlyph)) {
                const COLORREF colours[2] = {
                    0, selected ? GetColor(COLOR_HIGHLIGHTTEXT, object, lParam) : GetColor(1010, object, lParam)};
                PaintGlyphCentered(dc, column, pmglyph::Submenu(d.Has2(MenuItem::SeparatedPopup)), colours);
            } else {
                COLORREF arrowColour = foreground;
                const int lead = rtl ? column.right : column.left;
                if (d.Has2(MenuItem::SeparatedPopup) && selected) {
                    arrowColour = GetColor(COLOR_BTNTEXT, object, lParam);
                    const CRect& s = d.m_rcSelection;
                    const CRect part = rtl ? CRect(s.left, s.top, lead, s.bottom) : CRect(lead, s.top, s.right, s.bottom);
                    if (rarely)
                        pmdraw::Fill(dc, part, m_brushHelper[0]);
                    else
                        pmdraw::Fill(dc, part, GetColor(1000, object, lParam));
                } else if (d.Has2(MenuItem::SeparatedPopup)) {
                    PaintSeparator(dc, CRect(lead, text.top, lead, text.bottom), true, true, nullptr, 0);
                }
                CRect arrow(column);
                if (rtl)
                    arrow.right -= 2;
                else
                    arrow.left += 2;
                DrawSubmenuArrow(dc, m_FontMarlett, arrow, arrowColour, rtl);
            }
        }
    }
    PaintMenuItemIconArea(*this, dc, d, false);
}

void VEzaPaintManagerXP::PaintMenuItem(CDC& dc, PAINTMENUITEMDATA& d) {
    if (d.m_rcSelection.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, ItemBounds(d));
    CObject* object = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const bool rtl = d.IsRTL();
    const bool selected = d.Has(MenuItem::Selected), rarely = d.Has(MenuItem::RarelyUsed);
    const bool noGutter = d.Has2(MenuItem::NoGutter);
    const COLORREF gutter = GetColor(rarely ? 2005 : 1000, object, lParam);
    const COLORREF frame = GetColor(2004, object, lParam);
    const COLORREF foreground =
        d.Has(MenuItem::Enabled) ? GetColor(1010, object, lParam) : SysColor(COLOR_BTNSHADOW);

    // The XP manager defines no gutter gradient: the gutter is one colour.
    CRect gutterRect(d.m_rcItem);
    if (rtl)
        gutterRect.left = gutterRect.right - d.m_nGutterWidth;
    else
        gutterRect.right = gutterRect.left + d.m_nGutterWidth;
    pmdraw::Fill(dc, gutterRect, gutter);
    CRect textPart(d.m_rcItem);
    if (!noGutter) CutGutter(textPart, d.m_nGutterWidth, rtl);
    pmdraw::Fill(dc, textPart, GetColor(2001, object, lParam));
    if (selected) {
        pmdraw::Fill(dc, d.m_rcSelection, GetColor(1001, object, lParam));
        pmdraw::Frame(dc, d.m_rcSelection, frame);
    }
    CRect text(textPart);
    text.DeflateRect(3, 1);
    CutGutter(text, 5, rtl);

    {
        TextState state(dc);
        dc.SetTextColor(foreground);
        dc.SetBkMode(TRANSPARENT);
        SelectItemFont(dc, d, m_FontNormal);
        const UINT flags = DT_SINGLELINE | (rtl ? DT_RTLREADING | DT_RIGHT : 0);
        const CSize caption = Measure(dc, d.m_sText, rtl);
        CRect cap(text);
        cap.OffsetRect(0, (text.Height() - caption.cy) / 2);
        if (rtl) cap.left = cap.right - caption.cx;
        dc.DrawText(d.m_sText, -1, &cap, flags);
        if (d.m_sAccelText[0] != '\0') {
            const CSize accel = Measure(dc, d.m_sAccelText, rtl);
            CRect acc(text);
            acc.OffsetRect(rtl ? 5 : -5, (text.Height() - accel.cy) / 2);
            if (rtl)
                acc.right = acc.left + accel.cx + 16;
            else
                acc.left = acc.right - accel.cx - 16;
            dc.DrawText(d.m_sAccelText, -1, &acc, flags);
        }
        if (d.Has(MenuItem::Popup)) {
            const CRect column = ArrowColumn(d, rtl);
            if (d.Has2(MenuItem::ExtraGlyph)) {
                const COLORREF colours[2] = {0, GetColor(1010, object, lParam)};
                PaintGlyphCentered(dc, column, pmglyph::Submenu(d.Has2(MenuItem::SeparatedPopup)), colours);
            } else {
                COLORREF arrowColour = foreground;
                if (d.Has2(MenuItem::SeparatedPopup) && selected) {
                    arrowColour = GetColor(COLOR_HIGHLIGHTTEXT, object, lParam);
                    const CRect& s = d.m_rcSelection;
                    const CRect part = rtl ? CRect(s.left + 1, s.top + 1, column.right + 1, s.bottom - 1)
                                           : CRect(column.left - 1, s.top + 1, s.right - 1, s.bottom - 1);
                    pmdraw::Fill(dc, part, GetColor(2003, object, lParam));
                    const CRect leading = rtl ? CRect(part.right - 1, part.top, part.right, part.bottom)
                                              : CRect(part.left, part.top, part.left + 1, part.bottom);
                    pmdraw::Fill(dc, leading, frame);
                } else if (d.Has2(MenuItem::SeparatedPopup)) {
                    const int lead = rtl ? column.right : column.left;
                    PaintSeparator(dc, CRect(lead, text.top, lead, text.bottom), true, true, nullptr, 0);
                }
                CRect arrow(column);
                arrow.left += 2;
                DrawSubmenuArrow(dc, m_FontMarlett, arrow, arrowColour, rtl);
            }
        }
    }
    PaintMenuItemIconArea(*this, dc, d, true);
}

namespace {

// The XP check-box fill: one colour, the manager defining no pair.
void XpBoxFill(VEzaPaintManager& pm, CDC& dc, const CRect& r, const MenuItem& d) {
    pmdraw::Fill(dc, r, pm.GetColor(d.Has(MenuItem::Selected) ? 2003 : 1001, d.m_pHelperSrc, d.m_lParam));
}

void PaintInPlaceStrip(VEzaPaintManager& pm, CDC& dc, MenuItem& d, bool xp, bool rtl);

void PaintMenuItemIconArea(VEzaPaintManager& pm, CDC& dc, MenuItem& d, bool xp) {
    CObject* object = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const bool rtl = d.IsRTL();
    const int dir = rtl ? -1 : 1;
    const bool hasIcon = HasIcon(d), checked = d.Has(MenuItem::Checked), radio = d.Has(MenuItem::Radio);
    const bool enabled = d.Has(MenuItem::Enabled), selected = d.Has(MenuItem::Selected);
    const CRect& sel = d.m_rcSelection;

    CSize size(16, 16);
    if (hasIcon) size = d.m_pIcon->GetSize();
    if (size.cx <= 18 && size.cy < size.cx) size.cy = size.cx;
    const int gutter = d.m_nGutterWidth;
    int dx = (gutter - size.cx) / 2 - (xp ? 1 : 0);
    if (d.Has2(MenuItem::ExtraMark)) dx = (gutter / 2 + (gutter / 2 - size.cx) / 2) - 2;
    CRect icon(rtl ? sel.right - size.cx : sel.left, sel.top, 0, 0);
    icon.right = icon.left + size.cx;
    icon.bottom = icon.top + size.cy;
    icon.OffsetRect(dir * dx, (sel.Height() - size.cy) / 2);

    const COLORREF markColour = pm.GetColor(1010, object, lParam);
    if (d.Has2(MenuItem::ExtraMark) && d.Has2(MenuItem::ExtraMarkChecked)) {
        const int h = sel.Height();
        // A square at the leading edge, inset by 1, mirrored for right to left.
        const CRect mark = rtl ? CRect(sel.right - h + 1, sel.top + 1, sel.right - 1, sel.bottom - 1)
                               : CRect(sel.left + 1, sel.top + 1, sel.left + h - 1, sel.bottom - 1);
        if (xp)
            XpBoxFill(pm, dc, mark, d);
        else
            pmdraw::Fill(dc, mark, pm.m_brushHelper[0]);
        const CPoint centre = mark.CenterPoint();
        VEzaPaintManager::stat_PaintCheckMark(dc, centre.x - 3, centre.y - 3, markColour);
        if (xp)
            pmdraw::Frame(dc, mark, pm.GetColor(2004, object, lParam));
        else
            pmdraw::Edge(dc, mark, pm.GetColor(1006, object, lParam), pm.GetColor(1004, object, lParam));
    }
    CRect box(icon);
    box.InflateRect(2, 2);
    if (checked || radio) {
        if (xp)
            XpBoxFill(pm, dc, box, d);
        else
            pmdraw::Fill(dc, box, pm.m_brushHelper[0]);
    }
    if (!hasIcon) {
        pm.PaintSysCmdGlyph(dc, d.m_nSysCmdId, icon, selected, false, enabled);
    } else if (xp) {
        CRect textRect(0, 0, 0, 0);
        pm.PaintIcon(dc, true, "", d.m_pIcon, icon, textRect, checked || radio, enabled, selected, 0, false,
                     d.m_clrIcon);
    } else {
        d.m_pIcon->Paint(dc.GetSafeHdc(), icon.TopLeft(), enabled ? 0 : 1);
    }
    if (!xp && selected && enabled && !checked && !radio)
        pmdraw::Edge(dc, box, pm.GetColor(1004, object, lParam), pm.GetColor(1006, object, lParam));
    if (checked || radio) {
        if (!hasIcon) {
            const int x = icon.left + icon.Width() / 2 - 3, y = icon.top + icon.Height() / 2 - 3;
            if (checked)
                VEzaPaintManager::stat_PaintCheckMark(dc, x, y, markColour);
            else
                VEzaPaintManager::stat_PaintRadioDot(dc, x, y, markColour);
        }
        if (xp)
            pmdraw::Frame(dc, box, pm.GetColor(2004, object, lParam));
        else
            pmdraw::Edge(dc, box, pm.GetColor(1006, object, lParam), pm.GetColor(1004, object, lParam));
    }
    if (!d.m_rcInPlaceWnd.IsRectEmpty()) PaintInPlaceStrip(pm, dc, d, xp, rtl);
}

void PaintInPlaceStrip(VEzaPaintManager& pm, CDC& dc, MenuItem& d, bool xp, bool rtl) {
    CObject* object = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const bool enabled = d.Has(MenuItem::Enabled), selected = d.Has(MenuItem::Selected);
    const bool pressed = (d.m_nInPlaceState & 1) != 0;
    const int thumb = ::GetSystemMetrics(SM_CXHTHUMB);
    const COLORREF buttonText = pm.GetColor(COLOR_BTNTEXT, object, lParam);
    CRect strip(d.m_rcInPlaceWnd);
    if (!xp) {
        strip.InflateRect(2, 2, 2, 3);
        if (d.Has(MenuItem::Popup)) {
            pmdraw::Fill(dc, CRect(strip.left, strip.top, strip.right + thumb, strip.bottom),
                         pm.GetColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE, object, lParam));
            strip.right += thumb;
            if (enabled) {
                VEzaPaintManager::PAINTCOMBOFRAMEDATA combo(object, strip, selected, selected && pressed, true);
                combo.m_bNoOuterFrame = true;
                pm.PaintComboFrame(dc, combo);
            } else {
                pmdraw::Frame(dc, CRect(strip.left + 2, strip.top + 2, strip.right - 2, strip.bottom - 2),
                              pm.GetColor(COLOR_WINDOW, object, lParam));
                const COLORREF colours[2] = {0, buttonText};
                pm.PaintGlyphCentered(dc, CRect(strip.right - thumb, strip.top, strip.right, strip.bottom),
                                      VEzaPaintManager::GlyphExpandBottom(), colours);
            }
            strip.DeflateRect(1, 1);
            strip.right -= thumb;
        } else if (enabled) {
            const COLORREF face = pm.GetColor(COLOR_BTNFACE, object, lParam);
            pmdraw::Frame(dc, strip, face);
            strip.DeflateRect(1, 1);
            if (selected)
                pmdraw::Edge(dc, strip, pm.GetColor(COLOR_BTNSHADOW, object, lParam),
                             pm.GetColor(COLOR_BTNHIGHLIGHT, object, lParam));
            else
                pmdraw::Frame(dc, strip, face);
        } else {
            pmdraw::Frame(dc, CRect(strip.left + 2, strip.top + 2, strip.right - 2, strip.bottom - 2),
                          pm.GetColor(COLOR_WINDOW, object, lParam));
        }
    } else {
        strip.InflateRect(1, 2);
        const COLORREF fill = SysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
        const COLORREF frame = pm.GetColor(2004, object, lParam);
        if (d.Has(MenuItem::Popup)) {
            strip.right += thumb;
            pmdraw::Fill(dc, strip, fill);
            const CRect button(strip.right - (thumb - 1), strip.top, strip.right, strip.bottom);
            COLORREF stripFrame = frame;
            if (selected && enabled) {
                VEzaPaintManager::PAINTPUSHBUTTONDATA push(&pm, true, button, "", nullptr, true, selected, pressed,
                                                          false, true, true, false, false, 0, nullptr, false, 0,
                                                          false);
                pm.PaintPushButton(dc, push);
            } else {
                if (enabled)
                    pmdraw::Fill(dc, CRect(button.left + 2, button.top + 2, button.right - 2, button.bottom - 2),
                                 pm.GetColor(COLOR_BTNFACE, object, lParam));
                stripFrame = pm.GetColor(enabled ? 2010 : 2011, object, lParam);
            }
            pmdraw::Frame(dc, strip, stripFrame);
            const COLORREF arrow = !enabled                         ? SysColor(COLOR_BTNSHADOW)
                                   : selected && pressed ? pm.GetColor(2006, object, lParam)
                                                         : buttonText;
            const COLORREF colours[2] = {0, arrow};
            pm.PaintGlyphCentered(dc, button, VEzaPaintManager::GlyphExpandBottom(), colours);
            strip.right -= thumb;
        } else {
            pmdraw::Fill(dc, strip, fill);
            pmdraw::Frame(dc, strip, selected ? frame : pm.GetColor(enabled ? 2010 : 2011, object, lParam));
        }
    }
    if (d.m_sInPlaceText.IsEmpty()) return;
    CRect text(strip.left + 5, strip.top + (xp ? 3 : 2), strip.right - 2, strip.bottom - 2);
    TextState state(dc);
    dc.SetTextColor(SysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    dc.SetBkMode(TRANSPARENT);
    SelectItemFont(dc, d, pm.m_FontNormal);
    dc.DrawText(d.m_sInPlaceText, &text, DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_RTLREADING | DT_RIGHT : 0));
}

}  // namespace
