#include "module_paths.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool NamesDrive(const std::string& path)
{
    const bool letter = path.size() >= 2 && path[1] == ':' &&
                        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const bool unc = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return letter || unc;
}

std::size_t FileNameStart(const std::string& path)
{
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1]) && !(i == 2 && path[1] == ':'))
        --i;
    return i;
}

}  // namespace

std::string ModulePathDir(const std::string& module_file)
{
    std::string dir = module_file.substr(0, FileNameStart(module_file));
    if (dir.empty() || !(IsSeparator(dir.back()) || dir.back() == ':'))
        dir += '\\';
    return dir;
}

std::string MakePathBesideModule(const std::string& path, const std::string& module_file)
{
    if (NamesDrive(path))
        return path;
    std::size_t start = 0;
    while (start < path.size() && IsSeparator(path[start]))
        ++start;
    return ModulePathDir(module_file) + path.substr(start);
}

std::string ModuleFilePath(const std::string& extension, const std::string& module_file)
{
    const std::size_t name_start = FileNameStart(module_file);
    std::string name = module_file.substr(name_start);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    std::string ext = extension;
    if (!ext.empty() && ext[0] != '.')
        ext.insert(0, ".");
    return ModulePathDir(module_file) + name + ext;
}
