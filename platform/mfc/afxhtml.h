// CHtmlView: a read-only view of a simple HTML page, drawn by the layer itself (no
// browser object). Navigate2 takes "res://<module path>/<id>" (an HTML resource, type
// 23, of that module; "res://<module>/<type>/<id>" names the type) and
// "file://<path>" addresses. The page is laid out to the view's width and scrolls
// vertically.
//
// Markup understood: title; body bgcolor and text colours; h1-h6, p, div, br, hr,
// center; b/strong, i/em, u, a (blue, underlined), font color; ul, ol, li; pre;
// tables as rows of cells; the usual entities and &#n;. Comments, script and style
// contents are skipped; other tags are ignored, their text kept. GUI thread only.
#pragma once
#include "afxview_view.h"

#include <memory>

namespace afxhtml {
class Page;
}

class TRVMFC_API CHtmlView : public CScrollView {
    DECLARE_DYNCREATE(CHtmlView)
public:
    CHtmlView();
    ~CHtmlView() override;

    // Shows the page at url. FALSE, with an error page shown, when it cannot be read.
    BOOL Navigate2(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                   LPVOID postData = nullptr, DWORD postDataLen = 0);
    BOOL Navigate(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                  LPVOID postData = nullptr, DWORD postDataLen = 0)
    {
        return Navigate2(url, flags, targetFrame, headers, postData, postDataLen);
    }
    // The program's own HTML resource.
    BOOL LoadFromResource(UINT id);
    BOOL LoadFromResource(LPCSTR name);
    // Shows markup given as text (url names it).
    void SetPageSource(LPCSTR markup, LPCSTR url = "about:blank");
    void Refresh();

    CString GetLocationURL() const { return m_strURL; }
    // The page's title.
    CString GetLocationName() const;
    BOOL GetBusy() const { return FALSE; }
    // The page's text as laid out: one line per laid-out line, words separated by one
    // space.
    CString GetDocumentText() const;
    // Background colour of the page.
    COLORREF GetBackgroundColor() const;

    virtual void OnNavigateComplete2(LPCSTR url) { (void)url; }
    virtual void OnDocumentComplete(LPCSTR url) { (void)url; }

    void OnDraw(CDC* dc) override;

    // Reads the markup at url into markup; FALSE with the reason in error otherwise.
    static BOOL PASCAL ReadUrl(LPCSTR url, CString& markup, CString& error);

protected:
    CString m_strURL;
    std::unique_ptr<afxhtml::Page> m_layout;
    int m_nLayoutWidth = -1;

    void Relayout();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
