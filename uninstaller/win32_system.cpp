#include "win32_system.h"

#include <windows.h>

#include <vector>

namespace {

std::string error_text(DWORD error) { return "error " + std::to_string(error); }

}  // namespace

bool Win32UninstallSystem::confirm(const std::string& text, const std::string& caption) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

int Win32UninstallSystem::run_command_line(const std::string& command_line, bool wait) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_MINIMIZE;
  PROCESS_INFORMATION process{};
  // CreateProcessA may write into the command line.
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &process)) {
    const DWORD error = GetLastError();
    log("cannot start " + command_line + ": " + error_text(error));
    return static_cast<int>(error);
  }
  if (wait) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exit_code = 0;
    if (GetExitCodeProcess(process.hProcess, &exit_code) && exit_code != 0)
      log(command_line + " ended with exit code " + std::to_string(exit_code));
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(GetLastError());
}

bool Win32UninstallSystem::delete_file(const std::string& path) {
  if (DeleteFileA(path.c_str())) return true;
  log("cannot delete " + path + ": " + error_text(GetLastError()));
  return false;
}

RegistryValue Win32UninstallSystem::read_machine_value(const std::string& key,
                                                       const std::string& name,
                                                       std::size_t max_bytes) {
  RegistryValue value;
  HKEY handle = nullptr;
  LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &handle);
  if (rc != ERROR_SUCCESS) {
    value.status = rc == ERROR_FILE_NOT_FOUND ? RegistryValue::Status::no_key
                                              : RegistryValue::Status::failed;
    value.error = rc;
    return value;
  }
  std::vector<BYTE> buffer(max_bytes);
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(buffer.size());
  rc = RegQueryValueExA(handle, name.c_str(), nullptr, &type, buffer.data(), &size);
  RegCloseKey(handle);
  value.error = rc;
  if (rc == ERROR_FILE_NOT_FOUND) {
    value.status = RegistryValue::Status::no_value;
  } else if (rc == ERROR_MORE_DATA) {
    value.status = RegistryValue::Status::too_long;
  } else if (rc != ERROR_SUCCESS) {
    value.status = RegistryValue::Status::failed;
  } else {
    value.status = RegistryValue::Status::read;
    value.type = type == REG_SZ          ? RegistryValue::Type::string
                 : type == REG_EXPAND_SZ ? RegistryValue::Type::expand_string
                                         : RegistryValue::Type::other;
    value.data.assign(reinterpret_cast<const char*>(buffer.data()),
                      size < buffer.size() ? size : buffer.size());
  }
  return value;
}

std::optional<std::string> Win32UninstallSystem::expand_environment(const std::string& text) {
  std::vector<char> buffer(text.size() + 1);
  for (;;) {
    const DWORD needed =
        ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) {
      log("cannot expand " + text + ": " + error_text(GetLastError()));
      return std::nullopt;
    }
    if (needed <= buffer.size()) return std::string(buffer.data());
    buffer.resize(needed);
  }
}

std::string Win32UninstallSystem::program_folder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      log("cannot find this program's folder: " + error_text(GetLastError()));
      return {};
    }
    if (length < buffer.size()) {
      const std::string path(buffer.data(), length);
      const std::size_t slash = path.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32UninstallSystem::system_folder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const UINT length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) {
      log("cannot find the system folder: " + error_text(GetLastError()));
      return {};
    }
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);
  }
}

bool Win32UninstallSystem::file_exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32UninstallSystem::log(const std::string& line) {
  OutputDebugStringA(("trvuninstall: " + line + "\n").c_str());
}
