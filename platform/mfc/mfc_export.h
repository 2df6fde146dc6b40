// Export macro of the shared class-layer DLL. The DLL is built with
// TRVMFC_BUILD defined and exports its classes and data; every other module
// (the toolkit DLL, the console, tests) imports them, so runtime classes,
// module state and handle maps exist once per process.
#pragma once

#if defined(TRVMFC_BUILD)
#define TRVMFC_API __declspec(dllexport)
#else
#define TRVMFC_API __declspec(dllimport)
#endif
