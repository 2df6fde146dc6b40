// The application's documents: its templates, File New and the shell command.
#include "afxview_doc.h"
#include "afx_log.h"

#include <vector>

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (!docTemplate) return;
    docTemplate->LoadTemplate();
    m_docTemplates.AddTail(docTemplate);
}

void CWinApp::DeleteDocTemplates()
{
    while (!m_docTemplates.IsEmpty()) delete static_cast<CDocTemplate*>(m_docTemplates.RemoveHead());
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR path)
{
    POSITION pos = GetFirstDocTemplatePosition();
    if (!pos) {
        AfxLogFailure("Application: no document template to open a document with");
        return nullptr;
    }
    return GetNextDocTemplate(pos)->OpenDocumentFile(path);
}

void CWinApp::OnFileNew() { OpenDocumentFile(nullptr); }

BOOL CWinApp::SaveAllModified()
{
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos)
        if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) GetNextDocTemplate(pos)->CloseAllDocuments(endSession);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // The application's own File New handler when it has one.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        AfxLogFailure("Application: shell command %d is not supported", (int)info.m_nShellCommand);
        return FALSE;
    }
}
