// The uninstaller's install folder read through the real registry under Wine:
// the 32-bit view only, the 512-byte buffer, string types, expansion, and the
// default folder for everything else.
#include <windows.h>

#include <functional>
#include <string>

#include "uninstall.h"
#include "wtest.h"
#include "win32_system.h"

namespace {

const char kKey[] = "SOFTWARE\\Tarvane\\Agent";
const std::string kDefault = "C:\\Program Files\\Tarvane";

void remove_agent_key() {
  for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    const LONG rc = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, view, 0);
    WCHECK(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND);
  }
}

// Sets the agent's value in registry view VIEW (KEY_WOW64_32KEY: where a
// 32-bit installer writes on a 64-bit system).
void set_value(REGSAM view, DWORD type, const std::string& bytes, const char* name = "InstallPath") {
  HKEY key = nullptr;
  WCHECK_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  WCHECK_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::string text(const std::string& s) { return s + '\0'; }

struct Case {
  const char* name;
  std::function<void()> setup;
  RegistryValue::Status status;
  std::string folder;
};

WTEST(install_folder_from_the_32_bit_view) {
  const std::string fits = "C:\\" + std::string(508, 'a');  // 511 bytes and the zero
  const Case cases[] = {
      {"string", [] { set_value(KEY_WOW64_32KEY, REG_SZ, text("C:\\tarv test")); },
       RegistryValue::Status::read, "C:\\tarv test"},
      {"expandable string",
       [] { set_value(KEY_WOW64_32KEY, REG_EXPAND_SZ, text("%SystemDrive%\\tarv test")); },
       RegistryValue::Status::read, "C:\\tarv test"},
      {"fills the buffer", [&] { set_value(KEY_WOW64_32KEY, REG_SZ, text(fits)); },
       RegistryValue::Status::read, fits},
      {"too long", [&] { set_value(KEY_WOW64_32KEY, REG_SZ, text(fits + "a")); },
       RegistryValue::Status::too_long, kDefault},
      {"number", [] { set_value(KEY_WOW64_32KEY, REG_DWORD, std::string(4, '\1')); },
       RegistryValue::Status::read, kDefault},
      {"empty", [] { set_value(KEY_WOW64_32KEY, REG_SZ, text("")); },
       RegistryValue::Status::read, kDefault},
      {"missing value", [] { set_value(KEY_WOW64_32KEY, REG_SZ, text("C:\\x"), "Other"); },
       RegistryValue::Status::no_value, kDefault},
      {"missing key", [] {}, RegistryValue::Status::no_key, kDefault},
      {"64-bit view only", [] { set_value(KEY_WOW64_64KEY, REG_SZ, text("C:\\tarv test")); },
       RegistryValue::Status::no_key, kDefault},
  };
  Win32UninstallSystem system;
  for (const Case& c : cases) {
    remove_agent_key();
    c.setup();
    const RegistryValue value = system.read_machine_value(kKey, "InstallPath", 512);
    if (value.status != c.status) wtest::fail(__FILE__, __LINE__, std::string(c.name) + ": status");
    const std::string folder = read_install_path(system);
    if (folder != c.folder)
      wtest::fail(__FILE__, __LINE__, std::string(c.name) + ": " + folder + " != " + c.folder);
  }
  remove_agent_key();
}

}  // namespace
