// The library's one application object and the hooks the console's message
// loop calls: the library's thread object never sees that loop, so its
// pre-translation (tool tips, accelerators of its windows) and idle work
// (command states of its windows) run only through these.
#pragma once

#include "afxwin.h"
#include "wendrel_export.h"

// Window class of every grid window, also when a dialog template names it.
#define WENDREL_GRID_CLASS "DefGridCtrl"

class WENDREL_API CWendrelApp : public CWinApp {
public:
    CWendrelApp();
    // Registers the grid class for the program that loaded the library and
    // for the library itself.
    BOOL InitInstance() override;
    DECLARE_MESSAGE_MAP()
};

// Registers the grid class for one instance handle (null: the program that
// loaded the library). A class already there for that instance is left as it
// is; a failed registration throws CResourceException.
WENDREL_API void WendrelRegisterGridClass(HINSTANCE instance);

// The library's pre-translation of one message of the console's loop, under
// the library's state; 0 when the library leaves it alone or fails on it.
extern "C" WENDREL_API BOOL FilterDllMsg(MSG* msg);
// The library's idle work, OnIdle(0), OnIdle(1), ... until it has no more;
// a failure ends it quietly (logged).
extern "C" WENDREL_API void ProcessDllIdle();
