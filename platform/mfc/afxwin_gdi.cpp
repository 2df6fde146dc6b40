// GDI wrappers and their temporary maps.
#include "afxwin_state.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CGdiObject::~CGdiObject() { DeleteObject(); }

template <class T, class H>
T* CGdiObject::TempFromHandle(H h)
{
    if (!h) return nullptr;
    auto& map = AfxGetWinThreadState().temporaryGdi;
    auto it = map.find((HGDIOBJ)h);
    if (it != map.end()) return static_cast<T*>(it->second);
    T* obj = new T;
    obj->m_hObject = (HGDIOBJ)h;
    map.emplace((HGDIOBJ)h, obj);
    return obj;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) { return TempFromHandle<CGdiObject>(h); }
CPen* CPen::FromHandle(HPEN h) { return TempFromHandle<CPen>(h); }
CBrush* CBrush::FromHandle(HBRUSH h) { return TempFromHandle<CBrush>(h); }
CFont* CFont::FromHandle(HFONT h) { return TempFromHandle<CFont>(h); }
CBitmap* CBitmap::FromHandle(HBITMAP h) { return TempFromHandle<CBitmap>(h); }
CPalette* CPalette::FromHandle(HPALETTE h) { return TempFromHandle<CPalette>(h); }
CRgn* CRgn::FromHandle(HRGN h) { return TempFromHandle<CRgn>(h); }

void CGdiObject::DeleteTempMap()
{
    auto& map = AfxGetWinThreadState().temporaryGdi;
    auto old = std::move(map);
    map.clear();
    for (auto& [h, obj] : old) {
        obj->m_hObject = nullptr;  // a temporary never owns its handle
        delete obj;
    }
}

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    if (!h) return FALSE;
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return Attach(::CreatePatternBrush((HBITMAP)bitmap->m_hObject));
}

BOOL CFont::CreatePointFont(int pointSize10, LPCSTR face, CDC* dc)
{
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize10;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* plf, CDC* dc)
{
    HDC hdc = dc ? dc->m_hAttribDC : ::GetDC(nullptr);
    LOGFONTA lf = *plf;
    POINT pt{0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), lf.lfHeight, 720)};
    POINT org{0, 0};
    ::DPtoLP(hdc, &pt, 1);
    ::DPtoLP(hdc, &org, 1);
    lf.lfHeight = -std::abs((int)(pt.y - org.y));
    if (!dc) ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }

BOOL CBitmap::LoadBitmap(LPCSTR name)
{
    return Attach(::LoadBitmapA(AfxFindResourceHandle(name, MAKEINTRESOURCEA(2) /* RT_BITMAP */), name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int w, int h)
{
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, w, h));
}

BOOL CPalette::CreateHalftonePalette(CDC* dc) { return Attach(::CreateHalftonePalette(dc->m_hDC)); }

// ---- CDC

CDC::~CDC()
{
    bool owns = m_bOwnsDC;
    HDC h = Detach();
    if (h && owns) ::DeleteDC(h);
}

CDC* CDC::FromHandle(HDC h)
{
    if (!h) return nullptr;
    auto& map = AfxGetWinThreadState().temporaryDC;
    auto it = map.find(h);
    if (it != map.end()) return it->second;
    CDC* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = h;
    map.emplace(h, dc);
    return dc;
}

void CDC::DeleteTempMap()
{
    auto& map = AfxGetWinThreadState().temporaryDC;
    auto old = std::move(map);
    map.clear();
    for (auto& [h, dc] : old) {
        dc->m_hDC = dc->m_hAttribDC = nullptr;
        delete dc;
    }
}

