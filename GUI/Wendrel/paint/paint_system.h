// Where the paint managers read the system's colours, colour brushes and
// screen depth. The system answers by default; tests put in a table of their
// own to build colour tables for chosen system colours at both display
// depths. GUI thread only.
#pragma once
#include "afxwin.h"

#include "wendrel_export.h"

struct VEzaPaintSystem {
    COLORREF (*pfnGetSysColor)(int index);
    HBRUSH (*pfnGetSysColorBrush)(int index);
    // Bits per pixel of the screen.
    int (*pfnGetScreenBpp)();
};

// The table in use.
WENDREL_API const VEzaPaintSystem& VEzaGetPaintSystem();
// Puts a table in use (it must outlive its use); null puts the system back.
WENDREL_API void VEzaSetPaintSystem(const VEzaPaintSystem* system);
