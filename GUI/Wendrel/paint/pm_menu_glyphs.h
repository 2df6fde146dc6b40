// The small pictures the menu painters draw besides the paint manager's
// built-in glyphs: the two submenu marks of items that show a glyph instead
// of the arrow. Internal to the paint folder; the glyphs live as long as the
// process.
#pragma once
#include "paint/paint_manager.h"

namespace pmglyph {

// A triangle pointing right; the separated form has a bar before it.
const VEzaPaintManager::glyph_t& Submenu(bool separated);

}  // namespace pmglyph
