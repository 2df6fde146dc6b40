// The console's window utilities under Wine. An image list made from a bitmap
// strip: its count and square size, 32-bit images with a mask, the mask and the
// transparently drawn images read back pixel by pixel from a DIB, for both of
// the console's transparent colours. Text copied to the clipboard as another
// thread reading the clipboard gets it: texts, empty text, a program that keeps
// OLE running, and the failures when another window holds the clipboard open
// or the thread cannot enter OLE.
#include "win_clipboard.h"
#include "win_image_list.h"

#include "wtest.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// A DIB pixel (0x00RRGGBB) of a colour.
uint32_t Pixel(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(v));
    return text;
}

// A 32-bit top-down DIB selected into a memory DC, filled with one colour.
struct Dib {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int width;

    Dib(int w, int h, uint32_t fill) : width(w)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        for (int i = 0; i < w * h; ++i) bits[i] = fill;
        old = SelectObject(dc, bitmap);
    }
    ~Dib()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    uint32_t At(int x, int y) const
    {
        GdiFlush();
        return bits[y * width + x] & 0xFFFFFF;
    }
};

// A device-dependent bitmap, as a bitmap resource loads, `width` pixels wide
// and `side` high, painted by `paint`.
bool MakeStrip(CBitmap& strip, int width, int side, const std::function<uint32_t(int, int)>& paint)
{
    std::vector<uint32_t> pixels(size_t(width) * side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < width; ++x) pixels[size_t(y) * width + x] = paint(x, y);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap != nullptr && strip.Attach(bitmap);
}

const int kSide = 16;
const int kImages = 3;
const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kTeal = RGB(0x00, 0x80, 0x80);  // 0x808000 as a COLORREF
const uint32_t kBackground = 0x345678;

// Image i at (x, y) of the strip: transparent on a stripe and a row of its own,
// opaque elsewhere in colours that tell image and position apart. Two pixels
// look like transparent colours but are not this list's: they stay opaque.
bool IsTransparent(int image, int x, int y) { return (x + image) % 4 == 0 || y == 2 * image + 1; }
uint32_t StripPixel(COLORREF transparent, COLORREF other, int image, int x, int y)
{
    if (IsTransparent(image, x, y)) return Pixel(transparent);
    if (x == 7 && y == 3) return Pixel(other);
    if (x == 5 && y == 12) return Pixel(transparent) ^ 0x000001;
    return (uint32_t(10 + 40 * image) << 16) | (uint32_t(x * 8) << 8) | uint32_t(y * 8 + 3);
}

// The pixels (0x00RRGGBB) of a bitmap of the given size, top row first.
std::vector<uint32_t> ReadBitmap(HBITMAP bitmap, int width, int height)
{
    std::vector<uint32_t> pixels(size_t(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines = GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != height) pixels.clear();
    return pixels;
}

struct ClipboardRead {
    bool opened = false;
    bool hasText = false;
    std::string text;
};

// Runs `work` on a thread of its own while this thread goes on handling the
// messages that other threads send it (a clipboard reader may ask this
// thread's OLE window to render). False when the thread did not end within a
// minute: a reader that hangs is a failure, not a wait.
bool RunOnThread(const std::function<void()>& work)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&work, done] {
        work();
        SetEvent(done);
    });
    const ULONGLONG deadline = GetTickCount64() + 60000;
    bool ended = false;
    while (!ended && GetTickCount64() < deadline) {
        const DWORD r = MsgWaitForMultipleObjects(1, &done, FALSE, 1000, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            ended = true;
        } else {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
    }
    if (!ended) {
        worker.detach();  // the handle stays with it
        return false;
    }
    worker.join();
    CloseHandle(done);
    return true;
}

// What another thread reading the clipboard as CF_TEXT gets.
ClipboardRead ReadClipboard()
{
    ClipboardRead read;
    const bool ended = RunOnThread([&read] {
        if (!OpenClipboard(nullptr)) return;
        read.opened = true;
        read.hasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* text = static_cast<const char*>(GlobalLock(data))) {
                read.text.assign(text, strnlen(text, GlobalSize(data)));
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    });
    WCHECK(ended);
    return read;
}