BOOL CDC::Attach(HDC h)
{
    if (!h) return FALSE;
    m_hDC = m_hAttribDC = h;
    m_bOwnsDC = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    ReleaseOutputDC();
    ReleaseAttribDC();
    m_bOwnsDC = false;
    return h;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

// Output and attribute DCs differ only while printing or previewing; settings that
// affect both go to both.
#define TRV_BOTH_DCS(call_out, call_attr)                          \
    do {                                                           \
        if (m_hDC && m_hDC != m_hAttribDC) (void)(call_out);       \
    } while (0)

COLORREF CDC::SetBkColor(COLORREF c)
{
    TRV_BOTH_DCS(::SetBkColor(m_hDC, c), 0);
    return m_hAttribDC ? ::SetBkColor(m_hAttribDC, c) : CLR_INVALID;
}
int CDC::SetBkMode(int mode)
{
    TRV_BOTH_DCS(::SetBkMode(m_hDC, mode), 0);
    return m_hAttribDC ? ::SetBkMode(m_hAttribDC, mode) : 0;
}
COLORREF CDC::SetTextColor(COLORREF c)
{
    TRV_BOTH_DCS(::SetTextColor(m_hDC, c), 0);
    return m_hAttribDC ? ::SetTextColor(m_hAttribDC, c) : CLR_INVALID;
}
int CDC::SetROP2(int mode)
{
    TRV_BOTH_DCS(::SetROP2(m_hDC, mode), 0);
    return m_hAttribDC ? ::SetROP2(m_hAttribDC, mode) : 0;
}
int CDC::SetPolyFillMode(int mode)
{
    TRV_BOTH_DCS(::SetPolyFillMode(m_hDC, mode), 0);
    return m_hAttribDC ? ::SetPolyFillMode(m_hAttribDC, mode) : 0;
}
int CDC::SetStretchBltMode(int mode)
{
    TRV_BOTH_DCS(::SetStretchBltMode(m_hDC, mode), 0);
    return m_hAttribDC ? ::SetStretchBltMode(m_hAttribDC, mode) : 0;
}
UINT CDC::SetTextAlign(UINT flags)
{
    TRV_BOTH_DCS(::SetTextAlign(m_hDC, flags), 0);
    return m_hAttribDC ? ::SetTextAlign(m_hAttribDC, flags) : 0;
}
DWORD CDC::SetLayout(DWORD layout)
{
    TRV_BOTH_DCS(::SetLayout(m_hDC, layout), 0);
    return m_hAttribDC ? ::SetLayout(m_hAttribDC, layout) : GDI_ERROR;
}
int CDC::SetMapMode(int mode)
{
    TRV_BOTH_DCS(::SetMapMode(m_hDC, mode), 0);
    return m_hAttribDC ? ::SetMapMode(m_hAttribDC, mode) : 0;
}
CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT p{};
    TRV_BOTH_DCS(::SetViewportOrgEx(m_hDC, x, y, nullptr), 0);
    if (m_hAttribDC) ::SetViewportOrgEx(m_hAttribDC, x, y, &p);
    return p;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT p{};
    TRV_BOTH_DCS(::OffsetViewportOrgEx(m_hDC, dx, dy, nullptr), 0);
    if (m_hAttribDC) ::OffsetViewportOrgEx(m_hAttribDC, dx, dy, &p);
    return p;
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE s{};
    TRV_BOTH_DCS(::SetViewportExtEx(m_hDC, cx, cy, nullptr), 0);
    if (m_hAttribDC) ::SetViewportExtEx(m_hAttribDC, cx, cy, &s);
    return s;
}
CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT p{};
    TRV_BOTH_DCS(::SetWindowOrgEx(m_hDC, x, y, nullptr), 0);
    if (m_hAttribDC) ::SetWindowOrgEx(m_hAttribDC, x, y, &p);
    return p;
}
CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    POINT p{};
    TRV_BOTH_DCS(::OffsetWindowOrgEx(m_hDC, dx, dy, nullptr), 0);
    if (m_hAttribDC) ::OffsetWindowOrgEx(m_hAttribDC, dx, dy, &p);
    return p;
}
CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE s{};
    TRV_BOTH_DCS(::SetWindowExtEx(m_hDC, cx, cy, nullptr), 0);
    if (m_hAttribDC) ::SetWindowExtEx(m_hAttribDC, cx, cy, &s);
    return s;
}
CPoint CDC::MoveTo(int x, int y)
{
    POINT p{};
    TRV_BOTH_DCS(::MoveToEx(m_hDC, x, y, nullptr), 0);
    if (m_hAttribDC) ::MoveToEx(m_hAttribDC, x, y, &p);
    return p;
}
BOOL CDC::LineTo(int x, int y)
{
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}
#undef TRV_BOTH_DCS

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}
CPen* CDC::SelectObject(CPen* pen) { return CPen::FromHandle((HPEN)SelectObject(pen ? pen->m_hObject : nullptr)); }
CBrush* CDC::SelectObject(CBrush* brush)
{
    return CBrush::FromHandle((HBRUSH)SelectObject(brush ? brush->m_hObject : nullptr));
}
CFont* CDC::SelectObject(CFont* font) { return CFont::FromHandle((HFONT)SelectObject(font ? font->m_hObject : nullptr)); }
CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return CBitmap::FromHandle((HBITMAP)SelectObject(bitmap ? bitmap->m_hObject : nullptr));
}
CGdiObject* CDC::SelectObject(CGdiObject* obj) { return CGdiObject::FromHandle(SelectObject(obj ? obj->m_hObject : nullptr)); }

