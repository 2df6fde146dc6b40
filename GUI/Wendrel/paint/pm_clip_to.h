// VEzaClipTo: while it lives, a DC's clip region is cut down to a rectangle,
// so that a painter whose frames or glyph do not fit paints nothing outside
// the rectangle it was given; the DC's state comes back at its end. For the
// painters' own use on the GUI thread.
#pragma once
#include "afxwin.h"

class VEzaClipTo {
public:
    VEzaClipTo(CDC& dc, const RECT& rect) : m_dc(dc), m_nSaved(dc.SaveDC()) { dc.IntersectClipRect(&rect); }
    ~VEzaClipTo() { m_dc.RestoreDC(m_nSaved); }
    VEzaClipTo(const VEzaClipTo&) = delete;
    VEzaClipTo& operator=(const VEzaClipTo&) = delete;

private:
    CDC& m_dc;
    int m_nSaved;
};
