// Rectangles, points and sizes: emptiness, inflation forms, exclusive far edges and the
// sign extension of points taken from message parameters.
#include "afxwin.h"

#include "wtest.h"

WTEST(rect_emptiness_and_hit_tests)
{
    struct Case {
        CRect r;
        bool empty;
    } cases[] = {
        {CRect(0, 0, 0, 0), true},    {CRect(0, 0, 5, 0), true},   {CRect(0, 0, 0, 5), true},
        {CRect(5, 5, 4, 10), true},   {CRect(0, 0, 1, 1), false},  {CRect(-5, -5, 5, 5), false},
    };
    for (const Case& c : cases) WCHECK_EQ(c.r.IsRectEmpty() != 0, c.empty);

    CRect r(10, 20, 30, 40);
    struct Hit {
        int x, y;
        bool inside;
    } hits[] = {{10, 20, true}, {29, 39, true}, {30, 39, false}, {29, 40, false}, {9, 25, false}, {15, 19, false}};
    for (const Hit& h : hits) WCHECK_EQ(r.PtInRect(CPoint(h.x, h.y)) != 0, h.inside);
    WCHECK_EQ(r.Width(), 20);
    WCHECK_EQ(r.Height(), 20);
    WCHECK(r.CenterPoint() == CPoint(20, 30));
    WCHECK(r.TopLeft() == CPoint(10, 20));
    WCHECK(r.BottomRight() == CPoint(30, 40));
}

WTEST(rect_inflate_and_deflate_forms)
{
    struct Case {
        CRect expected;
        CRect got;
    };
    CRect base(10, 10, 20, 20);
    auto apply = [&](auto fn) {
        CRect r = base;
        fn(r);
        return r;
    };
    Case cases[] = {
        {CRect(8, 8, 22, 22), apply([](CRect& r) { r.InflateRect(2, 2); })},
        {CRect(9, 8, 21, 22), apply([](CRect& r) { r.InflateRect(1, 2); })},
        {CRect(9, 8, 23, 24), apply([](CRect& r) { r.InflateRect(1, 2, 3, 4); })},
        {CRect(7, 6, 23, 24), apply([](CRect& r) { r.InflateRect(CSize(3, 4)); })},
        {CRect(12, 12, 18, 18), apply([](CRect& r) { r.DeflateRect(2, 2); })},
        {CRect(11, 12, 17, 16), apply([](CRect& r) { r.DeflateRect(1, 2, 3, 4); })},
        {CRect(11, 12, 17, 16), apply([](CRect& r) { CRect d(1, 2, 3, 4); r.DeflateRect(&d); })},
        {CRect(13, 14, 23, 24), apply([](CRect& r) { r.OffsetRect(3, 4); })},
        {CRect(12, 12, 20, 20), base & CRect(12, 12, 30, 30)},
        {CRect(0, 0, 20, 20), base | CRect(0, 0, 5, 5)},
        {CRect(10, 10, 20, 20), apply([](CRect& r) { r.InflateRect(3); r.DeflateRect(3); })},
    };
    for (const Case& c : cases) WCHECK(c.got == c.expected);
    CRect n(5, 6, 1, 2);
    n.NormalizeRect();
    WCHECK(n == CRect(1, 2, 5, 6));
}

WTEST(points_from_message_parameters_are_sign_extended)
{
    struct Case {
        LPARAM lp;
        int x, y;
    } cases[] = {
        {MAKELPARAM(10, 20), 10, 20},
        {MAKELPARAM(0xFFFF, 0xFFFE), -1, -2},
        {MAKELPARAM(0x8000, 0x7FFF), -32768, 32767},
    };
    for (const Case& c : cases) {
        CPoint p(c.lp);
        WCHECK_EQ(p.x, LONG(c.x));
        WCHECK_EQ(p.y, LONG(c.y));
    }
    CSize s = CSize(3, 4) + CSize(1, 1);
    WCHECK(s == CSize(4, 5));
    WCHECK(CPoint(1, 2) + CSize(3, 4) == CPoint(4, 6));
    WCHECK(sizeof(CRect) == sizeof(RECT) && sizeof(CPoint) == sizeof(POINT) && sizeof(CSize) == sizeof(SIZE));
}
