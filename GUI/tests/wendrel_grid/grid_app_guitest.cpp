// The library's application object: the grid class it registers when the
// library loads, registrations that are already there, and the message and
// idle hooks that run the library's own work from the program's loop.
#include "afxwin.h"
#include "app/wendrel_app.h"
#include "wtest.h"

#include <string>

namespace {

// The library's module state, found through one of its exported functions.
AFX_MODULE_STATE* LibraryState() { return AfxFindModuleStateOf(reinterpret_cast<const void*>(&ProcessDllIdle)); }

HINSTANCE LibraryInstance() { return LibraryState()->m_hCurrentInstanceHandle; }

HINSTANCE ProgramInstance() { return ::GetModuleHandleA(nullptr); }

LRESULT CALLBACK OwnGridProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }

// A top-level window that counts the hooks' work done on it.
class CProbe : public CWnd {
public:
    int preTranslated = 0;
    int idleUpdates = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) ++preTranslated;
        return CWnd::PreTranslateMessage(msg);
    }
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbe, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

bool MakeProbe(CProbe& probe, const char* title)
{
    if (!probe.CreateEx(0, nullptr, title, WS_POPUP, CRect(0, 0, 60, 60), nullptr, 0)) return false;
    AfxAddThreadFrame(&probe);
    probe.ShowWindow(SW_SHOWNA);
    return true;
}

}  // namespace

WTEST(grid_class_is_registered_for_the_program_and_the_library_at_load)
{
    WCHECK(LibraryState() != nullptr);
    if (!LibraryState()) return;
    for (HINSTANCE instance : {ProgramInstance(), LibraryInstance()}) {
        WNDCLASSA wc{};
        WCHECK(::GetClassInfoA(instance, "DefGridCtrl", &wc));
        WCHECK_EQ(wc.style, UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
        WCHECK_EQ(wc.style, 11u);
        WCHECK(wc.hbrBackground == reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        WCHECK(wc.hCursor == ::LoadCursorA(nullptr, IDC_ARROW));
        WCHECK(wc.hIcon == nullptr);
        WCHECK(wc.lpszMenuName == nullptr);
        WCHECK_EQ(wc.cbClsExtra, 0);
        WCHECK_EQ(wc.cbWndExtra, 0);
    }
    // A program makes grid windows of the class under its own instance, as a
    // dialog template's custom control does.
    HWND grid = ::CreateWindowExA(0, "DefGridCtrl", "", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr, ProgramInstance(),
                                  nullptr);
    WCHECK(grid != nullptr);
    char name[32] = "";
    ::GetClassNameA(grid, name, sizeof name);
    WCHECK_EQ(std::string(name), std::string("DefGridCtrl"));
    ::DestroyWindow(grid);
}

WTEST(registering_again_keeps_the_programs_own_class_and_restores_a_missing_one)
{
    // Registering where the class already is changes nothing and does not fail.
    WendrelRegisterGridClass(nullptr);
    WendrelRegisterGridClass(LibraryInstance());

    // The program's own registration of the class stays as it is.
    WCHECK(::UnregisterClassA("DefGridCtrl", ProgramInstance()));
    WNDCLASSA own{};
    own.style = CS_DBLCLKS;
    own.lpfnWndProc = OwnGridProc;
    own.hInstance = ProgramInstance();
    own.lpszClassName = "DefGridCtrl";
    WCHECK(::RegisterClassA(&own) != 0);
    WendrelRegisterGridClass(nullptr);
    WNDCLASSA wc{};
    WCHECK(::GetClassInfoA(ProgramInstance(), "DefGridCtrl", &wc));
    WCHECK_EQ(wc.style, UINT(CS_DBLCLKS));

    // Without one, the library's class comes back for the program.
    WCHECK(::UnregisterClassA("DefGridCtrl", ProgramInstance()));
    WCHECK(!::GetClassInfoA(ProgramInstance(), "DefGridCtrl", &wc));
    WendrelRegisterGridClass(nullptr);
    WCHECK(::GetClassInfoA(ProgramInstance(), "DefGridCtrl", &wc));
    WCHECK_EQ(wc.style, 11u);
}

WTEST(hooks_run_the_librarys_pretranslation_and_idle_on_its_own_windows)
{
    AFX_MODULE_STATE* library = LibraryState();
    WCHECK(library != nullptr);
    if (!library) return;
    CProbe mine;
    CProbe libraryWindow;
    WCHECK(MakeProbe(mine, "program"));
    {
        AFX_MANAGE_STATE(library);
        WCHECK(MakeProbe(libraryWindow, "library"));
    }
    if (!mine.m_hWnd || !libraryWindow.m_hWnd) return;

    MSG key{libraryWindow.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    WCHECK(!FilterDllMsg(&key));
    WCHECK_EQ(libraryWindow.preTranslated, 1);
    MSG other{mine.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    WCHECK(!FilterDllMsg(&other));
    WCHECK_EQ(mine.preTranslated, 0);

    ProcessDllIdle();
    WCHECK_EQ(libraryWindow.idleUpdates, 1);
    WCHECK_EQ(mine.idleUpdates, 0);
    // The program's state is current again after the hooks.
    WCHECK(AfxGetModuleState() != library);
    libraryWindow.DestroyWindow();
    mine.DestroyWindow();
}
