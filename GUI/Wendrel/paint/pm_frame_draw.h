// Small drawing steps shared by the frame, menu and ornament painters of
// both looks: edges and one-colour frames that paint nothing for a
// rectangle too small to hold them, and the toolbar background test.
// Internal to the paint folder; GUI thread only.
#pragma once
#include "afxwin.h"

namespace pmdraw {

// A 3-D edge (top and left in one colour, bottom and right in the other);
// nothing for an empty or inverted rectangle.
inline void Edge(CDC& dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    dc.Draw3dRect(&r, topLeft, bottomRight);
}

inline void Frame(CDC& dc, const RECT& r, COLORREF colour) { Edge(dc, r, colour, colour); }

inline void Fill(CDC& dc, const RECT& r, COLORREF colour) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    dc.FillSolidRect(&r, colour);
}

inline void Fill(CDC& dc, const RECT& r, CBrush& brush) {
    if (r.right <= r.left || r.bottom <= r.top || brush.GetSafeHandle() == nullptr) return;
    dc.FillRect(&r, &brush);
}

// A solid one-pixel line from a to b, b itself not painted.
inline void Line(CDC& dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, colour)) return;
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectObject(old);
}

// Whether the object is a toolbar that leaves its background to its parent.
bool IsToolbarInheritingBackground(CObject* object);

}  // namespace pmdraw
