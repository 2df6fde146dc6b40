// Push buttons in both looks: background, borders, the drop-down part and its
// arrow, icon or system-command glyph, caption with mnemonic, focus
// rectangle. One drawing routine serves both looks; where they differ it asks
// which one it draws.
#include <cstdlib>
#include <string>

#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/pm_clip_to.h"

using PM = VEzaPaintManager;
using glyph_t = PM::glyph_t;

namespace {

const COLORREF kNone = COLORREF(-1);

COLORREF Pick(COLORREF first, COLORREF second) { return first != kNone ? first : second; }

// The DC's text colour, background colour and mode, put back at the end.
class DcColours {
public:
    explicit DcColours(CDC& dc)
        : m_dc(dc), m_text(dc.GetTextColor()), m_back(dc.GetBkColor()), m_mode(dc.SetBkMode(TRANSPARENT)) {}
    ~DcColours() {
        m_dc.SetBkMode(m_mode);
        m_dc.SetBkColor(m_back);
        m_dc.SetTextColor(m_text);
    }
    DcColours(const DcColours&) = delete;
    DcColours& operator=(const DcColours&) = delete;

private:
    CDC& m_dc;
    COLORREF m_text, m_back;
    int m_mode;
};

void PaintCaption(PM& pm, CDC& dc, const PM::PAINTPUSHBUTTONDATA& d, const CRect& textRect, bool rtl, bool xp) {
    const bool embossed = !xp && !d.m_bEnabled && d.m_clrDisabledText == kNone;
    const std::string caption = d.m_sText;
    std::string stripped = caption;
    const size_t amp = caption.find('&');
    if (amp != std::string::npos) stripped.erase(amp, 1);

    // The font: the caller's (turned for a vertical button when it is not
    // already), else the manager's.
    CFont turned;
    HFONT font = d.m_hFont;
    if (font != nullptr && !d.m_bHorizontal) {
        LOGFONT lf = {};
        ::GetObject(font, sizeof lf, &lf);
        if (lf.lfEscapement == 0) {
            lf.lfEscapement = lf.lfOrientation = 2700;
            turned.CreateFontIndirect(&lf);
            font = HFONT(turned.GetSafeHandle());
        }
    } else if (font == nullptr) {
        CFont& own = d.m_bHorizontal ? (d.m_bDefaultButton ? pm.m_FontBold : pm.m_FontNormal)
                                     : (d.m_bDefaultButton ? pm.m_FontBoldVert : pm.m_FontNormalVert);
        font = HFONT(own.GetSafeHandle());
    }
    const HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc.GetSafeHdc(), font) : nullptr;

