#include "link_harness.h"

#include "qr_log.h"

#include <cstdlib>

namespace {

LinkHarness* g_harness = nullptr;

}  // namespace

LinkHarness::LinkHarness()
{
    g_harness = this;
    // The link's own lines are for its log file; a test shows its warnings only.
    set_errorlevel(qr_Warning);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &LinkHarness::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrvLinkHarness";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, "TrvLinkHarness", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    poster_ = std::make_unique<WindowMessagePoster>(dispatch_message, window_);
    link_ = std::make_unique<CConnectionLink>(LinkServices{library, console, ui, *poster_, settings});
}

LinkHarness::~LinkHarness()
{
    link_.reset();
    if (window_)
        DestroyWindow(window_);
    g_harness = nullptr;
}

LRESULT CALLBACK LinkHarness::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == dispatch_message && g_harness && g_harness->link_) {
        try {
            g_harness->link_->DispatchPending();
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool LinkHarness::PumpUntil(const std::function<bool()>& done, int seconds)
{
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount64() >= until)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

bool LinkHarness::WaitCall(const std::string& part, int seconds)
{
    return PumpUntil([&] { return IndexOf(part) >= 0; }, seconds);
}

int LinkHarness::CountCalls(const std::string& call)
{
    int n = 0;
    for (const std::string& c : console.Calls())
        n += c == call;
    return n;
}

int LinkHarness::IndexOf(const std::string& part)
{
    const std::vector<std::string> calls = console.Calls();
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].find(part) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

int EnvNumber(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}
