#include "app/wendrel_app.h"

#include "grid/grid_log.h"

namespace {

// The grid's class styles: redraw on any resize, double clicks.
constexpr UINT kGridClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;

// The arrow cursor of the module chain; the library carries none of its own,
// so this is the system arrow (the tools set their cursors over it).
HCURSOR GridClassCursor()
{
    if (HINSTANCE h = AfxFindResourceHandle(IDC_ARROW, RT_GROUP_CURSOR))
        if (HCURSOR c = ::LoadCursorA(h, IDC_ARROW)) return c;
    return ::LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace

BEGIN_MESSAGE_MAP(CWendrelApp, CWinApp)
END_MESSAGE_MAP()

CWendrelApp::CWendrelApp() : CWinApp(nullptr) {}

BOOL CWendrelApp::InitInstance()
{
    CWinApp::InitInstance();
    WendrelRegisterGridClass(nullptr);
    WendrelRegisterGridClass(AfxGetStaticModuleState()->m_hCurrentInstanceHandle);
    return TRUE;
}

void WendrelRegisterGridClass(HINSTANCE instance)
{
    // A null handle means the program: its classes are found only through the
    // program's own module handle, never through null (which finds system
    // classes alone).
    if (!instance) instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (::GetClassInfoA(instance, WENDREL_GRID_CLASS, &wc)) return;
    wc = WNDCLASSA{};
    wc.style = kGridClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = GridClassCursor();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = WENDREL_GRID_CLASS;
    // AfxRegisterClass counts "already exists" as success: a program that
    // registered the class itself keeps its registration.
    if (!AfxRegisterClass(&wc)) {
        GridLogFailure("RegisterClass(\"%s\") for instance %p failed: error %lu", WENDREL_GRID_CLASS,
                       static_cast<void*>(instance), ::GetLastError());
        AfxThrowResourceException();
    }
}

BOOL FilterDllMsg(MSG* msg) { return AfxFilterDllMsg(AfxGetStaticModuleState(), msg); }

void ProcessDllIdle() { AfxProcessDllIdle(AfxGetStaticModuleState()); }

namespace {

CWendrelApp theWendrelApp;

}  // namespace

// The library starts its application when it loads: its module state is
// current here (the layer's DLL entry makes it so). A start that fails is
// logged and the library still loads: the console runs on, and only grid
// windows cannot be made.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    try {
        if (!theWendrelApp.InitInstance()) GridLogFailure("the library's application refused to start");
    } catch (CException* e) {
        char text[256] = "";
        e->GetErrorMessage(text, sizeof text);
        GridLogFailure("starting the library's application failed: %s", text);
        e->Delete();
    } catch (...) {
        GridLogFailure("starting the library's application failed");
    }
    return TRUE;
}
