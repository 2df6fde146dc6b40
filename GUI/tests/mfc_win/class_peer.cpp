// A DLL loaded and unloaded at run time that registers window classes through the
// class layer, under its own module state: one with its own procedure and one
// from AfxRegisterWndClass.
#include "afxwin.h"

namespace {

LRESULT CALLBACK PeerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }

}  // namespace

// Registers both classes; copies the AfxRegisterWndClass name into wndClass.
// Answers the DLL's instance, or NULL when a registration failed.
extern "C" __declspec(dllexport) HINSTANCE PeerRegisterClasses(char* wndClass, int size)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PeerProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = "TarvanePeerClass";
    if (!AfxRegisterClass(&wc)) return nullptr;
    lstrcpynA(wndClass, AfxRegisterWndClass(CS_DBLCLKS), size);
    return AfxGetInstanceHandle();
}
