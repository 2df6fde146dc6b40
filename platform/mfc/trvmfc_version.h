// Version of the class layer DLL. Programs compare the version they were
// built against (TRVMFC_VERSION) with the one the loaded trvmfc.dll reports,
// which finds a stale DLL beside a program. Any thread may call.
#pragma once

#include "mfc_export.h"

// The framework version the layer follows (7.1), in the usual 0xMMmm form.
#define TRVMFC_VERSION 0x0710

// The version the loaded DLL was built with.
extern "C" TRVMFC_API unsigned TrvMfcVersion();

// The same number as exported data: one object per process, whichever module
// reads it.
extern "C" TRVMFC_API const unsigned TrvMfcVersionData;
