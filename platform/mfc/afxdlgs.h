// Standard dialogs: the common dialogs (file, colour, font, page set-up, print), the
// printing primitives and printer provider, property sheets and wizards.
#pragma once
#include "afxwin.h"
#include "afxcmn.h"
#include "afxdlgs_common.h"
#include "afx_print.h"
#include "afxdlgs_sheet.h"
