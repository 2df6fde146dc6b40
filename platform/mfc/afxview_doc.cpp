// Documents and document templates.
#include "afxview_doc.h"
#include "afxview_view.h"
#include "afx_log.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

namespace {

// The frames showing doc's views, each once, in view order.
std::vector<CFrameWnd*> FramesOf(const CDocument* doc)
{
    std::vector<CFrameWnd*> frames;
    POSITION pos = doc->GetFirstViewPosition();
    while (pos) {
        CView* view = doc->GetNextView(pos);
        CFrameWnd* frame = view->m_hWnd ? view->GetParentFrame() : nullptr;
        if (!frame) continue;
        bool known = false;
        for (CFrameWnd* f : frames) known = known || f == frame;
        if (!known) frames.push_back(frame);
    }
    return frames;
}

}  // namespace

// ---- CDocument

CDocument::~CDocument()
{
    // Views still attached forget this document (they outlive it only when a caller
    // deleted a document that was still shown).
    POSITION pos = GetFirstViewPosition();
    while (pos) GetNextView(pos)->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR title)
{
    m_strTitle = title;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR path, BOOL)
{
    m_strPathName = path;
    // The file's name becomes the title.
    CString name = m_strPathName;
    int slash = std::max(name.ReverseFind('\\'), name.ReverseFind('/'));
    if (slash >= 0) name = name.Mid(slash + 1);
    SetTitle(name);
}

void CDocument::AddView(CView* view)
{
    if (!view || m_viewList.Find(view)) return;
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    POSITION pos = view ? m_viewList.Find(view) : nullptr;
    if (!pos) return;
    m_viewList.RemoveAt(pos);
    view->m_pDocument = nullptr;
    OnChangedViewList();  // may delete this document
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    // A view's update may add or remove views: walk a copy.
    std::vector<CView*> views;
    POSITION pos = GetFirstViewPosition();
    while (pos) views.push_back(GetNextView(pos));
    for (CView* view : views)
        if (view != sender && m_viewList.Find(view)) view->OnUpdate(sender, hint, hintObject);
}

void CDocument::UpdateFrameCounts()
{
    std::vector<CFrameWnd*> frames = FramesOf(this);
    int number = frames.size() > 1 ? 1 : 0;
    for (CFrameWnd* frame : frames) {
        frame->m_nWindow = number ? number++ : 0;
        frame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR path)
{
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        DeleteContents();
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        AfxLogFailure("Document: opening \"%s\" failed", path);
        e->Delete();
        DeleteContents();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR path)
{
    try {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
        CArchive ar(&file, CArchive::store);
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        AfxLogFailure("Document: saving \"%s\" failed", path);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The frames go first; their views leave the list without closing us again.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    for (CFrameWnd* frame : FramesOf(this)) {
        PreCloseFrame(frame);
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame)
{
    // Another frame still shows the document: closing this one loses nothing.
    for (CFrameWnd* other : FramesOf(this))
        if (other != frame) return TRUE;
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified()) return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    if (name.IsEmpty()) name = "Untitled";
    CString prompt;
    prompt.Format("Save changes to %s?", (LPCSTR)name);
    CWnd* owner = CWnd::GetSafeOwner();
    int answer = ::MessageBoxA(owner ? owner->m_hWnd : nullptr, prompt, AfxGetAppName(), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return FALSE;
    if (answer == IDYES) {
        if (m_strPathName.IsEmpty()) return FALSE;  // no file to save into: stay
        return OnSaveDocument(m_strPathName);
    }
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified()) return;
    OnCloseDocument();
}

// ---- CDocTemplate

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(idResource), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty() && !m_strDocStrings.LoadString(m_nIDResource))
        AfxLogFailure("Document template: string %u is missing", m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    int start = 0;
    for (int i = 0; i < (int)index; ++i) {
        int at = m_strDocStrings.Find('\n', start);
        if (at < 0) return FALSE;
        start = at + 1;
    }
    if (start > m_strDocStrings.GetLength() || (index > 0 && start == 0)) return FALSE;
    int end = m_strDocStrings.Find('\n', start);
    text = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}

void CDocTemplate::AddDocument(CDocument* doc) { doc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* doc) { doc->m_pDocTemplate = nullptr; }

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass) return nullptr;
    CObject* object = m_pDocClass->CreateObject();
    if (!object || !object->IsKindOf(RUNTIME_CLASS(CDocument))) {
        AfxLogFailure("Document template %u: the document class cannot be created", m_nIDResource);
        delete object;
        return nullptr;
    }
    auto* doc = static_cast<CDocument*>(object);
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    if (!object || !object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        AfxLogFailure("Document template %u: the frame class cannot be created", m_nIDResource);
        delete object;
        return nullptr;
    }
    auto* frame = static_cast<CFrameWnd*>(object);
    // A frame that fails has deleted itself (PostNcDestroy).
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        AfxLogFailure("Document template %u: the frame could not be created", m_nIDResource);
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible)
{
    frame->InitialUpdateFrame(doc, makeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty()) title = "Untitled";
    doc->SetTitle(title);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos)
        if (!GetNextDoc(pos)->SaveModified()) return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    std::vector<CDocument*> docs;
    POSITION pos = GetFirstDocPosition();
    while (pos) docs.push_back(GetNextDoc(pos));
    for (CDocument* doc : docs) doc->OnCloseDocument();
}

// ---- CSingleDocTemplate

CSingleDocTemplate::CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CDocTemplate(idResource, docClass, frameClass, viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A document still open outlives its template without a way back to it.
    if (m_pOnlyDoc) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const { return m_pOnlyDoc ? (POSITION)1 : nullptr; }

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& pos) const
{
    CDocument* doc = pos == (POSITION)1 ? m_pOnlyDoc : nullptr;
    pos = nullptr;
    return doc;
}

void CSingleDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    if (m_pOnlyDoc == doc) m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible)
{
    CDocument* doc = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (doc) {
        // The one document is reused, once its changes are dealt with.
        if (!doc->SaveModified()) return nullptr;
        POSITION pos = doc->GetFirstViewPosition();
        if (pos) frame = doc->GetNextView(pos)->GetParentFrame();
    } else {
        doc = CreateNewDocument();
        if (!doc) return nullptr;
        created = true;
        // The frame's views join the document; a failure leaves it without views.
        BOOL autoDelete = doc->m_bAutoDelete;
        doc->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(doc, nullptr);
        doc->m_bAutoDelete = autoDelete;
        if (!frame) {
            delete doc;
            return nullptr;
        }
    }
    if (!path) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            AfxLogFailure("Document template %u: OnNewDocument failed", m_nIDResource);
            if (created && frame->m_hWnd) frame->DestroyWindow();  // the document goes with its view
            return nullptr;
        }
    } else {
        if (!doc->OnOpenDocument(path)) {
            if (created && frame->m_hWnd) frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd) app->m_pMainWnd = frame;
    if (frame) InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}