// Puts text on the clipboard without OLE, as another program would.
bool PutPlainText(const char* text)
{
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const size_t n = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(memory), text, n);
    GlobalUnlock(memory);
    const bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return set;
}

// True when this thread was left without OLE (the call released what it took).
bool OleReleasedOnThisThread()
{
    const HRESULT hr = OleInitialize(nullptr);
    if (SUCCEEDED(hr)) OleUninitialize();
    return hr == S_OK;
}

}  // namespace

WTEST(an_image_list_from_a_strip_masks_its_transparent_colour)
{
    struct Case {
        COLORREF transparent;
        COLORREF other;
    };
    for (const Case& c : {Case{kWhite, kTeal}, Case{kTeal, kWhite}}) {
        CBitmap strip;
        WCHECK(MakeStrip(strip, kSide * kImages, kSide, [&](int x, int y) {
            return StripPixel(c.transparent, c.other, x / kSide, x % kSide, y);
        }));
        HIMAGELIST list = ImageListFromBitmap(strip, c.transparent);
        WCHECK(list != nullptr);
        if (!list) continue;
        WCHECK_EQ(ImageList_GetImageCount(list), kImages);
        int cx = 0, cy = 0;
        WCHECK(ImageList_GetIconSize(list, &cx, &cy));
        WCHECK_EQ(cx, kSide);
        WCHECK_EQ(cy, kSide);
        IMAGEINFO info{};
        WCHECK(ImageList_GetImageInfo(list, 0, &info));
        BITMAP images{};
        WCHECK(GetObjectA(info.hbmImage, sizeof images, &images) != 0);
        WCHECK_EQ(int(images.bmBitsPixel), 32);
        WCHECK(info.hbmMask != nullptr);

        // The list's mask as a 32-bit DIB: white where an image is transparent.
        BITMAP maskInfo{};
        WCHECK(GetObjectA(info.hbmMask, sizeof maskInfo, &maskInfo) != 0);
        const std::vector<uint32_t> mask = ReadBitmap(info.hbmMask, maskInfo.bmWidth, maskInfo.bmHeight);
        WCHECK(!mask.empty());
        if (mask.empty()) {
            ImageList_Destroy(list);
            continue;
        }

        for (int image = 0; image < kImages; ++image) {
            IMAGEINFO at{};
            WCHECK(ImageList_GetImageInfo(list, image, &at));
            WCHECK_EQ(at.rcImage.right - at.rcImage.left, kSide);
            WCHECK_EQ(at.rcImage.bottom - at.rcImage.top, kSide);
            const auto maskAt = [&](int x, int y) {
                return mask[size_t(at.rcImage.top + y) * maskInfo.bmWidth + at.rcImage.left + x] & 0xFFFFFF;
            };
            // Drawn transparent over a background: the background shows through
            // exactly at the transparent pixels, the image's colours elsewhere.
            Dib drawn(kSide, kSide, kBackground);
            WCHECK(ImageList_Draw(list, image, drawn.dc, 0, 0, ILD_TRANSPARENT));
            int wrong = 0;
            for (int y = 0; y < kSide; ++y) {
                for (int x = 0; x < kSide; ++x) {
                    const bool clear = IsTransparent(image, x, y);
                    const uint32_t wantMask = clear ? 0xFFFFFF : 0x000000;
                    const uint32_t wantDrawn = clear ? kBackground : StripPixel(c.transparent, c.other, image, x, y);
                    if (maskAt(x, y) != wantMask || drawn.At(x, y) != wantDrawn) {
                        if (++wrong <= 3)
                            wtest::fail(__FILE__, __LINE__,
                                        "image " + std::to_string(image) + " at (" + std::to_string(x) + "," +
                                            std::to_string(y) + "): mask " + Hex(maskAt(x, y)) + " drawn " +
                                            Hex(drawn.At(x, y)) + ", wanted mask " + Hex(wantMask) + " drawn " +
                                            Hex(wantDrawn));
                    }
                }
            }
            WCHECK_EQ(wrong, 0);
        }
        ImageList_Destroy(list);
    }
}

