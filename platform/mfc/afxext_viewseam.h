// The seam between frames and the document/view classes, internal to the layer DLL.
// Frames hold their active view as a CView* and reach views and documents only
// through these functions, so that the frame code stands before document support
// exists. The bodies are document support's (afxview_seam.cpp). GUI thread only.
#pragma once
#include "afxwin.h"

class CView;
class CDocument;

// The view's command routing (the view, then its document).
BOOL AfxViewRouteCmdMsg(CView* view, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
// Tells view of an activation change (CView::OnActivateView).
void AfxViewNotifyActivate(CView* view, BOOL activate, CView* activated, CView* deactivated);
// Tells view that its frame is activated or deactivated (CView::OnActivateFrame).
void AfxViewNotifyActivateFrame(CView* view, UINT state, CFrameWnd* frame);
// The view's window object (a CView is a CWnd).
CWnd* AfxViewWindow(CView* view);
CDocument* AfxViewGetDocument(CView* view);
// Whether the document lets frame close (CDocument::CanCloseFrame).
BOOL AfxDocCanCloseFrame(CDocument* doc, CFrameWnd* frame);
// The document's title for the frame's caption.
CString AfxDocGetTitle(CDocument* doc);
