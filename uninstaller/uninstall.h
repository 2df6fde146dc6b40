// The agent uninstaller's sequence: after one confirmation it stops the SNMP
// service and the agent's service, has the agent's configuration tool
// unregister itself, deletes the agent's files and logs, starts the SNMP
// service again and hands over to the setup program's uninstall step.
//
// Nothing stops the sequence after the confirmation: each step's failure is
// logged by the system and passed over. Every program is started by a quoted
// full path, so a folder with blanks cannot make the system start a program
// named like the path's first words. Plain functions over an UninstallSystem
// (uninstall_system.h); single-threaded like the program.
#pragma once

#include <cstddef>
#include <string>

#include "uninstall_system.h"

namespace uninstall_text {
inline constexpr char kConfirmText[] =
    "Tarvane SNMP service and all Tarvane SNMP extensions will be uninstalled.  "
    "Would you like to continue?";
inline constexpr char kConfirmCaption[] = "Uninstall confirm";
inline constexpr char kAgentKey[] = "SOFTWARE\\Tarvane\\Agent";
inline constexpr char kInstallPathValue[] = "InstallPath";
inline constexpr std::size_t kInstallPathBufferSize = 512;
inline constexpr char kDefaultInstallFolder[] = "C:\\Program Files\\Tarvane";
inline constexpr char kConfigToolSuffix[] = "\\SNMP Service\\tarvsnmpcfg.exe";
inline constexpr char kFinalProgram[] = "Unwise.std";
// Deleted in this order, each below the install folder.
inline constexpr const char* kAgentFiles[] = {
    "\\Agents\\agent_hardware.log", "\\Agents\\agent_software.log",
    "\\Agents\\agent_summary.log",  "\\Agents\\agent_hardware.dll",
    "\\Agents\\agent_software.dll", "\\Agents\\tarvanesys.dll",
};
}  // namespace uninstall_text

// PATH in double quotes: the whole text names one program.
std::string quoted(const std::string& path);

// The agent's install folder from the registry when the value is a terminated,
// non-empty string (an expandable one expanded) naming a fully qualified
// folder; else the default folder. Reasons for the default are logged.
std::string read_install_path(UninstallSystem& system);

// The whole uninstall, from the confirmation on.
void run_uninstall(UninstallSystem& system);
