// Export macro of the class layer DLL (trvmfc.dll). The layer is one DLL per
// process so that runtime classes, handle maps and module and thread state
// exist once for the console and every toolkit DLL. The DLL's own sources are
// compiled with TRVMFC_BUILD (set by its CMake target) and export; every other
// module imports.
//
// Mark exported classes "class TRVMFC_API CName", exported functions and data
// "TRVMFC_API".
#pragma once

#if defined(TRVMFC_BUILD)
#define TRVMFC_API __declspec(dllexport)
#else
#define TRVMFC_API __declspec(dllimport)
#endif
