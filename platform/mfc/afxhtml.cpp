// The HTML view: reading pages from resources and files, and showing their layout
// (afxhtml_layout.h) scrolled to the view's width.
#include "afxhtml.h"
#include "afxhtml_layout.h"
#include "afx_log.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

IMPLEMENT_DYNCREATE(CHtmlView, CScrollView)

BEGIN_MESSAGE_MAP(CHtmlView, CScrollView)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

std::string Lower(std::string s)
{
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

}  // namespace

// ---- reading pages

namespace {

std::string PercentDecode(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit((unsigned char)s[i + 1]) &&
            std::isxdigit((unsigned char)s[i + 2])) {
            out += (char)std::strtoul(s.substr(i + 1, 2).c_str(), nullptr, 16);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// "123" or "#123" as an integer resource, else the name itself.
LPCSTR ResourceName(const std::string& text, std::string& storage)
{
    std::string t = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos)
        return MAKEINTRESOURCEA(std::atoi(t.c_str()));
    storage = text;
    return storage.c_str();
}

// The resource of type in the module at path; false when it is not there.
bool ReadResource(const std::string& path, const std::string& type, const std::string& name, std::string& out)
{
    HMODULE module = ::GetModuleHandleA(path.c_str());
    bool loaded = false;
    if (!module) {
        module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        loaded = module != nullptr;
    }
    if (!module) return false;
    std::string typeStorage, nameStorage;
    HRSRC res = ::FindResourceA(module, ResourceName(name, nameStorage), ResourceName(type, typeStorage));
    HGLOBAL mem = res ? ::LoadResource(module, res) : nullptr;
    const char* data = mem ? static_cast<const char*>(::LockResource(mem)) : nullptr;
    if (data) out.assign(data, ::SizeofResource(module, res));
    if (loaded) ::FreeLibrary(module);
    return data != nullptr;
}

}  // namespace

BOOL PASCAL CHtmlView::ReadUrl(LPCSTR url, CString& markup, CString& error)
{
    std::string address = url ? url : "";
    std::string lower = Lower(address);
    if (lower.rfind("res://", 0) == 0) {
        std::string rest = PercentDecode(address.substr(6));
        size_t slash = rest.rfind('/');
        if (slash == std::string::npos || slash + 1 == rest.size()) {
            error = "The address names no resource.";
            return FALSE;
        }
        std::string name = rest.substr(slash + 1);
        std::string module = rest.substr(0, slash);
        std::string out;
        if (ReadResource(module, "23", name, out)) {
            markup = out.c_str();
            return TRUE;
        }
        // "res://<module>/<type>/<id>"
        size_t typeSlash = module.rfind('/');
        if (typeSlash != std::string::npos &&
            ReadResource(module.substr(0, typeSlash), module.substr(typeSlash + 1), name, out)) {
            markup = out.c_str();
            return TRUE;
        }
        error.Format("The resource %s of %s cannot be read.", name.c_str(), module.c_str());
        return FALSE;
    }
    if (lower.rfind("file:", 0) == 0) {
        std::string path = PercentDecode(address.substr(5));
        size_t start = 0;
        while (start < path.size() && start < 2 && path[start] == '/') ++start;
        path = path.substr(start);
        // "file:///C:/..." leaves "/C:/...".
        if (path.size() > 2 && path[0] == '/' && std::isalpha((unsigned char)path[1]) && path[2] == ':')
            path = path.substr(1);
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error.Format("The file %s cannot be opened (error %lu).", path.c_str(), ::GetLastError());
            return FALSE;
        }
        std::string out;
        char buffer[8192];
        DWORD got = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
        ::CloseHandle(file);
        markup = out.c_str();
        return TRUE;
    }
    if (lower == "about:blank") {
        markup.Empty();
        return TRUE;
    }
    error.Format("Addresses like %s are not supported.", address.c_str());
    return FALSE;
}

// ---- CHtmlView

CHtmlView::CHtmlView() : m_layout(std::make_unique<afxhtml::Page>()) {}

CHtmlView::~CHtmlView() = default;

BOOL CHtmlView::Navigate2(LPCSTR url, DWORD, LPCSTR, LPCSTR, LPVOID, DWORD)
{
    CString markup, error;
    BOOL ok = ReadUrl(url, markup, error);
    if (!ok) {
        AfxLogFailure("HTML view: %s", (LPCSTR)error);
        // The failure is shown as a page of its own.
        std::string page = "<html><head><title>Cannot show the page</title></head><body><h2>The page cannot be "
                           "shown</h2><p>";
        for (const char* p = url ? url : ""; *p; ++p) page += *p == '<' ? "&lt;" : *p == '&' ? "&amp;" : std::string(1, *p);
        page += "</p><p>" + std::string((LPCSTR)error) + "</p></body></html>";
        markup = page.c_str();
    }
    SetPageSource(markup, url);
    return ok;
}

BOOL CHtmlView::LoadFromResource(UINT id)
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString url;
    url.Format("res://%s/%u", path, id);
    return Navigate2(url);
}

BOOL CHtmlView::LoadFromResource(LPCSTR name)
{
    if (IS_INTRESOURCE(name)) return LoadFromResource((UINT)(UINT_PTR)name);
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString url;
    url.Format("res://%s/%s", path, name);
    return Navigate2(url);
}

void CHtmlView::SetPageSource(LPCSTR markup, LPCSTR url)
{
    m_strURL = url ? url : "";
    m_layout = std::make_unique<afxhtml::Page>();
    m_layout->Parse(markup ? markup : "");
    m_nLayoutWidth = -1;
    Relayout();
    if (m_hWnd) {
        ScrollToPosition(CPoint(0, 0));
        Invalidate();
    }
    OnNavigateComplete2(m_strURL);
    OnDocumentComplete(m_strURL);
}

void CHtmlView::Refresh()
{
    if (!m_strURL.IsEmpty()) Navigate2(CString(m_strURL));
}

CString CHtmlView::GetLocationName() const { return m_layout->title.c_str(); }

COLORREF CHtmlView::GetBackgroundColor() const { return m_layout->background; }

CString CHtmlView::GetDocumentText() const
{
    std::string text;
    for (const auto& line : m_layout->lines) {
        if (!text.empty()) text += '\n';
        for (size_t i = 0; i < line.runs.size(); ++i) text += (i ? " " : "") + line.runs[i].text;
    }
    return text.c_str();
}

void CHtmlView::Relayout()
{
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    // Laid out to the width without a vertical bar, so that showing one never reflows.
    int width = client.Width() + ((GetStyle() & WS_VSCROLL) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0) -
                ::GetSystemMetrics(SM_CXVSCROLL);
    if (width == m_nLayoutWidth) return;
    m_nLayoutWidth = width;
    HDC dc = ::GetDC(m_hWnd);
    m_layout->Layout(dc, width);
    ::ReleaseDC(m_hWnd, dc);
    SetScrollSizes(MM_TEXT, CSize(1, m_layout->height));
}

void CHtmlView::OnSize(UINT type, int cx, int cy)
{
    CScrollView::OnSize(type, cx, cy);
    Relayout();
}

BOOL CHtmlView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw paints the background

void CHtmlView::OnDraw(CDC* dc)
{
    if (m_nLayoutWidth < 0) Relayout();
    CRect client;
    GetClientRect(&client);
    CPoint scroll = GetDeviceScrollPosition();
    CRect page(0, 0, std::max(client.right, (LONG)m_layout->width) + scroll.x,
               std::max(client.bottom + scroll.y, (LONG)m_layout->height));
    dc->FillSolidRect(&page, m_layout->background);
    m_layout->Draw(dc->m_hDC);
}
