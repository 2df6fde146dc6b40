#include "paint/paint_system.h"

namespace {

COLORREF SystemColor(int index) { return ::GetSysColor(index); }
HBRUSH SystemColorBrush(int index) { return ::GetSysColorBrush(index); }

int ScreenBpp() {
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) return 0;
    const int bpp = ::GetDeviceCaps(dc, BITSPIXEL);
    ::ReleaseDC(nullptr, dc);
    return bpp;
}

const VEzaPaintSystem kSystem = {&SystemColor, &SystemColorBrush, &ScreenBpp};
const VEzaPaintSystem* g_current = &kSystem;

}  // namespace

const VEzaPaintSystem& VEzaGetPaintSystem() { return *g_current; }

void VEzaSetPaintSystem(const VEzaPaintSystem* system) { g_current = system != nullptr ? system : &kSystem; }
