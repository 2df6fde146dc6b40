#include "grid/grid_style.h"

#include <algorithm>
#include <cstring>

namespace {

void SetSysAdornment(CELL_ADORNMENT& a, int bkIndex, COLORREF text) {
    a.bkColor = ::GetSysColor(bkIndex);
    a.textColor = text;
    // System colour brushes belong to the system: deleting one does nothing,
    // so the style never tries.
    a.brush.Reset(::GetSysColorBrush(bkIndex), false);
}

void SetSolidAdornment(CELL_ADORNMENT& a, COLORREF bk, COLORREF text) {
    a.bkColor = bk;
    a.textColor = text;
    a.brush.Reset(::CreateSolidBrush(bk));
}

void CopyPlain(GRAPHIC_CELL_STYLE& to, const GRAPHIC_CELL_STYLE& from) {
    static_cast<CELL_STYLE&>(to) = from;
    to.hMargin = from.hMargin;
    to.vMargin = from.vMargin;
    to.minHeight = from.minHeight;
    to.textColor = from.textColor;
    to.bkColor = from.bkColor;
}

HFONT CopyFont(HFONT source) {
    if (!source) return nullptr;
    LOGFONTA lf;
    if (::GetObjectA(source, sizeof lf, &lf) != sizeof lf) return nullptr;
    return ::CreateFontIndirectA(&lf);
}

}  // namespace

GRAPHIC_CELL_STYLE::GRAPHIC_CELL_STYLE() {
    shadeColor = bkColor;
    InitAdornment();
}

GRAPHIC_CELL_STYLE::GRAPHIC_CELL_STYLE(const GRAPHIC_CELL_STYLE& src) {
    CopyPlain(*this, src);
    font.Reset(CopyFont(src.font.Get()));
    SetBkColor(src.bkColor);
    cellImages = src.cellImages;
    elementImages = src.elementImages;
    shadedRows = src.shadedRows;
    InitAdornment();
}

GRAPHIC_CELL_STYLE::GRAPHIC_CELL_STYLE(GRAPHIC_CELL_STYLE&& src) noexcept
    : CELL_STYLE(src),
      hMargin(src.hMargin),
      vMargin(src.vMargin),
      minHeight(src.minHeight),
      textColor(src.textColor),
      bkColor(src.bkColor),
      font(src.font),
      bkBrush(src.bkBrush),
      shadeBrush(src.shadeBrush),
      cellImages(src.cellImages),
      elementImages(src.elementImages),
      shadeColor(src.shadeColor),
      focus(src.focus),
      selection(src.selection),
      inactiveSelection(src.inactiveSelection),
      shadedRows(src.shadedRows) {}

GRAPHIC_CELL_STYLE& GRAPHIC_CELL_STYLE::operator=(const GRAPHIC_CELL_STYLE& src) {
    if (this == &src) return *this;
    CopyPlain(*this, src);
    // The holders' assignment moves each handle with its owned flag.
    font = src.font;
    bkBrush = src.bkBrush;
    shadeBrush = src.shadeBrush;
    cellImages = src.cellImages;
    elementImages = src.elementImages;
    shadeColor = src.shadeColor;
    focus = src.focus;
    selection = src.selection;
    inactiveSelection = src.inactiveSelection;
    shadedRows = src.shadedRows;
    return *this;
}

GRAPHIC_CELL_STYLE& GRAPHIC_CELL_STYLE::operator=(GRAPHIC_CELL_STYLE&& src) noexcept {
    return *this = static_cast<const GRAPHIC_CELL_STYLE&>(src);
}

COLORREF GRAPHIC_CELL_STYLE::ShadeOf(COLORREF c) {
    if (c == 0) return RGB(5, 5, 5);
    auto shade = [](int channel) { return std::min(::MulDiv(channel, 95, 100), 255); };
    return RGB(shade(GetRValue(c)), shade(GetGValue(c)), shade(GetBValue(c)));
}

void GRAPHIC_CELL_STYLE::SetBkColor(COLORREF c) {
    bkColor = c;
    bkBrush.Reset(::CreateSolidBrush(c));
    shadeColor = ShadeOf(c);
    shadeBrush.Reset(::CreateSolidBrush(shadeColor));
}

void GRAPHIC_CELL_STYLE::InitAdornment() {
    SetSysAdornment(focus, COLOR_HIGHLIGHT, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetSysAdornment(selection, COLOR_HIGHLIGHT, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetSysAdornment(inactiveSelection, COLOR_BTNFACE, 0);
}

CELL_STYLE_TABLE CreateBasicStyles() {
    // Built at its final size: every style is a copy of the default (its own
    // brushes), and nothing is moved afterwards.
    CELL_STYLE_TABLE table(new CELL_STYLE_VECTOR(8, GRAPHIC_CELL_STYLE()));
    CELL_STYLE_VECTOR& s = *table;

    HDC screen = ::GetDC(nullptr);
    const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);

    auto makeFont = [dpiY](int points, LONG weight) {
        LOGFONTA lf;
        std::memset(&lf, 0, sizeof lf);
        lf.lfHeight = -::MulDiv(points, dpiY, 72);
        lf.lfWeight = weight;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(lf.lfFaceName, "Arial");
        return ::CreateFontIndirectA(&lf);
    };
    const DWORD centredLine = DT_WORD_ELLIPSIS | DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_SINGLELINE;

    s[STYLE_NORMAL].font.Reset(makeFont(8, FW_NORMAL));
    s[STYLE_NORMAL].shadedRows = 1;

    s[STYLE_HORIZONTAL_TITLE1].format = centredLine;
    s[STYLE_HORIZONTAL_TITLE1].font.Reset(makeFont(8, FW_BOLD));
    s[STYLE_HORIZONTAL_TITLE1].textColor = 0xA62E00;
    s[STYLE_HORIZONTAL_TITLE1].hMargin = 5;
    s[STYLE_HORIZONTAL_TITLE1].vMargin = 5;

    s[STYLE_HORIZONTAL_TITLE2].font.Reset(makeFont(10, FW_BOLD));
    s[STYLE_HORIZONTAL_TITLE2].textColor = 0xA62E00;
    s[STYLE_HORIZONTAL_TITLE2].hMargin = 10;
    s[STYLE_HORIZONTAL_TITLE2].vMargin = 10;

    s[STYLE_VERTICAL_TITLE1].format = centredLine;
    s[STYLE_VERTICAL_TITLE1].font.Reset(makeFont(8, FW_NORMAL));

    GRAPHIC_CELL_STYLE& header = s[STYLE_HEADER];
    header.format = DT_WORD_ELLIPSIS | DT_NOPREFIX | DT_CENTER;
    header.font.Reset(makeFont(8, FW_NORMAL));
    header.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    header.edge = BDR_RAISEDINNER;
    header.lineFlags = 0x1E0;
    SetSolidAdornment(header.focus, 0xD2BDB6, 0x000000);
    SetSolidAdornment(header.selection, 0x2D4249, 0xFFFFFF);
    SetSolidAdornment(header.inactiveSelection, 0x2D4249, 0xFFFFFF);

    s[STYLE_PAGE].font.Reset(makeFont(8, FW_NORMAL));

    s[STYLE_LEVEL1].font.Reset(makeFont(8, FW_BOLD));
    s[STYLE_LEVEL1].textColor = 0xA62E00;
    s[STYLE_LEVEL1].shadedRows = 1;

    s[STYLE_FILTER_ALL].format = DT_WORD_ELLIPSIS | DT_NOPREFIX | DT_CENTER;
    s[STYLE_FILTER_ALL].font.Reset(makeFont(8, FW_NORMAL));
    return table;
}
