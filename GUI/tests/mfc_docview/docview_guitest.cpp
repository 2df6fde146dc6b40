// Documents and views: a single-document template starting the program (string 128's
// fields, the title, one initial update after the new document), commands routed
// view, document, frame, application with their update handlers, a form view that
// gives the focus back to its control, splitter panes as views, the HTML view showing
// a resource page and a file, a three-page print through a recording printer and the
// print preview's page turns, all with real window messages.
#include "afxext.h"
#include "afxhtml.h"
#include "afxpriv.h"
#include "afxdlgs.h"

#include <cstdio>
#include <string>
#include <vector>

#include "../mfc_frames/frame_testing.h"
#include "docview_ids.h"
#include "wprint.h"
#include "wtest.h"

using namespace frametest;

namespace {

std::vector<std::string> g_log;  // what the probes saw, in order
int g_docsDeleted = 0;
int g_viewsDeleted = 0;

std::string Joined()
{
    std::string all;
    for (const auto& s : g_log) all += (all.empty() ? "" : ", ") + s;
    return all;
}

// Page colours of the printing view: page n's block.
COLORREF PageColor(UINT page)
{
    static const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 200), RGB(90, 90, 0)};
    return colors[(page - 1) % 4];
}

class CProbeDoc : public CDocument {
    DECLARE_DYNCREATE(CProbeDoc)
public:
    int docCommands = 0;
    int bothCommands = 0;
    ~CProbeDoc() override { ++g_docsDeleted; }
    BOOL OnNewDocument() override
    {
        g_log.push_back("doc new");
        return CDocument::OnNewDocument();
    }
    void OnDocCommand() { ++docCommands; }
    void OnBoth() { ++bothCommands; }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnDisabled() { g_log.push_back("disabled ran"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeDoc, CDocument)
BEGIN_MESSAGE_MAP(CProbeDoc, CDocument)
    ON_COMMAND(ID_PROBE_DOC, OnDocCommand)
    ON_COMMAND(ID_PROBE_BOTH, OnBoth)
    ON_COMMAND(ID_PROBE_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_PROBE_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

// Draws page n as a block of page n's colour over the top-left quarter of the page.
class CProbeView : public CView {
    DECLARE_DYNCREATE(CProbeView)
public:
    int viewCommands = 0;
    int bothCommands = 0;
    UINT pages = 3;
    CRect lastRectDraw;
    ~CProbeView() override { ++g_viewsDeleted; }
    void OnDraw(CDC* dc) override
    {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, RGB(255, 255, 255));
    }
    void OnInitialUpdate() override
    {
        g_log.push_back(std::string("view initial update, document ") + (GetDocument() ? "set" : "missing"));
        CView::OnInitialUpdate();
    }
    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        g_log.push_back("prepare printing");
        info->SetMaxPage(pages);
        return DoPreparePrinting(info);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { g_log.push_back("begin printing"); }
    void OnPrepareDC(CDC* dc, CPrintInfo* info) override
    {
        if (info && !info->m_bPreview) g_log.push_back("prepare dc " + std::to_string(info->m_nCurPage));
        CView::OnPrepareDC(dc, info);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        if (!info->m_bPreview) g_log.push_back("print " + std::to_string(info->m_nCurPage));
        lastRectDraw = info->m_rectDraw;
        CRect r = info->m_rectDraw;
        dc->FillSolidRect(0, 0, r.Width() / 2, r.Height() / 2, PageColor(info->m_nCurPage));
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { g_log.push_back("end printing"); }
    void OnViewCommand() { ++viewCommands; }
    void OnBoth() { ++bothCommands; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeView, CView)
BEGIN_MESSAGE_MAP(CProbeView, CView)
    ON_COMMAND(ID_PROBE_VIEW, OnViewCommand)
    ON_COMMAND(ID_PROBE_BOTH, OnBoth)
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

class CProbeForm : public CFormView {
    DECLARE_DYNCREATE(CProbeForm)
public:
    CProbeForm() : CFormView(IDD_PROBE_FORM) {}
};
IMPLEMENT_DYNCREATE(CProbeForm, CFormView)

class CProbeFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CProbeFrame)
public:
    int frameCommands = 0;
    CStatusBar status;
    int OnCreate(LPCREATESTRUCTA cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1) return -1;
        static const UINT indicators[] = {ID_SEPARATOR};
        return status.Create(this) && status.SetIndicators(indicators, 1) ? 0 : -1;
    }
    void OnFrameCommand() { ++frameCommands; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_PROBE_FRAME, OnFrameCommand)
END_MESSAGE_MAP()

// A frame whose client is a splitter: the form on the left, a plain view on the right.
class CSplitFrame : public CProbeFrame {
    DECLARE_DYNCREATE(CSplitFrame)
public:
    CSplitterWnd splitter;
    BOOL OnCreateClient(LPCREATESTRUCTA, CCreateContext* context) override
    {
        return splitter.CreateStatic(this, 1, 2) &&
               splitter.CreateView(0, 0, RUNTIME_CLASS(CProbeForm), CSize(260, 100), context) &&
               splitter.CreateView(0, 1, RUNTIME_CLASS(CProbeView), CSize(100, 100), context);
    }
};
IMPLEMENT_DYNCREATE(CSplitFrame, CProbeFrame)

class CProbeApp : public CWinApp {
public:
    int appCommands = 0;
    BOOL appChecked = FALSE;
    CProbeApp() : CWinApp("DocViewProbe") { m_nCmdShow = SW_SHOWNORMAL; }
    void OnAppCommand() { ++appCommands; }
    void OnUpdateApp(CCmdUI* ui) { ui->SetCheck(1); appChecked = TRUE; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbeApp, CWinApp)
    ON_COMMAND(ID_PROBE_APP, OnAppCommand)
    ON_UPDATE_COMMAND_UI(ID_PROBE_APP, OnUpdateApp)
END_MESSAGE_MAP()

CSingleDocTemplate* ProbeTemplate(CRuntimeClass* view = RUNTIME_CLASS(CProbeView),
                                  CRuntimeClass* frame = RUNTIME_CLASS(CProbeFrame))
{
    return new CSingleDocTemplate(IDR_PROBE_DOC, RUNTIME_CLASS(CProbeDoc), frame, view);
}

// Starts the program's one document through the shell command, as InitInstance does.
CProbeFrame* StartProbe(CProbeApp& app, CRuntimeClass* view = RUNTIME_CLASS(CProbeView),
                        CRuntimeClass* frame = RUNTIME_CLASS(CProbeFrame))
{
    app.AddDocTemplate(ProbeTemplate(view, frame));
    CCommandLineInfo info;
    if (!app.ProcessShellCommand(info)) return nullptr;
    auto* f = static_cast<CProbeFrame*>(app.m_pMainWnd);
    f->SetWindowPos(nullptr, 20, 20, 640, 480, SWP_NOZORDER);
    PumpPending();
    return f;
}

void EndProbe(CProbeApp& app)
{
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd) app.m_pMainWnd->DestroyWindow();
    app.m_pMainWnd = nullptr;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
}

bool Grayed(HMENU menu, UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
bool Checked(HMENU menu, UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

// A window's drawing through WM_PRINTCLIENT into a 32-bit DIB (grey first, so that
// nothing drawn cannot pass for white).
struct Snapshot {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    COLORREF At(int x, int y) const
    {
        DWORD p = pixels[size_t(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(COLORREF c, const RECT& r) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == c;
        return n;
    }
};

Snapshot PrintClient(CWnd* wnd)
{
    Snapshot shot;
    CRect client;
    wnd->GetClientRect(&client);
    shot.width = client.Width();
    shot.height = client.Height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = shot.width;
    bi.bmiHeader.biHeight = -shot.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    std::fill_n(static_cast<DWORD*>(bits), size_t(shot.width) * shot.height, 0x808080);
    wnd->SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    ::GdiFlush();
    shot.pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size_t(shot.width) * shot.height);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return shot;
}

}  // namespace

WTEST(template_start_up_reads_string_fields_titles_and_updates_once)
{
    g_log.clear();
    int docsDeleted = g_docsDeleted, viewsDeleted = g_viewsDeleted;
    CProbeApp app;
    CSingleDocTemplate* plain = new CSingleDocTemplate(IDR_PLAIN_DOC, RUNTIME_CLASS(CProbeDoc),
                                                       RUNTIME_CLASS(CProbeFrame), RUNTIME_CLASS(CProbeView));
    CProbeFrame* f = StartProbe(app);
    WCHECK(f != nullptr);
    if (!f) return;
    POSITION pos = app.GetFirstDocTemplatePosition();
    CDocTemplate* tmpl = app.GetNextDocTemplate(pos);
    WCHECK(pos == nullptr);

    // String 128's seven fields, and none beyond.
    static const char* fields[] = {"Probe Application", "ProbeDoc", "Probe", "Probe Files (*.prb)", ".prb",
                                   "Probe.Document", "Probe Document"};
    for (int i = 0; i < 7; ++i) {
        CString field;
        WCHECK(tmpl->GetDocString(field, (CDocTemplate::DocStringIndex)i));
        WCHECK_EQ(std::string(field), std::string(fields[i]));
    }
    CString beyond;
    WCHECK(!tmpl->GetDocString(beyond, (CDocTemplate::DocStringIndex)7));

    // Document, frame and view belong together; the view is active, the frame shown.
    auto* doc = dynamic_cast<CProbeDoc*>(f->GetActiveDocument());
    WCHECK(doc != nullptr);
    auto* view = dynamic_cast<CProbeView*>(f->GetActiveView());
    WCHECK(view != nullptr && view->GetDocument() == doc && view->GetDlgCtrlID() == AFX_IDW_PANE_FIRST);
    WCHECK(doc && doc->GetDocTemplate() == tmpl);
    WCHECK(f->IsWindowVisible());
    WCHECK_EQ(std::string(doc ? (LPCSTR)doc->GetTitle() : ""), "ProbeDoc");
    WCHECK_EQ(Text(f), "ProbeDoc - Probe Application");
    // The view's initial update comes once, after the new document, with the document set.
    WCHECK_EQ(Joined(), "doc new, view initial update, document set");

    // File New again reuses the one document and its frame.
    g_log.clear();
    app.OnFileNew();
    WCHECK(f->GetActiveDocument() == doc && app.m_pMainWnd == f);
    WCHECK_EQ(Joined(), "doc new, view initial update, document set");

    // A template whose document name is empty names its documents "Untitled".
    CDocument* second = plain->OpenDocumentFile(nullptr);
    WCHECK(second != nullptr && second != doc);
    if (second) {
        CFrameWnd* secondFrame = nullptr;
        POSITION vp = second->GetFirstViewPosition();
        if (vp) secondFrame = second->GetNextView(vp)->GetParentFrame();
        WCHECK(secondFrame != nullptr && secondFrame != f);
        if (secondFrame) WCHECK_EQ(Text(secondFrame), "Untitled - Plain Application");
        // Closing its frame closes the document with it.
        if (secondFrame) secondFrame->DestroyWindow();
        WCHECK_EQ(g_docsDeleted, docsDeleted + 1);
        WCHECK(plain->GetFirstDocPosition() == nullptr);
    }
    delete plain;

    // Closing the main frame: the unmodified document lets it go and goes with it.
    HWND mainWindow = f->m_hWnd;
    f->SendMessage(WM_CLOSE);
    WCHECK(!::IsWindow(mainWindow));
    WCHECK(app.m_pMainWnd == nullptr);  // the layer forgets its destroyed main window
    EndProbe(app);
    WCHECK_EQ(g_docsDeleted, docsDeleted + 2);
    WCHECK_EQ(g_viewsDeleted, viewsDeleted + 2);
}

WTEST(commands_route_view_document_frame_application_with_update_handlers)
{
    CProbeApp app;
    CProbeFrame* f = StartProbe(app);
    WCHECK(f != nullptr);
    if (!f) return;
    auto* view = static_cast<CProbeView*>(f->GetActiveView());
    auto* doc = static_cast<CProbeDoc*>(f->GetActiveDocument());

    // Each command reaches the first target on the route that handles it.
    for (UINT id : {ID_PROBE_VIEW, ID_PROBE_DOC, ID_PROBE_FRAME, ID_PROBE_APP, ID_PROBE_BOTH, ID_PROBE_NOBODY})
        f->SendMessage(WM_COMMAND, id);
    WCHECK_EQ(view->viewCommands, 1);
    WCHECK_EQ(doc->docCommands, 1);
    WCHECK_EQ(f->frameCommands, 1);
    WCHECK_EQ(app.appCommands, 1);
    WCHECK_EQ(view->bothCommands, 1);  // the view comes before its document
    WCHECK_EQ(doc->bothCommands, 0);

    // The menu's update: a handler anywhere on the route enables an item; the
    // document's update handler disables one; nobody's item is disabled; the
    // application's update handler checks its item.
    HMENU popup = ::GetSubMenu(::GetMenu(f->m_hWnd), 0);
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);
    WCHECK(!Grayed(popup, ID_PROBE_VIEW) && !Grayed(popup, ID_PROBE_DOC));
    WCHECK(!Grayed(popup, ID_PROBE_FRAME) && !Grayed(popup, ID_PROBE_APP));
    WCHECK(Grayed(popup, ID_PROBE_NOBODY));
    WCHECK(Grayed(popup, ID_PROBE_DISABLED));
    WCHECK(Checked(popup, ID_PROBE_APP) && app.appChecked);
    WCHECK(!Grayed(popup, ID_FILE_PRINT));

    // A command its update handler disables is dropped.
    g_log.clear();
    f->SendMessage(WM_COMMAND, ID_PROBE_DISABLED);
    WCHECK_EQ(Joined(), "");

    // Without an active view the route starts at the frame.
    f->SetActiveView(nullptr);
    f->SendMessage(WM_COMMAND, ID_PROBE_VIEW);
    f->SendMessage(WM_COMMAND, ID_PROBE_DOC);
    WCHECK_EQ(view->viewCommands, 1);
    WCHECK_EQ(doc->docCommands, 1);
    EndProbe(app);
}

WTEST(form_view_gives_the_focus_back_to_its_control)
{
    CProbeApp app;
    CProbeFrame* f = StartProbe(app, RUNTIME_CLASS(CProbeView), RUNTIME_CLASS(CSplitFrame));
    WCHECK(f != nullptr);
    if (!f) return;
    auto* frame = static_cast<CSplitFrame*>(f);
    CSplitterWnd& splitter = frame->splitter;
    auto* form = dynamic_cast<CProbeForm*>(splitter.GetPane(0, 0));
    auto* plainView = dynamic_cast<CProbeView*>(splitter.GetPane(0, 1));
    WCHECK(form != nullptr && plainView != nullptr);
    if (!form || !plainView) return;
    ::SetForegroundWindow(f->m_hWnd);
    WCHECK(PumpUntil([&] { return ::GetActiveWindow() == f->m_hWnd; }));

    // Both panes joined the document; the first pane is the active view, and the
    // form's first control has the focus.
    CDocument* doc = f->GetActiveDocument();
    WCHECK(doc != nullptr && form->GetDocument() == doc && plainView->GetDocument() == doc);
    WCHECK(f->GetActiveView() == form);
    WCHECK(splitter.GetActivePane() == form);
    HWND first = ::GetDlgItem(form->m_hWnd, IDC_FORM_FIRST);
    HWND second = ::GetDlgItem(form->m_hWnd, IDC_FORM_SECOND);
    WCHECK(::GetFocus() == first);

    // The user moves to the second control, then to the other pane.
    ::SetFocus(second);
    splitter.SetActivePane(0, 1);
    WCHECK(f->GetActiveView() == plainView);
    WCHECK(::GetFocus() == plainView->m_hWnd);
    WCHECK(form->GetFocusControl() == second);

    // Back in the form, the second control has the focus again.
    splitter.SetActivePane(0, 0);
    WCHECK(f->GetActiveView() == form);
    WCHECK(::GetFocus() == second);

    // A click on the other pane makes it the active view.
    CRect r;
    plainView->GetWindowRect(&r);
    MouseTo(r.CenterPoint());
    MouseButton(true);
    MouseButton(false);
    WCHECK(PumpUntil([&] { return f->GetActiveView() == plainView; }));
    splitter.SetActivePane(0, 0);
    WCHECK(::GetFocus() == second);

    // Another window takes the activation and gives it back: the form's control again.
    CWnd other;
    WCHECK(other.CreateEx(0, AfxRegisterWndClass(0), "Other", WS_POPUP | WS_VISIBLE | WS_CAPTION,
                          CRect(700, 20, 900, 200), nullptr, 0));
    ::SetForegroundWindow(other.m_hWnd);
    WCHECK(PumpUntil([&] { return ::GetActiveWindow() == other.m_hWnd; }));
    WCHECK(::GetFocus() != second);
    ::SetForegroundWindow(f->m_hWnd);
    WCHECK(PumpUntil([&] { return ::GetActiveWindow() == f->m_hWnd; }));
    WCHECK(::GetFocus() == second);
    other.DestroyWindow();
    EndProbe(app);
}

WTEST(html_view_shows_a_resource_page_and_a_file)
{
    CProbeApp app;
    CProbeFrame* f = StartProbe(app, RUNTIME_CLASS(CHtmlView));
    WCHECK(f != nullptr);
    if (!f) return;
    auto* html = dynamic_cast<CHtmlView*>(f->GetActiveView());
    WCHECK(html != nullptr);
    if (!html) return;
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string url = std::string("res://") + exe + "/" + std::to_string(IDH_PROBE_PAGE);
    WCHECK(html->Navigate2(url.c_str()));
    WCHECK_EQ(std::string(html->GetLocationURL()), url);
    WCHECK_EQ(std::string(html->GetLocationName()), "Probe Page");
    WCHECK_EQ(std::string(html->GetDocumentText()), "Welcome\nFirst line of text & more.\n\x95 One\n\x95 Two\nLast\nwords");

    // Drawn: the page's background everywhere but where there is text, the heading in
    // its colour on the first line only, black text below, a grey rule.
    Snapshot shot = PrintClient(html);
    WCHECK_EQ(shot.At(2, 2), RGB(0xFF, 0xFF, 0xE0));
    WCHECK_EQ(shot.At(shot.width - 3, shot.height - 3), RGB(0xFF, 0xFF, 0xE0));
    CRect top(0, 0, shot.width, 50), below(0, 50, shot.width, shot.height);
    WCHECK(shot.Count(RGB(0xC0, 0, 0), top) > 20);
    WCHECK_EQ(shot.Count(RGB(0xC0, 0, 0), below), 0);
    WCHECK(shot.Count(RGB(0, 0, 0), below) > 20);
    WCHECK(shot.Count(RGB(128, 128, 128), below) >= 2 * (shot.width - 40));

    // A page from a file, as the console writes its generated pages.
    char dir[MAX_PATH] = "", path[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "Trv", 0, path);
    FILE* file = std::fopen(path, "wb");
    WCHECK(file != nullptr);
    if (file) {
        std::fputs("<html><title>Device 10.0.0.1</title><body><p>Address: 10.0.0.1</p></body></html>", file);
        std::fclose(file);
    }
    WCHECK(html->Navigate2((std::string("file://") + path).c_str()));
    WCHECK_EQ(std::string(html->GetLocationName()), "Device 10.0.0.1");
    WCHECK_EQ(std::string(html->GetDocumentText()), "Address: 10.0.0.1");
    ::DeleteFileA(path);

    // A missing resource shows an error page and says so.
    WCHECK(!html->Navigate2((std::string("res://") + exe + "/4242").c_str()));
    WCHECK_EQ(std::string(html->GetLocationName()), "Cannot show the page");
    EndProbe(app);
}

WTEST(print_loop_prints_three_pages_through_the_printer)
{
    wprint::RecordingPrinter printer;
    wprint::ScopedPrinter use(&printer);
    CProbeApp app;
    CProbeFrame* f = StartProbe(app);
    WCHECK(f != nullptr);
    if (!f) return;
    auto* view = static_cast<CProbeView*>(f->GetActiveView());

    // File Print Direct: no dialog, the default printer, three pages in order.
    g_log.clear();
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    WCHECK_EQ(Joined(), "prepare printing, begin printing, prepare dc 1, print 1, prepare dc 2, print 2, "
                        "prepare dc 3, print 3, end printing");
    WCHECK_EQ(printer.journal.Calls(), "SetAbortProc, StartDoc ProbeDoc, StartPage, EndPage, StartPage, EndPage, "
                                       "StartPage, EndPage, EndDoc");
    WCHECK_EQ((int)printer.journal.pages.size(), 3);
    // The application read its default printer (no dialog); a second job asks nothing.
    const int defaults = printer.printDialogs;
    WCHECK(defaults <= 1);
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    WCHECK_EQ(printer.printDialogs, defaults);
    WCHECK_EQ((int)printer.journal.pages.size(), 6);
    const wprint::PrinterGeometry& g = printer.geometry;
    WCHECK(view->lastRectDraw == CRect(0, 0, g.HorzRes(), g.VertRes()));
    for (size_t i = 0; i < printer.journal.pages.size(); ++i) {
        const wprint::Page& page = printer.journal.pages[i];
        WCHECK_EQ(page.At(g.HorzRes() / 4, g.VertRes() / 4), PageColor((UINT)(i % 3) + 1));
        WCHECK_EQ(page.At(g.HorzRes() / 2 - 1, g.VertRes() / 2 - 1), PageColor((UINT)(i % 3) + 1));
        WCHECK_EQ(page.At(g.HorzRes() / 2, g.VertRes() / 2), RGB(255, 255, 255));
    }

    // File Print asks the print dialog; its Cancel prints nothing.
    printer.journal = wprint::PrintJournal{};
    printer.dialogAnswer = FALSE;
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    WCHECK_EQ(printer.printDialogs, defaults + 1);
    WCHECK_EQ(printer.journal.Calls(), "");
    printer.dialogAnswer = TRUE;
    view->pages = 2;
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    WCHECK_EQ(printer.printDialogs, defaults + 2);
    WCHECK_EQ((int)printer.journal.pages.size(), 2);

    // Without a printer nothing is shown and nothing printed.
    printer.hasPrinter = false;
    printer.journal = wprint::PrintJournal{};
    int dcs = printer.dcsMade;
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    WCHECK_EQ(printer.printDialogs, defaults + 2);
    WCHECK_EQ(printer.dcsMade, dcs);
    WCHECK_EQ(printer.journal.Calls(), "");
    EndProbe(app);
}

WTEST(print_preview_turns_pages_and_gives_the_frame_back)
{
    wprint::RecordingPrinter printer;
    wprint::ScopedPrinter use(&printer);
    CProbeApp app;
    CProbeFrame* f = StartProbe(app);
    WCHECK(f != nullptr);
    if (!f) return;
    auto* view = static_cast<CProbeView*>(f->GetActiveView());
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    auto* preview = dynamic_cast<CPreviewView*>(f->GetActiveView());
    WCHECK(preview != nullptr);
    if (!preview) return;
    // The preview takes the view's place; the frame's status bar makes way for the
    // preview's buttons.
    WCHECK(!view->IsWindowVisible() && preview->IsWindowVisible());
    WCHECK(preview->GetDlgCtrlID() == AFX_IDW_PANE_FIRST);
    RunIdle();
    PumpPending();
    WCHECK(!f->status.IsWindowVisible());
    CWnd* bar = f->GetDlgItem(AFX_IDW_PREVIEW_BAR);
    WCHECK(bar != nullptr);
    WCHECK_EQ(printer.dcsMade, 1);

    auto pageShows = [&](UINT page) {
        Snapshot shot = PrintClient(preview);
        CRect r = preview->PageRect();
        return shot.At(r.left + r.Width() / 4, r.top + r.Height() / 4) == PageColor(page) &&
               shot.At(r.left + 3 * r.Width() / 4, r.top + 3 * r.Height() / 4) == RGB(255, 255, 255) &&
               shot.At(r.left - 2, r.top + 4) == RGB(128, 128, 128);
    };
    auto enabled = [&](UINT id) { return ::IsWindowEnabled(::GetDlgItem(bar->m_hWnd, id)) != FALSE; };
    WCHECK_EQ(preview->GetCurrentPage(), 1u);
    WCHECK(pageShows(1));
    RunIdle();
    WCHECK(enabled(AFX_ID_PREVIEW_NEXT) && !enabled(AFX_ID_PREVIEW_PREV));

    // Next, next, next (no page 4), back: the buttons as the page allows.
    struct Turn {
        UINT command;
        UINT page;
        bool next, prev;
    } turns[] = {
        {AFX_ID_PREVIEW_NEXT, 2, true, true},
        {AFX_ID_PREVIEW_NEXT, 3, false, true},
        {AFX_ID_PREVIEW_NEXT, 3, false, true},
        {AFX_ID_PREVIEW_PREV, 2, true, true},
    };
    for (const Turn& t : turns) {
        f->SendMessage(WM_COMMAND, t.command);
        WCHECK_EQ(preview->GetCurrentPage(), t.page);
        WCHECK(pageShows(t.page));
        RunIdle();
        WCHECK_EQ(enabled(AFX_ID_PREVIEW_NEXT), t.next);
        WCHECK_EQ(enabled(AFX_ID_PREVIEW_PREV), t.prev);
    }
    // The button itself turns the page too.
    ::SendMessageA(::GetDlgItem(bar->m_hWnd, AFX_ID_PREVIEW_NEXT), BM_CLICK, 0, 0);
    WCHECK_EQ(preview->GetCurrentPage(), 3u);

    // The frame's close box ends the preview, not the frame; everything is back.
    f->SendMessage(WM_CLOSE);
    PumpPending();
    WCHECK(::IsWindow(f->m_hWnd));
    WCHECK(f->GetActiveView() == view);
    WCHECK(view->IsWindowVisible() && view->GetDlgCtrlID() == AFX_IDW_PANE_FIRST);
    WCHECK(f->GetDlgItem(AFX_IDW_PREVIEW_BAR) == nullptr);
    RunIdle();
    PumpPending();
    WCHECK(f->status.IsWindowVisible());
    WCHECK(printer.journal.Calls().find("StartDoc") == std::string::npos);  // a preview prints nothing

    // Print Preview again, then Close.
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    WCHECK(dynamic_cast<CPreviewView*>(f->GetActiveView()) != nullptr);
    f->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    WCHECK(f->GetActiveView() == view);

    // Without a printer there is no preview: nothing changes, nothing is shown.
    printer.hasPrinter = false;
    f->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    WCHECK(f->GetActiveView() == view && view->IsWindowVisible());
    WCHECK(f->GetDlgItem(AFX_IDW_PREVIEW_BAR) == nullptr);
    WCHECK(::GetDlgItem(f->m_hWnd, AFX_IDW_PANE_LAST) == nullptr);
    EndProbe(app);
}
