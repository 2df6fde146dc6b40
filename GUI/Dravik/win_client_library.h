// The client library as Windows loads it: "TrvClient" by module name (no
// path, no extension), once per process, never unloaded; each export looked
// up by name when it is asked for. Any thread.
#pragma once

#include "link_interfaces.h"

#include <windows.h>

class Win32ClientLibrary : public IClientLibrary {
public:
    Win32ClientLibrary();
    bool Loaded() const override { return module_ != nullptr; }
    void* Export(const char* name) override;

private:
    HMODULE module_;
};