    if (d.m_bHorizontal) {
        UINT flags = (rtl || d.m_bRtlReading) ? DT_RTLREADING : 0;
        flags |= d.m_bWordBreak ? DT_WORDBREAK : DT_SINGLELINE;
        CRect measured(0, 0, d.m_bWordBreak ? textRect.Width() : 0, 0);
        dc.DrawText(stripped.c_str(), int(stripped.size()), &measured, flags | DT_CALCRECT);
        CRect draw(textRect);
        if (measured.Width() < textRect.Width() && (d.m_nContentAlignment & 1) != 0)
            draw.OffsetRect((textRect.Width() - measured.Width()) / 2, 0);
        if (measured.Height() < textRect.Height() && (d.m_nContentAlignment & 4) != 0)
            draw.OffsetRect(0, (textRect.Height() - measured.Height()) / 2);
        if (embossed && !d.m_bPlainCaption) {
            const COLORREF previous = dc.SetTextColor(pm.GetColor(COLOR_BTNHIGHLIGHT, d.m_pSourceObject, d.m_lParam));
            CRect below(draw);
            below.OffsetRect(1, 1);
            dc.DrawText(caption.c_str(), int(caption.size()), &below, flags);
            dc.SetTextColor(pm.GetColor(COLOR_BTNSHADOW, d.m_pSourceObject, d.m_lParam));
            dc.DrawText(caption.c_str(), int(caption.size()), &draw, flags);
            dc.SetTextColor(previous);
        } else {
            dc.DrawText(caption.c_str(), int(caption.size()), &draw, flags);
        }
    } else {
        LOGFONT lf = {};
        if (font != nullptr) ::GetObject(font, sizeof lf, &lf);
        const int w = textRect.Width(), h = textRect.Height(), fh = std::abs(int(lf.lfHeight));
        const int half = (w - fh) / 2;
        CRect draw(CPoint(textRect.right - half - 1, textRect.top), CSize(w, h));
        draw.DeflateRect(2, 2);
        const UINT flags = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;

        // The underline of the mnemonic, measured along the text in the
        // horizontal form of the font.
        bool underline = false;
        int a = 0, b = 0, x = 0;
        if (amp != std::string::npos && amp < stripped.size()) {
            CFont& flat = d.m_bDefaultButton ? pm.m_FontBold : pm.m_FontNormal;
            const HGDIOBJ was = ::SelectObject(dc.GetSafeHdc(), flat.GetSafeHandle());
            auto extent = [&](size_t count) {
                CRect r(0, 0, 0, 0);
                dc.DrawText(stripped.c_str(), int(count), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                return r;
            };
            a = extent(amp).Width();
            b = extent(amp + 1).Width();
            const int th = extent(stripped.size()).Height();
            x = textRect.left + (w - th) / 2 - 1;
            ::SelectObject(dc.GetSafeHdc(), was);
            underline = true;
        }
        auto drawOnce = [&](const CRect& r, COLORREF colour) {
            dc.DrawText(stripped.c_str(), int(stripped.size()), const_cast<CRect*>(&r), flags);
            if (!underline) return;
            CPen pen(PS_SOLID, 0, colour);
            CPen* old = dc.SelectObject(&pen);
            dc.MoveTo(x + (r.left - draw.left), r.top + a);
            dc.LineTo(x + (r.left - draw.left), r.top + b);
            dc.SelectObject(old);
        };
        if (embossed) {
            const COLORREF previous = dc.SetTextColor(pm.GetColor(COLOR_BTNHIGHLIGHT, d.m_pSourceObject, d.m_lParam));
            CRect below(draw);
            below.OffsetRect(1, 1);
            drawOnce(below, dc.GetTextColor());
            dc.SetTextColor(pm.GetColor(COLOR_BTNSHADOW, d.m_pSourceObject, d.m_lParam));
            drawOnce(draw, dc.GetTextColor());
            dc.SetTextColor(previous);
        } else {
            drawOnce(draw, dc.GetTextColor());
        }
    }
    if (oldFont != nullptr) ::SelectObject(dc.GetSafeHdc(), oldFont);
}

void PaintPushButtonIn(PM& pm, CDC& dc, const PM::PAINTPUSHBUTTONDATA& data, bool xp,
                       const int* gradientIndices) {
    const CRect button(data.m_rcButton);
    if (button.IsRectEmpty()) return;
    // A button too small for its frames, arrow, icon or caption shows what
    // fits and nothing outside its rectangle.
    const VEzaClipTo clip(dc, button);
    PM::PAINTPUSHBUTTONDATA d = data;
    const bool rtl = d.IsRTL();
    if (!d.m_bEnabled) d.m_bHover = d.m_bReserved = d.m_bDrawFocusRect = false;
    if (!xp && d.m_bSeparatedDropDown && (d.m_bPushed || d.m_bDropDownPushed)) d.m_bHover = false;
    auto colour = [&](int index) { return pm.GetColor(index, d.m_pSourceObject, d.m_lParam); };

    DcColours saved(dc);

    // Backgrounds of the content and of the drop-down part.
    const COLORREF given = d.m_clrBackground;
    COLORREF content = given, part = given;
    if (given == kNone) {
        if (!xp) {
            content = part = colour(d.m_bHover || d.m_bPushed ? 1001 : 1000);
        } else if (d.m_bHover || d.m_bPushed || d.m_bDropDownPushed) {
            content = part = colour(1001);
            if (d.m_bPushed || d.m_bDropDownPushed) {
                const COLORREF pressed = colour(d.m_bHover ? 2003 : 1001);
                (d.m_bDropDownPushed ? part : content) = pressed;
            }
            if (d.m_bPushed && !d.m_bHover && d.m_bSeparatedDropDown && !d.m_bDropDownPushed) part = colour(1000);
        } else {
            content = part = colour(d.m_bFlat ? 1000 : COLOR_BTNFACE);
        }
    }
    const COLORREF frame =
        colour(d.m_bHover || d.m_bPushed || d.m_bDropDownPushed || d.m_bFlat ? 2004 : COLOR_BTNSHADOW);
    auto raised = [&](const CRect& r) {
        if (xp)
            dc.Draw3dRect(&r, frame, frame);
        else
            dc.Draw3dRect(&r, colour(1004), colour(1006));
    };
    auto sunken = [&](const CRect& r) {
        if (xp)
            dc.Draw3dRect(&r, frame, frame);
        else
            dc.Draw3dRect(&r, colour(1007), colour(1005));
    };
    CBrush* halftone = &pm.m_brushHelper[0];

    const bool pushedLook = (d.m_bPushed && !d.m_bSeparatedDropDown) || d.m_bDropDownPushed;

    // The drop-down part is cut off the content at the far side.
    const glyph_t& arrow = d.m_bHorizontal ? PM::GlyphExpandBottom() : PM::GlyphExpandBottomTurned();
    CRect contentRect(button), dropDownRect(0, 0, 0, 0);
    if (d.m_bDropDown) {
        const int reach = xp ? 1 : 0;
        if (d.m_bHorizontal && !rtl) {
            contentRect.right -= int(arrow.GetWidth()) + 6;
            dropDownRect.SetRect(contentRect.right - reach, button.top, button.right, button.bottom);
        } else if (d.m_bHorizontal) {
            contentRect.left += int(arrow.GetWidth()) + 6;
            dropDownRect.SetRect(button.left, button.top, contentRect.left + reach, button.bottom);
        } else {
            contentRect.bottom -= int(arrow.GetHeight()) + 6;
            dropDownRect.SetRect(button.left, contentRect.bottom - reach, button.right, button.bottom);
        }
    }
    CRect fillRect(button);
    if (d.m_bDropDown) {
        const bool filled = xp ? ((d.m_bHover || d.m_bDropDownPushed) && !d.m_bTransparentBackground) || given != kNone
                               : !d.m_bTransparentBackground || given != kNone;
        if (filled) {
            if (!xp && d.m_bEnabled && pushedLook && d.m_bHover && given == kNone)
                dc.FillRect(&dropDownRect, halftone);
            else
                dc.FillSolidRect(&dropDownRect, part);
        }
        if (d.m_bSeparatedDropDown) {
            fillRect = contentRect;
            if (pushedLook) {
                if (!d.m_bFlat || d.m_bDrawBorder) sunken(dropDownRect);
            } else if (!d.m_bFlat || (d.m_bHover && d.m_bDrawBorder)) {
                raised(dropDownRect);
            }
        }
    }

    if (!d.m_bTransparentBackground || given != kNone) {
        int state = -1;
        if (d.m_bHover && d.m_bPushed)
            state = 0;
        else if (d.m_bHover)
            state = 1;
        else if (d.m_bPushed)
            state = 2;
        if (!xp && d.m_bEnabled && d.m_bPushed && d.m_bHover && given == kNone) {
            dc.FillRect(&fillRect, halftone);
        } else if (xp && given == kNone && state >= 0 && gradientIndices != nullptr &&
                   gradientIndices[2 * state] >= 0 && gradientIndices[2 * state + 1] >= 0) {
            const COLORREF a = colour(gradientIndices[2 * state]), b = colour(gradientIndices[2 * state + 1]);
            if (d.m_bHorizontal)
                PM::stat_PaintGradientRect(dc, fillRect, b, a, true);
            else
                PM::stat_PaintGradientRect(dc, fillRect, a, b, false);
        } else {
            dc.FillSolidRect(&fillRect, content);
        }
    }

    const bool pushedFrame = d.m_bPushed || (xp && d.m_bDropDownPushed);
    if (pushedFrame) {
        if (!d.m_bFlat || d.m_bDrawBorder) sunken(fillRect);
    } else if (d.m_bFlat) {
        if (d.m_bHover && d.m_bDrawBorder) raised(fillRect);
    } else {
        raised(fillRect);
        if (d.m_bHover) {
            if (xp) {
                dc.Draw3dRect(&button, frame, frame);
            } else {
                dc.Draw3dRect(&button, colour(1006), colour(1008));
                CRect inner(button);
                inner.DeflateRect(1, 1);
                dc.Draw3dRect(&inner, colour(1004), colour(1006));
            }
        }
    }

    if (d.m_bDropDown) {
        CRect r(dropDownRect);
        if (pushedLook) r.OffsetRect(pm.GetPushedOffset());
        if (rtl && (r.Width() % 2 != 0) != xp) ++r.right;
        const COLORREF ink = xp ? colour(d.m_bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW)
                                : colour(d.m_bEnabled ? 1010 : 1006);
        const COLORREF colours[2] = {0, ink};
        pm.PaintGlyphCentered(dc, r, arrow, colours);
    }

    if (contentRect.IsRectEmpty()) return;
    CRect textRect(contentRect);
    const bool pressed = d.m_bPushed || (xp && d.m_bDropDownPushed);
    if (d.m_pIcon == nullptr || d.m_pIcon->IsEmpty()) {
        const int narrow = xp ? 3 : 2;
        if (d.m_bHorizontal)
            textRect.DeflateRect(narrow, 0);
        else
            textRect.DeflateRect(0, narrow);
        pm.PaintSysCmdGlyph(dc, d.m_nSysCmdId, contentRect, false, pressed, d.m_bEnabled);
    } else {
        RECT rest = textRect;
        pm.PaintIcon(dc, d.m_bHorizontal, d.m_sText, d.m_pIcon, contentRect, rest, pressed, d.m_bEnabled, d.m_bHover,
                     d.m_nTextAlignment, d.m_bForceRtl && d.m_bHorizontal, d.m_clrIcon);
        textRect = rest;
    }
    if (textRect.IsRectEmpty()) return;
    if (pressed) textRect.OffsetRect(pm.GetPushedOffset());

    if (*d.m_sText != '\0') {
        dc.SetBkColor(content);
        COLORREF text = kNone;
        if (d.m_bEnabled) {
            if (xp)
                text = d.m_bHover && d.m_bPushed ? Pick(d.m_clrPushedText, Pick(d.m_clrText, colour(2006)))
                                                 : Pick(d.m_clrText, colour(COLOR_BTNTEXT));
            else if (d.m_bPushed)
                text = Pick(d.m_clrPushedText, Pick(d.m_bHover ? d.m_clrHoverText : kNone,
                                                    Pick(d.m_clrText, colour(COLOR_BTNTEXT))));
            else if (d.m_bHover)
                text = Pick(d.m_clrHoverText, Pick(d.m_clrText, colour(COLOR_BTNTEXT)));
            else
                text = Pick(d.m_clrText, colour(COLOR_BTNTEXT));
        } else {
            text = xp ? Pick(d.m_clrDisabledText, colour(COLOR_BTNSHADOW)) : d.m_clrDisabledText;
        }
        if (text != kNone) dc.SetTextColor(text);
        PaintCaption(pm, dc, d, textRect, rtl, xp);
    }
    if (d.m_bDrawFocusRect) {
        CRect focus(textRect);
        focus.DeflateRect(3, 3);
        dc.DrawFocusRect(&focus);
    }
}

}  // namespace

