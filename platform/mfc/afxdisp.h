// Automation support: the OLE date type of the core, OLE data transfer and the COM
// support types of <comdef.h> (_variant_t, _bstr_t, _com_error). Their out-of-line
// helpers come from the layer's small static library trvmfc_comsupp, which every
// module using the layer links.
#pragma once
#include "afxwin.h"
#include "afxole.h"
#include <comdef.h>
