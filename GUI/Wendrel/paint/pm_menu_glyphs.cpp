// Pixels of the menu painters' own glyphs (index 1 painted, 0 left alone).
#include "paint/pm_menu_glyphs.h"

namespace {

const UINT kSubmenu[4 * 7] = {
    1, 0, 0, 0,  //
    1, 1, 0, 0,  //
    1, 1, 1, 0,  //
    1, 1, 1, 1,  //
    1, 1, 1, 0,  //
    1, 1, 0, 0,  //
    1, 0, 0, 0,
};

const UINT kSubmenuSeparated[7 * 7] = {
    1, 0, 0, 1, 0, 0, 0,  //
    1, 0, 0, 1, 1, 0, 0,  //
    1, 0, 0, 1, 1, 1, 0,  //
    1, 0, 0, 1, 1, 1, 1,  //
    1, 0, 0, 1, 1, 1, 0,  //
    1, 0, 0, 1, 1, 0, 0,  //
    1, 0, 0, 1, 0, 0, 0,
};

}  // namespace

const VEzaPaintManager::glyph_t& pmglyph::Submenu(bool separated) {
    static const VEzaPaintManager::glyph_t plain(4, 7, 1, kSubmenu);
    static const VEzaPaintManager::glyph_t withBar(7, 7, 1, kSubmenuSeparated);
    return separated ? withBar : plain;
}
