// Frame-to-view seam, as it stands before document support: no views exist, so
// nothing reaches these bodies with a view or document.
#include "afxext_viewseam.h"

BOOL AfxViewRouteCmdMsg(CView*, UINT, int, void*, AFX_CMDHANDLERINFO*) { return FALSE; }
void AfxViewNotifyActivate(CView*, BOOL, CView*, CView*) {}
CWnd* AfxViewWindow(CView*) { return nullptr; }
CDocument* AfxViewGetDocument(CView*) { return nullptr; }
BOOL AfxDocCanCloseFrame(CDocument*, CFrameWnd*) { return TRUE; }
CString AfxDocGetTitle(CDocument*) { return CString(); }
