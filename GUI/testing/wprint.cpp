// Test printers (wprint.h).
#include "wprint.h"

#include <winspool.h>

#include <cstring>

namespace wprint {

namespace {

const char kPrinterName[] = "Recording Printer";

HGLOBAL MakeDevNames(const char* driver, const char* device, const char* port)
{
    size_t d = std::strlen(driver) + 1, n = std::strlen(device) + 1, p = std::strlen(port) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + d + n + p);
    auto* names = static_cast<DEVNAMES*>(::GlobalLock(h));
    char* base = reinterpret_cast<char*>(names);
    names->wDriverOffset = sizeof(DEVNAMES);
    names->wDeviceOffset = (WORD)(names->wDriverOffset + d);
    names->wOutputOffset = (WORD)(names->wDeviceOffset + n);
    std::memcpy(base + names->wDriverOffset, driver, d);
    std::memcpy(base + names->wDeviceOffset, device, n);
    std::memcpy(base + names->wOutputOffset, port, p);
    ::GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDevMode()
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    auto* mode = static_cast<DEVMODEA*>(::GlobalLock(h));
    ::lstrcpynA(reinterpret_cast<char*>(mode->dmDeviceName), kPrinterName, CCHDEVICENAME);
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmFields = DM_ORIENTATION | DM_COPIES;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    mode->dmCopies = 1;
    ::GlobalUnlock(h);
    return h;
}

void GivePrinter(HGLOBAL& devNames, HGLOBAL& devMode)
{
    if (!devNames) devNames = MakeDevNames("winspool", kPrinterName, "MEMORY:");
    if (!devMode) devMode = MakeDevMode();
}

}  // namespace

COLORREF Page::At(int x, int y) const
{
    DWORD p = pixels[(size_t)y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string PrintJournal::Calls() const
{
    std::string s;
    for (const std::string& c : calls) s += (s.empty() ? "" : ", ") + c;
    return s;
}

RecordingPrinterDC::RecordingPrinterDC(const PrinterGeometry& geometry, PrintJournal* journal)
    : m_geometry(geometry), m_journal(journal)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = geometry.HorzRes();
    bi.bmiHeader.biHeight = -geometry.VertRes();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    CreateCompatibleDC(nullptr);
    m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
    m_bPrinting = TRUE;
}

RecordingPrinterDC::~RecordingPrinterDC()
{
    if (m_hDC) ::SelectObject(m_hDC, m_oldBitmap);
    ::DeleteObject(m_bitmap);
}

int RecordingPrinterDC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return m_geometry.dpi;
    case HORZRES: return m_geometry.HorzRes();
    case VERTRES: return m_geometry.VertRes();
    case PHYSICALWIDTH: return m_geometry.width;
    case PHYSICALHEIGHT: return m_geometry.height;
    case PHYSICALOFFSETX: return m_geometry.offsetX;
    case PHYSICALOFFSETY: return m_geometry.offsetY;
    case HORZSIZE: return MulDiv(m_geometry.HorzRes(), 254, m_geometry.dpi * 10);
    case VERTSIZE: return MulDiv(m_geometry.VertRes(), 254, m_geometry.dpi * 10);
    case TECHNOLOGY: return DT_RASPRINTER;
    default: return CDC::GetDeviceCaps(index);
    }
}

int RecordingPrinterDC::StartDoc(LPDOCINFOA docInfo)
{
    if (m_inDoc) {
        m_journal->calls.push_back("error: StartDoc inside a document");
        return SP_ERROR;
    }
    m_inDoc = true;
    m_journal->calls.push_back(std::string("StartDoc ") + (docInfo && docInfo->lpszDocName ? docInfo->lpszDocName : ""));
    return 1;
}

int RecordingPrinterDC::StartPage()
{
    if (!m_inDoc || m_inPage) {
        m_journal->calls.push_back("error: StartPage outside a document or inside a page");
        return SP_ERROR;
    }
    m_inPage = true;
    m_journal->calls.push_back("StartPage");
    ::GdiFlush();
    std::memset(m_bits, 0xFF, (size_t)m_geometry.HorzRes() * m_geometry.VertRes() * sizeof(DWORD));
    return 1;
}

int RecordingPrinterDC::EndPage()
{
    if (!m_inPage) {
        m_journal->calls.push_back("error: EndPage outside a page");
        return SP_ERROR;
    }
    m_inPage = false;
    m_journal->calls.push_back("EndPage");
    ::GdiFlush();
    Page page;
    page.width = m_geometry.HorzRes();
    page.height = m_geometry.VertRes();
    page.pixels.assign(m_bits, m_bits + (size_t)page.width * page.height);
    for (DWORD& p : page.pixels) p &= 0x00FFFFFF;
    m_journal->pages.push_back(std::move(page));
    if (m_abortProc && !m_abortProc(m_hDC, 0)) {
        m_journal->calls.push_back("aborted by the abort procedure");
        m_inDoc = false;
        return SP_APPABORT;
    }
    return 1;
}