PM::PAINTPUSHBUTTONDATA::PAINTPUSHBUTTONDATA(CObject* source, bool horizontal, const RECT& rect, LPCSTR text,
                                             VEzaCmdIcon* icon, bool flat, bool hover, bool pushed, bool reserved,
                                             bool enabled, bool drawBorder, bool drawFocusRect, bool defaultButton,
                                             int textAlignment, HFONT font, bool dropDown, UINT sysCmdId,
                                             bool transparentBackground)
    : m_pSourceObject(source), m_rcButton(rect), m_sText(text != nullptr ? text : ""), m_pIcon(icon),
      m_nTextAlignment(textAlignment), m_hFont(font), m_nSysCmdId(sysCmdId), m_bHorizontal(horizontal),
      m_bFlat(flat), m_bHover(hover), m_bPushed(pushed), m_bReserved(reserved), m_bEnabled(enabled),
      m_bDrawBorder(drawBorder), m_bDrawFocusRect(drawFocusRect), m_bDefaultButton(defaultButton),
      m_bDropDown(dropDown), m_bTransparentBackground(transparentBackground), m_bSeparatedDropDown(false),
      m_bDropDownPushed(false), m_bWordBreak(false) {
    m_nContentAlignment = (textAlignment & 1) != 0 ? 1 : ((textAlignment & 2) != 0 ? 2 : 0);
    if ((textAlignment & 8) != 0) m_nContentAlignment |= 4;
}

void VEzaPaintManager::PaintPushButton(CDC& dc, PAINTPUSHBUTTONDATA& data) {
    PaintPushButtonIn(*this, dc, data, false, nullptr);
}

void VEzaPaintManagerXP::PaintPushButton(CDC& dc, PAINTPUSHBUTTONDATA& data) {
    PaintPushButtonIn(*this, dc, data, true, m_pushButtonColors);
}
