// Extensions over the window classes: the static splitter, and (through afxwin.h) the
// frames, control bars and docking.
#pragma once
#include "afxwin.h"
#include "afxext_split.h"
