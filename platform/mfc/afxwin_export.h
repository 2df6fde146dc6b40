// Export marker for the window-side classes of the shared layer DLL.
#pragma once
#ifndef TRV_MFC_API
#define TRV_MFC_API
#endif
#ifndef AFXAPI
#define AFXAPI
#endif
