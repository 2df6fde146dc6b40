// The sample program's windows: a frame-less main window holding a tree of
// hosts on the left and a custom-painted chart on the right, and a modal
// "Add host" dialog from the resource script that adds a host to the tree.
// A test fixture for the class layer, not part of the console. All functions
// run on the thread that created the main window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CDC;

namespace sample {

// Chart colours, also what a pixel check looks for.
constexpr COLORREF kChartBackground = RGB(255, 255, 255);
constexpr COLORREF kChartBar = RGB(40, 90, 170);
constexpr COLORREF kChartMarker = RGB(200, 40, 40);

// Registers the window classes and initialises the common controls.
bool RegisterClasses(HINSTANCE instance);

// Creates the main window (hidden) with its tree and chart children.
HWND CreateMainWindow(HINSTANCE instance);

HWND TreeOf(HWND main);
HWND ChartOf(HWND main);

// Number of bars the chart draws, and where bar INDEX lies in a chart whose
// client area is CLIENT.
int ChartBarCount();
RECT ChartBarRect(int index, const RECT& client);

// Draws the chart into dc over client (the main window's chart and the framed
// fixture's chart view share it).
void DrawChart(CDC& dc, const RECT& client);

// Runs the "Add host" dialog owned by MAIN. On OK a non-empty name is added
// under the tree's first root item and selected. Returns the dialog's result.
INT_PTR RunAddHostDialog(HWND main);

// Text of a tree item.
std::string ItemText(HWND tree, HTREEITEM item);

}  // namespace sample
