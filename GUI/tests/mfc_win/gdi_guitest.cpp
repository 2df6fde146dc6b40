// CDC drawing checked pixel by pixel in a memory DC over a 32-bit DIB section; which
// DCs a CDC deletes.
#include "afxwin.h"

#include <string>

#include "wtest.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

struct Canvas {
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    Canvas(int w, int h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc.CreateCompatibleDC(nullptr);
        old = dc.SelectObject(&bitmap);
    }
    ~Canvas() { dc.SelectObject(old); }
    COLORREF At(int x, int y)
    {
        ::GdiFlush();
        return dc.GetPixel(x, y);
    }
};

struct Pixel {
    int x, y;
    COLORREF color;
};

void CheckPixels(Canvas& c, std::initializer_list<Pixel> pixels)
{
    for (const Pixel& p : pixels) {
        COLORREF got = c.At(p.x, p.y);
        if (got != p.color)
            wtest::fail(__FILE__, __LINE__, "pixel " + std::to_string(p.x) + "," + std::to_string(p.y) + ": " +
                                                std::to_string(got) + " != " + std::to_string(p.color));
    }
}

}  // namespace

WTEST(fill_solid_rect_leaves_the_background_colour_changed)
{
    Canvas c(40, 40);
    WCHECK(c.dc.m_hDC != nullptr && c.dc.m_hAttribDC == c.dc.m_hDC);
    c.dc.FillSolidRect(0, 0, 40, 40, kWhite);
    c.dc.FillSolidRect(CRect(10, 10, 20, 15), kRed);
    WCHECK_EQ(c.dc.GetBkColor(), kRed);
    CheckPixels(c, {{10, 10, kRed}, {19, 14, kRed}, {20, 14, kWhite}, {19, 15, kWhite}, {9, 10, kWhite}});
}

WTEST(draw_3d_rect_frames_without_corners)
{
    Canvas c(40, 40);
    c.dc.FillSolidRect(0, 0, 40, 40, kWhite);
    c.dc.Draw3dRect(5, 5, 10, 8, kRed, kBlue);  // covers x 5..14, y 5..12
    CheckPixels(c, {
                       {5, 5, kRed},     // top-left corner
                       {13, 5, kRed},    // top row ends at x + cx - 2
                       {14, 5, kBlue},   // top-right corner belongs to the right column
                       {5, 11, kRed},    // left column ends at y + cy - 2
                       {5, 12, kBlue},   // bottom-left corner belongs to the bottom row
                       {14, 12, kBlue},
                       {14, 8, kBlue},
                       {9, 12, kBlue},
                       {9, 8, kWhite},   // inside untouched
                       {15, 5, kWhite},
                       {5, 13, kWhite},
                   });
}

WTEST(pens_brushes_and_clip_regions)
{
    Canvas c(40, 40);
    c.dc.FillSolidRect(0, 0, 40, 40, kWhite);
    CPen pen(PS_SOLID, 1, kBlack);
    CBrush brush(kGreen);
    CPen* oldPen = c.dc.SelectObject(&pen);
    CBrush* oldBrush = c.dc.SelectObject(&brush);
    WCHECK(oldPen != nullptr && oldPen->m_hObject == ::GetStockObject(BLACK_PEN));
    WCHECK(oldBrush != nullptr && oldBrush->m_hObject == ::GetStockObject(WHITE_BRUSH));
    c.dc.Rectangle(20, 20, 30, 30);
    c.dc.SelectObject(oldPen);
    c.dc.SelectObject(oldBrush);
    CheckPixels(c, {{20, 20, kBlack}, {29, 29, kBlack}, {25, 25, kGreen}, {30, 30, kWhite}});

    CRgn clip;
    WCHECK(clip.CreateRectRgn(0, 30, 10, 40));
    c.dc.SelectClipRgn(&clip);
    c.dc.FillSolidRect(0, 30, 40, 10, kYellow);
    CheckPixels(c, {{5, 35, kYellow}, {15, 35, kWhite}});
    c.dc.SelectClipRgn(nullptr);  // removes the clip region
    c.dc.FillSolidRect(0, 30, 40, 10, kYellow);
    CheckPixels(c, {{15, 35, kYellow}});
    AfxDeleteTempMaps();
}

WTEST(point_fonts_convert_tenths_of_points_to_logical_units)
{
    Canvas c(10, 10);
    int dpi = c.dc.GetDeviceCaps(LOGPIXELSY);
    struct Case {
        int tenths;
    } cases[] = {{60}, {80}, {100}, {120}};
    for (const Case& k : cases) {
        CFont font;
        WCHECK(font.CreatePointFont(k.tenths, "Tahoma", &c.dc));
        LOGFONTA lf{};
        font.GetLogFont(&lf);
        WCHECK_EQ(lf.lfHeight, LONG(-::MulDiv(dpi, k.tenths, 720)));
        WCHECK_EQ(std::string(lf.lfFaceName), std::string("Tahoma"));
    }
    if (dpi == 96) {
        CFont font;
        font.CreatePointFont(60, "Tahoma");
        LOGFONTA lf{};
        font.GetLogFont(&lf);
        WCHECK_EQ(lf.lfHeight, LONG(-8));
    }
}

namespace {

// A DC that redirects its text output, as a memory DC of the toolkit does.
class CCountingDC : public CDC {
public:
    int texts = 0;
    BOOL TextOut(int, int, LPCSTR, int) override { ++texts; return TRUE; }
    int DrawText(LPCSTR, int, LPRECT, UINT) override { ++texts; return 1; }
};

}  // namespace

WTEST(text_members_dispatch_to_the_overriding_dc)
{
    Canvas c(20, 20);
    c.dc.FillSolidRect(0, 0, 20, 20, kWhite);
    CCountingDC counting;
    counting.Attach(c.dc.m_hDC);
    CDC* base = &counting;
    CRect r(0, 0, 20, 20);
    base->TextOut(0, 0, CString("x"));  // the CString form goes through the virtual
    base->DrawText(CString("x"), &r, DT_LEFT);
    WCHECK_EQ(counting.texts, 2);
    CheckPixels(c, {{2, 5, kWhite}, {4, 8, kWhite}});  // nothing reached the bitmap
    counting.Detach();
}

WTEST(a_dc_deletes_only_what_it_created)
{
    // Attached (a memory DC, a window's DC): still usable after the object is gone.
    HDC memory = ::CreateCompatibleDC(nullptr);
    { CDC dc; WCHECK(dc.Attach(memory)); }
    WCHECK_EQ(::GetObjectType(memory), DWORD(OBJ_MEMDC));
    WCHECK(::DeleteDC(memory));
    CWnd wnd;
    WCHECK(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 20, 20), nullptr, 0));
    HDC window = ::GetDC(wnd.m_hWnd);
    { CDC dc; dc.Attach(window); }
    WCHECK(::GetObjectType(window) != 0);
    WCHECK_EQ(::ReleaseDC(wnd.m_hWnd, window), 1);
    wnd.DestroyWindow();

    // Created by the object: deleted with it, unless detached first.
    HDC made, taken;
    {
        CDC dc;
        WCHECK(dc.CreateCompatibleDC(nullptr));
        made = dc.m_hDC;
    }
    WCHECK_EQ(::GetObjectType(made), DWORD(0));
    {
        CDC dc;
        WCHECK(dc.CreateCompatibleDC(nullptr));
        taken = dc.Detach();
    }
    WCHECK_EQ(::GetObjectType(taken), DWORD(OBJ_MEMDC));
    ::DeleteDC(taken);
}
