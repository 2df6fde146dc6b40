// Basic definitions every header of the class layer shares: the Win32
// headers in their 8-bit form, the position handle of the collections and
// the debug checks. Header only; no state.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#undef UNICODE
#undef _UNICODE
#include <windows.h>
#include <tchar.h>

#include "mfc_export.h"

// Opaque iteration cursor of the lists and maps.
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif

// The checks compile away; callers rely on the layer's own error paths
// (exceptions), never on these.
#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)0)
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#ifndef ASSERT_KINDOF
#define ASSERT_KINDOF(cls, p) ((void)0)
#endif
#define UNUSED_ALWAYS(x) ((void)(x))
