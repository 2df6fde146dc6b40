// What a creating frame, splitter or template hands to the windows it creates (as the
// creation parameter): the class of view to make and the document it joins. The
// document/view classes themselves come with document support.
#pragma once
#include "afx.h"
#include "afxres.h"

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
