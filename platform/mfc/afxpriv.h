// The layer's inner classes that toolkits build on: dock bars, drag contexts, the
// layout record of WM_SIZEPARENT and the private messages. All come with afxwin.h;
// this header exists for code that names it.
#pragma once
#include "afxwin.h"
