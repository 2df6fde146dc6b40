// Standard dialogs: the common dialogs (file, colour, font, page set-up, print), the
// printing primitives and the printer provider.
#pragma once
#include "afxwin.h"
#include "afxcmn.h"
#include "afxdlgs_common.h"
#include "afx_print.h"
