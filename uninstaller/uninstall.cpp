#include "uninstall.h"

#include <optional>

using namespace uninstall_text;

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool is_drive_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "X:\..." or "\\server\share...": every suffix then names a file below the
// folder itself, never one relative to the current folder or drive root.
bool is_fully_qualified(const std::string& path) {
  if (path.size() >= 3 && is_drive_letter(path[0]) && path[1] == ':' && is_separator(path[2]))
    return true;
  return path.size() > 2 && is_separator(path[0]) && is_separator(path[1]) &&
         !is_separator(path[2]);
}

const char* status_text(RegistryValue::Status status) {
  switch (status) {
    case RegistryValue::Status::read: return "read";
    case RegistryValue::Status::no_key: return "the key does not exist";
    case RegistryValue::Status::no_value: return "the value does not exist";
    case RegistryValue::Status::too_long: return "the value is too long";
    case RegistryValue::Status::failed: return "it cannot be read";
  }
  return "it cannot be read";
}

// The folder the value names, or why it names none.
std::optional<std::string> install_folder_of(UninstallSystem& system, const RegistryValue& value,
                                             std::string& why) {
  if (value.status != RegistryValue::Status::read) {
    why = status_text(value.status);
    if (value.status == RegistryValue::Status::failed)
      why += " (error " + std::to_string(value.error) + ")";
    return std::nullopt;
  }
  if (value.type != RegistryValue::Type::string && value.type != RegistryValue::Type::expand_string) {
    why = "the value is not a string";
    return std::nullopt;
  }
  const std::size_t end = value.data.find('\0');
  if (end == std::string::npos) {
    why = "the value is not terminated";
    return std::nullopt;
  }
  std::string folder = value.data.substr(0, end);
  if (value.type == RegistryValue::Type::expand_string) {
    std::optional<std::string> expanded = system.expand_environment(folder);
    if (!expanded) {
      why = "\"" + folder + "\" cannot be expanded";
      return std::nullopt;
    }
    folder = *expanded;
  }
  if (folder.empty()) {
    why = "the value is empty";
    return std::nullopt;
  }
  // A quote would end the quoted program path early.
  if (folder.find('"') != std::string::npos || !is_fully_qualified(folder)) {
    why = "\"" + folder + "\" is not a fully qualified folder";
    return std::nullopt;
  }
  return folder;
}

// "net" from the system folder: the plain name would be searched for in this
// program's and the current folder first.
void run_net(UninstallSystem& system, const std::string& arguments) {
  const std::string folder = system.system_folder();
  if (folder.empty()) {
    system.log("\"net " + arguments + "\" not run: the system folder is unknown");
    return;
  }
  system.run_command_line(quoted(folder + "\\net.exe") + " " + arguments, true);
}

// The setup program's uninstall step by full path from this program's folder,
// the place the system would look first; the usual search when it isn't there.
std::string final_program_command(UninstallSystem& system) {
  const std::string folder = system.program_folder();
  if (!folder.empty()) {
    const std::string path = folder + "\\" + kFinalProgram;
    if (system.file_exists(path)) return quoted(path);
  }
  return kFinalProgram;
}

}  // namespace

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

std::string read_install_path(UninstallSystem& system) {
  const RegistryValue value =
      system.read_machine_value(kAgentKey, kInstallPathValue, kInstallPathBufferSize);
  std::string why;
  if (std::optional<std::string> folder = install_folder_of(system, value, why)) return *folder;
  system.log(std::string("install folder \"") + kDefaultInstallFolder + "\" used: " + why);
  return kDefaultInstallFolder;
}

void run_uninstall(UninstallSystem& system) {
  if (!system.confirm(kConfirmText, kConfirmCaption)) return;
  run_net(system, "stop SNMP");
  run_net(system, "stop REZADARA");
  const std::string folder = read_install_path(system);
  system.run_command_line(quoted(folder + kConfigToolSuffix) + " -uninstall", true);
  for (const char* file : kAgentFiles) system.delete_file(folder + file);
  run_net(system, "start SNMP");
  system.run_command_line(final_program_command(system), false);
}
