// The full file name of a loaded module (null: the program), for the path
// helpers of module_paths.h. Any thread.
#pragma once

#include <string>
#include <windows.h>

std::string ModuleFileName(HMODULE module);
