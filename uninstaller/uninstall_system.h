// What the agent uninstaller asks of the operating system: one message box,
// starting programs, deleting files, one registry value and a few folder
// look-ups. The uninstall sequence (uninstall.h) is written against this
// interface only, so it builds and is tested natively; the Windows program
// passes the Win32 implementation (win32_system.h).
//
// The caller owns the object; the uninstaller has a single thread, and an
// implementation need not be callable from more than one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// One registry value as read: its type and raw bytes, or why it wasn't read.
struct RegistryValue {
  enum class Status { read, no_key, no_value, too_long, failed };
  enum class Type { string, expand_string, other };

  Status status = Status::failed;
  Type type = Type::other;
  // The bytes read (status read only), terminating zero included when the
  // value holds one.
  std::string data;
  // The system's error code when status is failed.
  long error = 0;
};

class UninstallSystem {
 public:
  virtual ~UninstallSystem() = default;

  // Asks TEXT under CAPTION in a box without owner, with the information icon
  // and the buttons Yes and No. True only when the answer is Yes.
  virtual bool confirm(const std::string& text, const std::string& caption) = 0;

  // Starts one process with COMMAND_LINE as its whole command line (no separate
  // program name), minimised in a console of its own; when WAIT, waits for it
  // to end. Returns the system's last error code after these steps.
  virtual int run_command_line(const std::string& command_line, bool wait) = 0;

  // Deletes one file; false when it could not be deleted.
  virtual bool delete_file(const std::string& path) = 0;

  // Reads value NAME of KEY under HKEY_LOCAL_MACHINE, in the registry view the
  // agent's installer wrote, into a buffer of MAX_BYTES bytes: a value that
  // does not fit gives Status::too_long.
  virtual RegistryValue read_machine_value(const std::string& key, const std::string& name,
                                           std::size_t max_bytes) = 0;

  // TEXT with its %VARIABLE% references replaced; nothing when that fails.
  virtual std::optional<std::string> expand_environment(const std::string& text) = 0;

  // The folder holding this program and the system folder (where "net.exe"
  // is), without a trailing separator; empty when unknown.
  virtual std::string program_folder() = 0;
  virtual std::string system_folder() = 0;

  // True when PATH names an existing file (not a folder).
  virtual bool file_exists(const std::string& path) = 0;

  // Records one line for whoever traces the program (never shown to the user).
  virtual void log(const std::string& line) = 0;
};
