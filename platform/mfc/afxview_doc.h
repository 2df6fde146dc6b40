// Documents and document templates. A document holds the data its views show; it
// knows its views (m_viewList) and tells them of changes (UpdateAllViews). A template
// ties a resource id (frame title, menu, accelerators, icon, and string id's seven
// '\n'-separated fields) to the classes of document, frame and view it makes.
// CSingleDocTemplate keeps one document: File New reuses it. Documents without views
// close themselves (and delete themselves when m_bAutoDelete). GUI thread only.
#pragma once
#include "afxwin.h"

class CView;
class CDocTemplate;

class TRVMFC_API CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and shows it in the frames of the views.
    virtual void SetTitle(LPCSTR title);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCSTR path, BOOL addToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    // ---- views
    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& pos) const { return static_cast<CView*>(m_viewList.GetNext(pos)); }
    // Every view but sender hears OnUpdate(sender, hint, hintObject).
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // Numbers the frames showing this document when there are several, and updates
    // their titles.
    virtual void UpdateFrameCounts();
    virtual void OnChangedViewList();

    // ---- life
    // A fresh document: the contents deleted, no path, unmodified.
    virtual BOOL OnNewDocument();
    // Loads the document from the file (Serialize with a loading archive).
    virtual BOOL OnOpenDocument(LPCSTR path);
    // Stores the document into the file (Serialize with a storing archive).
    virtual BOOL OnSaveDocument(LPCSTR path);
    // Destroys the frames showing the document, then the document (m_bAutoDelete).
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // Whether the frame may close: another frame still shows the document, or the
    // changes were saved or given up (SaveModified).
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // Unmodified documents answer TRUE; else the user chooses to save (Yes), to give
    // the changes up (No) or to stay (Cancel: FALSE).
    virtual BOOL SaveModified();
    virtual void PreCloseFrame(CFrameWnd* frame) { (void)frame; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bAutoDelete = TRUE;  // the document deletes itself when closed
    BOOL m_bEmbedded = FALSE;

protected:
    afx_msg void OnFileClose();
    DECLARE_MESSAGE_MAP()
};

class TRVMFC_API CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,      // the frame's title
        docName,          // default document name ("Untitled" when empty)
        fileNewName,      // the type's name in a File New choice
        filterName,       // file dialog filter, "Files (*.ext)"
        filterExt,        // ".ext"
        regFileTypeId,    // registry name of the type
        regFileTypeName,  // the type's name shown by the shell
    };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                      yesAlreadyOpen };

    ~CDocTemplate() override;

    // Loads the resource string (AddDocTemplate calls it).
    virtual void LoadTemplate();
    // Field index of the string; FALSE when the string has no such field.
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& pos) const = 0;
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);

    // A new document of the document class, added to this template; null on failure.
    virtual CDocument* CreateNewDocument();
    // A new frame (LoadFrame of the resource id) whose view joins doc; null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    // Makes the frame's view active, sends the initial update, shows the frame.
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    // A new (path null) or opened document in a frame; null on failure.
    virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) = 0;
    // The document's title from the docName field (else "Untitled").
    virtual void SetDefaultTitle(CDocument* doc);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
};

class TRVMFC_API CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                       CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& pos) const override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    // The one document, made with its frame the first time (the frame becomes the
    // application's main window when it has none); later calls reuse both.
    CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;

    CDocument* m_pOnlyDoc = nullptr;
};