int RecordingPrinterDC::EndDoc()
{
    if (!m_inDoc || m_inPage) {
        m_journal->calls.push_back("error: EndDoc outside a document or inside a page");
        return SP_ERROR;
    }
    m_inDoc = false;
    m_journal->calls.push_back("EndDoc");
    return 1;
}

int RecordingPrinterDC::AbortDoc()
{
    m_journal->calls.push_back("AbortDoc");
    m_inDoc = m_inPage = false;
    return 1;
}

int RecordingPrinterDC::SetAbortProc(BOOL(CALLBACK* proc)(HDC, int))
{
    m_journal->calls.push_back("SetAbortProc");
    m_abortProc = proc;
    return 1;
}

BOOL RecordingPrinter::PrintDlg(PRINTDLGA& pd)
{
    ++printDialogs;
    if (!hasPrinter) return FALSE;
    if ((pd.Flags & PD_RETURNDEFAULT) && (pd.hDevNames || pd.hDevMode)) return FALSE;  // as the system
    GivePrinter(pd.hDevNames, pd.hDevMode);
    return (pd.Flags & PD_RETURNDEFAULT) ? TRUE : dialogAnswer;
}

BOOL RecordingPrinter::PageSetupDlg(PAGESETUPDLGA& psd)
{
    ++pageSetupDialogs;
    if (!hasPrinter) return FALSE;
    GivePrinter(psd.hDevNames, psd.hDevMode);
    bool metric = (psd.Flags & PSD_INHUNDREDTHSOFMILLIMETERS) != 0;
    psd.ptPaperSize.x = MulDiv(geometry.width, metric ? 2540 : 1000, geometry.dpi);
    psd.ptPaperSize.y = MulDiv(geometry.height, metric ? 2540 : 1000, geometry.dpi);
    return (psd.Flags & PSD_RETURNDEFAULT) ? TRUE : dialogAnswer;
}

CDC* RecordingPrinter::CreatePrinterDC(HGLOBAL, HGLOBAL)
{
    if (!hasPrinter) return nullptr;
    ++dcsMade;
    return new RecordingPrinterDC(geometry, &journal);
}

namespace {

// Wine's spooler carries its generic PostScript description as a resource.
struct PpdSearch {
    std::string text;
};

BOOL CALLBACK FindPpdName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    auto* search = reinterpret_cast<PpdSearch*>(param);
    HRSRC res = ::FindResourceW(module, name, type);
    if (!res) return TRUE;
    DWORD size = ::SizeofResource(module, res);
    auto* data = static_cast<const char*>(::LockResource(::LoadResource(module, res)));
    if (!data || size < 10 || std::memcmp(data, "*PPD-Adobe", 10) != 0) return TRUE;
    search->text.assign(data, size);
    return FALSE;
}

BOOL CALLBACK FindPpdType(HMODULE module, LPWSTR type, LONG_PTR param)
{
    ::EnumResourceNamesW(module, type, &FindPpdName, param);
    return reinterpret_cast<PpdSearch*>(param)->text.empty();
}

std::string Failed(const char* step) { return std::string(step) + " failed: error " + std::to_string(::GetLastError()); }

}  // namespace

std::string InstallFilePrinter(const char* name)
{
    HMODULE spooler = ::LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!spooler) return Failed("loading winspool.drv");
    PpdSearch ppd;
    ::EnumResourceTypesW(spooler, &FindPpdType, (LONG_PTR)&ppd);
    ::FreeLibrary(spooler);
    if (ppd.text.empty()) return "no PostScript description in winspool.drv";

    WCHAR dir[MAX_PATH];
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, (LPBYTE)dir, sizeof dir, &needed))
        return Failed("GetPrinterDriverDirectory");
    ::CreateDirectoryW(dir, nullptr);
    std::wstring path = std::wstring(dir) + L"\\generic.ppd";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failed("writing generic.ppd");
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, ppd.text.data(), (DWORD)ppd.text.size(), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || written != ppd.text.size()) return Failed("writing generic.ppd");

    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(L"Wine PostScript Driver");
    driver.pEnvironment = const_cast<LPWSTR>(L"Windows x64");
    driver.pDriverPath = const_cast<LPWSTR>(L"wineps.drv");
    driver.pDataFile = const_cast<LPWSTR>(L"generic.ppd");
    driver.pConfigFile = const_cast<LPWSTR>(L"wineps.drv");
    if (!::AddPrinterDriverW(nullptr, 3, (LPBYTE)&driver)) return Failed("AddPrinterDriver");

    WCHAR wide[128];
    ::MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 128);
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = wide;
    printer.pPortName = const_cast<LPWSTR>(L"FILE:");
    printer.pDriverName = driver.pName;
    printer.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    printer.pDatatype = const_cast<LPWSTR>(L"RAW");
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE handle = ::AddPrinterW(nullptr, 2, (LPBYTE)&printer);
    if (!handle) return Failed("AddPrinter");
    ::ClosePrinter(handle);
    if (!::SetDefaultPrinterW(wide)) return Failed("SetDefaultPrinter");
    return std::string();
}

}  // namespace wprint
