// The uninstaller's operating system on Windows: MessageBoxA, CreateProcessA,
// DeleteFileA and the registry's 32-bit view, where the agent's 32-bit
// installer wrote its key (this program is built 64-bit).
//
// Each failure is logged once, where it happens, with the system's error code,
// through OutputDebugStringA (the program shows no messages but the
// confirmation). One thread, like the program.
#pragma once

#include "uninstall_system.h"

class Win32UninstallSystem : public UninstallSystem {
 public:
  bool confirm(const std::string& text, const std::string& caption) override;
  int run_command_line(const std::string& command_line, bool wait) override;
  bool delete_file(const std::string& path) override;
  RegistryValue read_machine_value(const std::string& key, const std::string& name,
                                   std::size_t max_bytes) override;
  std::optional<std::string> expand_environment(const std::string& text) override;
  std::string program_folder() override;
  std::string system_folder() override;
  bool file_exists(const std::string& path) override;
  void log(const std::string& line) override;
};
