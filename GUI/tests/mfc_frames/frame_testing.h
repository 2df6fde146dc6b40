// Helpers of the frame and dock tests: pumping, idle time, synthetic input, texts.
#pragma once
#include "afxwin.h"

#include <string>

namespace frametest {

// Dispatches every queued message through the layer's pre-translation.
inline void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// Pumps until done() holds; false when it still does not after the time limit (a
// failed test, not a slow one: the limit is far above what the work takes).
template <class Pred>
bool PumpUntil(Pred done, DWORD limitMs = 10000)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > limitMs) return false;
        PumpPending();
        if (done()) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// The thread's idle work, count 0 (command UI, delayed layout).
inline void RunIdle() { AfxIdle(0); }

inline void MouseTo(POINT screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)((screen.x * 65535.0) / (::GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = (LONG)((screen.y * 65535.0) / (::GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

inline void MouseButton(bool down, bool right = false)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                          : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    ::SendInput(1, &in, sizeof in);
}

inline void Key(WORD vk, bool down)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &in, sizeof in);
}

inline std::string Text(CWnd* w)
{
    CString s;
    w->GetWindowText(s);
    return std::string((LPCSTR)s);
}

// "left,top,right,bottom", for checks that show the rectangle when they fail.
inline std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

inline CRect WindowRectIn(CWnd* w, CWnd* parent)
{
    CRect r;
    w->GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
}

}  // namespace frametest
