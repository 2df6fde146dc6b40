// The program's command line as the application reads it: ParseCommandLine hands each
// argument to ParseParam, which fills the shell command and its file and printer.
// Plain data; one object per parse, on any thread.
#pragma once
#include "afx.h"

class TRVMFC_API CCommandLineInfo : public CObject {
public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    // One argument; flag: it began with '-' or '/' (param is without the mark); last:
    // no argument follows. Flags (any case): "p" prints the file, "pt" prints it to
    // the printer, driver and port that follow, "dde", "Embedding" and "Automation"
    // (no splash), "Register"/"Regserver", "Unregister"/"Unregserver". The first other
    // argument is the file, which makes File New a File Open.
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);
};