WTEST(an_image_list_takes_only_whole_square_images)
{
    struct Case {
        int width;
        int height;
        int images;  // 0: no list
    };
    for (const Case& c : {Case{40, 16, 2}, Case{16, 16, 1}, Case{10, 16, 0}, Case{64, 8, 8}}) {
        CBitmap strip;
        WCHECK(MakeStrip(strip, c.width, c.height, [](int x, int) { return x % 2 ? 0xFFFFFFu : 0x102030u; }));
        HIMAGELIST list = ImageListFromBitmap(strip, kWhite);
        WCHECK_EQ(list != nullptr, c.images > 0);
        if (!list) continue;
        WCHECK_EQ(ImageList_GetImageCount(list), c.images);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        WCHECK_EQ(cx, c.height);
        WCHECK_EQ(cy, c.height);
        ImageList_Destroy(list);
    }
    CBitmap none;
    WCHECK(ImageListFromBitmap(none, kWhite) == nullptr);
}

WTEST(copied_text_is_what_another_reader_of_the_clipboard_gets)
{
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"192.168.0.1\tswitch-2", "192.168.0.1\tswitch-2"},
        {"first line\r\nsecond line \xE4\xF6\r\n", "first line\r\nsecond line \xE4\xF6\r\n"},
        {"", ""},
        {nullptr, ""},
    };
    for (const Case& c : cases) {
        WCHECK(PutPlainText("earlier content"));
        WCHECK(CopyTextToClipboard(c.text));
        WCHECK(OleReleasedOnThisThread());
        const ClipboardRead read = ReadClipboard();
        WCHECK(read.opened);
        WCHECK(read.hasText);
        WCHECK_EQ(read.text, c.expected);
    }
}

WTEST(text_copied_while_the_program_keeps_ole_running_outlives_it)
{
    WCHECK(SUCCEEDED(OleInitialize(nullptr)));  // as the console does at start-up
    WCHECK(CopyTextToClipboard("kept while OLE runs"));
    WCHECK(!OleReleasedOnThisThread());  // the program's own initialisation stays
    OleUninitialize();                    // the program ends before anyone reads
    WCHECK(OleReleasedOnThisThread());
    const ClipboardRead read = ReadClipboard();
    WCHECK(read.hasText);
    WCHECK_EQ(read.text, std::string("kept while OLE runs"));
}

WTEST(a_clipboard_held_open_elsewhere_refuses_the_copy_and_keeps_its_content)
{
    WCHECK(PutPlainText("content before"));
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool holderOpened = false;
    std::thread holder([&] {
        holderOpened = OpenClipboard(nullptr) != FALSE;
        SetEvent(opened);
        WaitForSingleObject(release, INFINITE);
        if (holderOpened) CloseClipboard();
    });
    WaitForSingleObject(opened, INFINITE);
    WCHECK(holderOpened);
    WCHECK(!CopyTextToClipboard("refused text"));
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    WCHECK(OleReleasedOnThisThread());
    const ClipboardRead read = ReadClipboard();
    WCHECK_EQ(read.text, std::string("content before"));

    // Once the clipboard is free again, the same copy goes through.
    WCHECK(CopyTextToClipboard("accepted text"));
    WCHECK_EQ(ReadClipboard().text, std::string("accepted text"));
}

WTEST(a_thread_that_cannot_enter_ole_refuses_the_copy)
{
    WCHECK(PutPlainText("content before"));
    HRESULT multi = E_FAIL;
    bool copied = true;
    HRESULT afterwards = E_FAIL;
    std::thread worker([&] {
        multi = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        copied = CopyTextToClipboard("not copied");
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // still in its apartment
        if (SUCCEEDED(afterwards)) CoUninitialize();
        if (SUCCEEDED(multi)) CoUninitialize();
    });
    worker.join();
    WCHECK_EQ(multi, S_OK);
    WCHECK(!copied);
    WCHECK_EQ(afterwards, S_FALSE);
    WCHECK_EQ(ReadClipboard().text, std::string("content before"));
}
