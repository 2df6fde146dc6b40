// The built-in glyphs of the tab strip buttons, the shortcut-list arrows
// and the page navigator's configuration button: solid and hollow arrows,
// the item list, first and last (close and help are the caption buttons'
// glyphs). Directional pictures are drawn once and turned; the turned
// copies are made on first use and live until unloading.
#include "paint/paint_manager.h"

using glyph_t = VEzaPaintManager::glyph_t;

namespace {

// 1 paints colour map entry 1; 0 leaves the pixel.
const UINT kArrowUp[9 * 9] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 1, 0, 0, 0, 0,
    0, 0, 0, 1, 1, 1, 0, 0, 0,
    0, 0, 1, 1, 1, 1, 1, 0, 0,
    0, 1, 1, 1, 1, 1, 1, 1, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
};

const UINT kHollowUp[9 * 9] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 1, 0, 0, 0, 0,
    0, 0, 0, 1, 0, 1, 0, 0, 0,
    0, 0, 1, 0, 0, 0, 1, 0, 0,
    0, 1, 0, 0, 0, 0, 0, 1, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
};

const UINT kItemList[7 * 7] = {
    1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0,
    1, 1, 1, 1, 1, 1, 1,
    0, 1, 1, 1, 1, 1, 0,
    0, 0, 1, 1, 1, 0, 0,
    0, 0, 0, 1, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
};

const UINT kFirstUp[7 * 7] = {
    1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 1, 0, 0, 0,
    0, 0, 1, 1, 1, 0, 0,
    0, 1, 1, 1, 1, 1, 0,
    1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0,
};

// The page navigator's configuration button: a double chevron pointing
// right over a small triangle pointing down.
const UINT kConfigButton[7 * 12] = {
    1, 1, 0, 1, 1, 0, 0,
    0, 1, 1, 0, 1, 1, 0,
    0, 0, 1, 1, 0, 1, 1,
    0, 1, 1, 0, 1, 1, 0,
    1, 1, 0, 1, 1, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
    0, 1, 1, 1, 1, 1, 0,
    0, 0, 1, 1, 1, 0, 0,
    0, 0, 0, 1, 0, 0, 0,
};

}  // namespace

const glyph_t* VEzaPaintManager::stat_GetTabGlyph(int position) {
    static const glyph_t up(9, 9, 1, kArrowUp), hollowUp(9, 9, 1, kHollowUp), itemList(7, 7, 1, kItemList),
        firstUp(7, 7, 1, kFirstUp), configButton(7, 12, 2, kConfigButton);
    // Down is a half turn of up, left a three-quarter turn, right a quarter.
    static const glyph_t down(up, 180), left(up, 270), right(up, 90), hollowDown(hollowUp, 180),
        hollowLeft(hollowUp, 270), hollowRight(hollowUp, 90), firstLeft(firstUp, 270), lastDown(firstUp, 180),
        lastRight(firstUp, 90);
    switch (position) {
    case GlyphClose: return &stat_GetBuiltinGlyph(GlyphClose);
    case 2: return &up;
    case 3: return &down;
    case 4: return &left;
    case 5: return &right;
    case GlyphContextHelp: return &stat_GetBuiltinGlyph(GlyphContextHelp);
    case 17: return &hollowUp;
    case 18: return &hollowDown;
    case 19: return &hollowLeft;
    case 20: return &hollowRight;
    case 26: return &configButton;
    case 45: return &itemList;
    case 49: return &firstUp;
    case 50: return &firstLeft;
    case 51: return &lastDown;
    case 52: return &lastRight;
    default: return nullptr;
    }
}
