// Window side of the layer: geometry, GDI, command targets and message maps, windows,
// the application and pump, standard controls and dialogs. Include this one header.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "afx.h"
#include "afxwin_geom.h"
#include "afxwin_gdi.h"
#include "afxwin_cmd.h"
#include "afxwin_context.h"
#include "afxwin_wnd.h"
#include "afxwin_app.h"
#include "afxwin_cmdline.h"
#include "afxwin_ctrl.h"
#include "afxwin_dlg.h"
// Frames, control bars and docking.
#include "afxwin_layout.h"
#include "afxext_bar.h"
#include "afxext_frame.h"
#include "afxext_dock.h"
#include "afxext_toolbar.h"
#include "afxext_status.h"
#include "afxext_mdi.h"

// Documents and views (printing and print preview through afx_print.h).
#include "afxview_doc.h"
#include "afxview_view.h"
// Property sheets and the common dialogs have headers of their own (afxdlgs.h); the
// HTML view has afxhtml.h, the preview view afxpriv.h.
