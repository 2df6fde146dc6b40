// The layer's inner classes that toolkits build on: dock bars, drag contexts, the
// layout record of WM_SIZEPARENT and the private messages (all come with afxwin.h),
// and the print preview's view and DC.
#pragma once
#include "afxwin.h"
#include "afxview_preview.h"
