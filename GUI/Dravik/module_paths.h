// Paths beside the program: the console finds its help file, settings file
// and device output files next to its module file. Pure functions over the
// module's full file name in Windows form (drive, "\" or "/" separators);
// ModuleFileName in win_module_paths.h gives that name for a module handle.
#pragma once

#include <string>

// The drive and folder of the module's file, with a trailing separator.
std::string ModulePathDir(const std::string& module_file);
// A path that names a drive (or a \\server\share) unchanged; any other path
// placed under the module's folder, keeping its own folder part.
std::string MakePathBesideModule(const std::string& path, const std::string& module_file);
// The module's file name with another extension ("xml" or ".xml"), in the
// module's folder.
std::string ModuleFilePath(const std::string& extension, const std::string& module_file);
