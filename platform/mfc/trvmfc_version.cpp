#include "trvmfc_version.h"

extern "C" TRVMFC_API const unsigned TrvMfcVersionData = TRVMFC_VERSION;

extern "C" unsigned TrvMfcVersion() { return TrvMfcVersionData; }
