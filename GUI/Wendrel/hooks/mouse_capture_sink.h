// Mix-in of the toolkit windows that capture the mouse (bars, the date
// picker, tab windows): capture goes through one virtual so that a derived
// class may intercept it.
#pragma once

#include <windows.h>

#include "wendrel_export.h"

class WENDREL_API VEzaMouseCaptureSink {
public:
    virtual ~VEzaMouseCaptureSink() = default;
    // Calls the system SetCapture; returns the window that had the capture.
    virtual HWND SetCapture(HWND hwnd);
};
