// Export macro of the GUI library DLL (Wendrel.dll). The library's own sources
// are compiled with WENDREL_BUILD (set by its CMake target) and export; the
// console and the tests import.
//
// Mark exported classes "class WENDREL_API CName", exported functions and
// data "WENDREL_API".
#pragma once

#if defined(WENDREL_BUILD)
#define WENDREL_API __declspec(dllexport)
#else
#define WENDREL_API __declspec(dllimport)
#endif
