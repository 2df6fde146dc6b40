#include "win_module_paths.h"

#include <vector>

std::string ModuleFileName(HMODULE module)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}