HGDIOBJ CDC::SelectObject(HGDIOBJ h)
{
    if (!h) return nullptr;
    HGDIOBJ old = nullptr;
    if (m_hDC && m_hDC != m_hAttribDC) old = ::SelectObject(m_hDC, h);
    if (m_hAttribDC) old = ::SelectObject(m_hAttribDC, h);
    return old;
}

void CDC::FillSolidRect(LPCRECT r, COLORREF c)
{
    SetBkColor(c);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF c)
{
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, c);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::TransparentBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, UINT transparent)
{
    return ::TransparentBlt(m_hDC, x, y, w, h, src->m_hDC, xs, ys, ws, hs, transparent);
}

BOOL CDC::AlphaBlend(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, x, y, w, h, src->m_hDC, xs, ys, ws, hs, blend);
}

BOOL CDC::GradientFill(TRIVERTEX* v, ULONG nv, void* mesh, ULONG nm, DWORD mode)
{
    return ::GradientFill(m_hDC, v, nv, mesh, nm, mode);
}

CBrush* CDC::GetHalftoneBrush()
{
    // A checkerboard brush for drag frames; made once per process, never freed.
    static CBrush* brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) pattern[i] = (WORD)(0x5555 << (i & 1));
        HBITMAP bmp = ::CreateBitmap(8, 8, 1, 1, pattern);
        auto* b = new CBrush;
        b->Attach(::CreatePatternBrush(bmp));
        ::DeleteObject(bmp);
        return b;
    }();
    return brush;
}

// ---- paint, client and window DCs

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}
CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// The frame of thickness size inside rect, as a region (empty for a zero size).
static HRGN DragFrameRegion(LPCRECT rect, SIZE size)
{
    HRGN frame = ::CreateRectRgn(0, 0, 0, 0);
    if (!rect || ::IsRectEmpty(rect) || (size.cx <= 0 && size.cy <= 0)) return frame;
    HRGN outer = ::CreateRectRgnIndirect(rect);
    RECT in = *rect;
    ::InflateRect(&in, -size.cx, -size.cy);
    if (in.left < in.right && in.top < in.bottom) {
        HRGN inner = ::CreateRectRgnIndirect(&in);
        ::CombineRgn(frame, outer, inner, RGN_DIFF);
        ::DeleteObject(inner);
    } else {
        ::CombineRgn(frame, outer, nullptr, RGN_COPY);
    }
    ::DeleteObject(outer);
    return frame;
}

static void InvertRegion(HDC dc, HRGN rgn, HBRUSH brush)
{
    RECT box;
    if (::GetRgnBox(rgn, &box) == NULLREGION) return;
    int saved = ::SaveDC(dc);  // the caller's clipping and brush come back
    ::ExtSelectClipRgn(dc, rgn, RGN_AND);
    ::SelectObject(dc, brush);
    ::PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    ::RestoreDC(dc, saved);
}

void CDC::DrawDragRect(LPCRECT rect, SIZE size, LPCRECT rectLast, SIZE sizeLast, CBrush* brush, CBrush* brushLast)
{
    if (!brush) brush = GetHalftoneBrush();
    if (!brushLast) brushLast = brush;
    HRGN now = DragFrameRegion(rect, size);
    HRGN last = DragFrameRegion(rectLast, sizeLast);
    if (brush->m_hObject == brushLast->m_hObject) {
        // Where both frames lie the pixels would be inverted twice: leave them.
        HRGN change = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(change, now, last, RGN_XOR);
        InvertRegion(m_hDC, change, (HBRUSH)brush->m_hObject);
        ::DeleteObject(change);
    } else {
        InvertRegion(m_hDC, last, (HBRUSH)brushLast->m_hObject);
        InvertRegion(m_hDC, now, (HBRUSH)brush->m_hObject);
    }
    ::DeleteObject(now);
    ::DeleteObject(last);
}
