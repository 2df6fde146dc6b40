// Command-line parsing for the application.
#include "afxwin.h"

#include <cstdlib>

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL last)
{
    if (flag) {
        if (::lstrcmpiA(param, "pt") == 0) m_nShellCommand = FilePrintTo;
        else if (::lstrcmpiA(param, "p") == 0) m_nShellCommand = FilePrint;
        else if (::lstrcmpiA(param, "dde") == 0) m_nShellCommand = FileDDE;
        else if (::lstrcmpiA(param, "Embedding") == 0) m_bRunEmbedded = TRUE;
        else if (::lstrcmpiA(param, "Automation") == 0) m_bRunAutomated = TRUE;
        else if (::lstrcmpiA(param, "Register") == 0 || ::lstrcmpiA(param, "Regserver") == 0)
            m_nShellCommand = AppRegister;
        else if (::lstrcmpiA(param, "Unregister") == 0 || ::lstrcmpiA(param, "Unregserver") == 0)
            m_nShellCommand = AppUnregister;
        if (m_bRunEmbedded || m_bRunAutomated) m_bShowSplash = FALSE;
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.IsEmpty()) m_strPrinterName = param;
        else if (m_strDriverName.IsEmpty()) m_strDriverName = param;
        else if (m_strPortName.IsEmpty()) m_strPortName = param;
    }
    if (last && m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) m_nShellCommand = FileOpen;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    for (int i = 1; i < __argc; ++i) {
        const char* param = __argv[i];
        BOOL flag = param[0] == '-' || param[0] == '/';
        if (flag) ++param;
        info.ParseParam(param, flag, i == __argc - 1);
    }
}
