// Extensions over the window classes: the static splitter. Frame windows, control
// bars and docking join here with frame support.
#pragma once
#include "afxwin.h"
#include "afxext_split.h"
