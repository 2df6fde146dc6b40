// The uninstall sequence against a recording system: what is asked, run and
// deleted, in which order, and which install folder each registry value gives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "uninstall.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records every action (box, process, deletion) in order and answers the
// queries from its settings. The registry value honours the caller's buffer
// size the way the system does.
class RecordingSystem : public UninstallSystem {
 public:
  bool answer_yes = true;
  bool steps_fail = false;
  RegistryValue::Status registry_status = RegistryValue::Status::read;
  RegistryValue::Type registry_type = RegistryValue::Type::string;
  std::string registry_data;  // the stored bytes
  std::map<std::string, std::string> environment = {{"%ProgramFiles%", "C:\\Program Files"}};
  std::string program_dir = "C:\\Setup Files";
  std::string system_dir = "C:\\Windows\\system32";
  std::vector<std::string> existing_files = {"C:\\Setup Files\\Unwise.std"};

  std::vector<std::string> actions;
  std::vector<std::string> log_lines;
  int queries = 0;
  std::size_t registry_buffer = 0;

  void set_install_path(const std::string& text) { registry_data = text + '\0'; }

  bool confirm(const std::string& text, const std::string& caption) override {
    actions.push_back("box " + caption + ": " + text);
    return answer_yes;
  }
  int run_command_line(const std::string& command_line, bool wait) override {
    actions.push_back((wait ? "run and wait " : "start ") + command_line);
    return steps_fail ? 2 : 0;
  }
  bool delete_file(const std::string& path) override {
    actions.push_back("delete " + path);
    return !steps_fail;
  }
  RegistryValue read_machine_value(const std::string& key, const std::string& name,
                                   std::size_t max_bytes) override {
    ++queries;
    registry_buffer = max_bytes;
    EXPECT_EQ(key, "SOFTWARE\\Tarvane\\Agent");
    EXPECT_EQ(name, "InstallPath");
    RegistryValue value;
    value.status = registry_status;
    if (value.status != RegistryValue::Status::read) return value;
    if (registry_data.size() > max_bytes) {
      value.status = RegistryValue::Status::too_long;
      return value;
    }
    value.type = registry_type;
    value.data = registry_data;
    return value;
  }
  std::optional<std::string> expand_environment(const std::string& text) override {
    ++queries;
    std::string out = text;
    for (const auto& [name, replacement] : environment)
      for (std::size_t at; (at = out.find(name)) != std::string::npos;)
        out.replace(at, name.size(), replacement);
    if (out.find('%') != std::string::npos) return std::nullopt;
    return out;
  }
  std::string program_folder() override { ++queries; return program_dir; }
  std::string system_folder() override { ++queries; return system_dir; }
  bool file_exists(const std::string& path) override {
    ++queries;
    for (const std::string& f : existing_files)
      if (f == path) return true;
    return false;
  }
  void log(const std::string& line) override { log_lines.push_back(line); }
};

const std::string kBox =
    "box Uninstall confirm: Tarvane SNMP service and all Tarvane SNMP extensions will be "
    "uninstalled.  Would you like to continue?";
const std::string kNet = "\"C:\\Windows\\system32\\net.exe\" ";

// Every action of a run that got past the box, for install folder FOLDER.
std::vector<std::string> full_run(const std::string& folder, const std::string& final_command) {
  return {kBox,
          "run and wait " + kNet + "stop SNMP",
          "run and wait " + kNet + "stop REZADARA",
          "run and wait \"" + folder + "\\SNMP Service\\tarvsnmpcfg.exe\" -uninstall",
          "delete " + folder + "\\Agents\\agent_hardware.log",
          "delete " + folder + "\\Agents\\agent_software.log",
          "delete " + folder + "\\Agents\\agent_summary.log",
          "delete " + folder + "\\Agents\\agent_hardware.dll",
          "delete " + folder + "\\Agents\\agent_software.dll",
          "delete " + folder + "\\Agents\\tarvanesys.dll",
          "run and wait " + kNet + "start SNMP",
          "start " + final_command};
}

TEST(UninstallerTest, AnswerNoDoesNothingButAsk) {
  RecordingSystem system;
  system.set_install_path("D:\\Agent");
  system.answer_yes = false;
  run_uninstall(system);
  EXPECT_THAT(system.actions, ElementsAre(kBox));
  EXPECT_EQ(system.queries, 0);
}

// A folder with blanks: every program path is quoted, so no program named like
// its first words ("C:\Program.exe", "...\Tarvane.exe") can run instead.
TEST(UninstallerTest, YesRunsEveryStepInOrderWithQuotedPaths) {
  RecordingSystem system;
  system.set_install_path("C:\\Program Files\\Tarvane Agent");
  run_uninstall(system);
  EXPECT_EQ(system.actions,
            full_run("C:\\Program Files\\Tarvane Agent", "\"C:\\Setup Files\\Unwise.std\""));
  EXPECT_EQ(system.registry_buffer, 512u);
}

TEST(UninstallerTest, FailedStepsArePassedOver) {
  RecordingSystem system;
  system.set_install_path("D:\\Agent");
  system.steps_fail = true;
  run_uninstall(system);
  EXPECT_EQ(system.actions, full_run("D:\\Agent", "\"C:\\Setup Files\\Unwise.std\""));
}

// Without the setup program beside the uninstaller, the system's own search
// for "Unwise.std" applies.
TEST(UninstallerTest, FinalProgramByNameWhenNotInProgramFolder) {
  for (const bool folder_known : {true, false}) {
    RecordingSystem system;
    system.set_install_path("D:\\Agent");
    if (folder_known)
      system.existing_files.clear();
    else
      system.program_dir.clear();
    run_uninstall(system);
    ASSERT_FALSE(system.actions.empty());
    EXPECT_EQ(system.actions.back(), "start Unwise.std") << folder_known;
  }
}

// "net" is never looked for in the program's or the current folder.
TEST(UninstallerTest, NetNotRunWithoutSystemFolder) {
  RecordingSystem system;
  system.set_install_path("D:\\Agent");
  system.system_dir.clear();
  run_uninstall(system);
  std::vector<std::string> expected = full_run("D:\\Agent", "\"C:\\Setup Files\\Unwise.std\"");
  std::erase_if(expected, [](const std::string& a) { return a.find("net.exe") != std::string::npos; });
  EXPECT_EQ(system.actions, expected);
  EXPECT_EQ(system.log_lines.size(), 3u);
}

TEST(UninstallerTest, DefaultFolderUsedByEveryStep) {
  RecordingSystem system;
  system.registry_status = RegistryValue::Status::no_key;
  run_uninstall(system);
  EXPECT_EQ(system.actions,
            full_run("C:\\Program Files\\Tarvane", "\"C:\\Setup Files\\Unwise.std\""));
}

struct PathCase {
  const char* name;
  RegistryValue::Status status;
  RegistryValue::Type type;
  std::string stored;  // the value's bytes
  std::string folder;  // the folder read_install_path gives
};

const std::string kDefault = "C:\\Program Files\\Tarvane";
const std::string z(1, '\0');

std::vector<PathCase> path_cases() {
  using S = RegistryValue::Status;
  using T = RegistryValue::Type;
  return {
      {"plain string", S::read, T::string, "D:\\Tarvane Agent" + z, "D:\\Tarvane Agent"},
      {"text ends at the first zero", S::read, T::string, "D:\\A" + z + "junk" + z, "D:\\A"},
      {"network folder", S::read, T::string, "\\\\srv\\share\\Tarvane" + z, "\\\\srv\\share\\Tarvane"},
      {"expandable string", S::read, T::expand_string, "%ProgramFiles%\\Tarvane Agent" + z,
       "C:\\Program Files\\Tarvane Agent"},
      {"exactly fills the buffer", S::read, T::string, "D:\\" + std::string(508, 'a') + z,
       "D:\\" + std::string(508, 'a')},
      {"missing key", S::no_key, T::string, "", kDefault},
      {"missing value", S::no_value, T::string, "", kDefault},
      {"read failure", S::failed, T::string, "", kDefault},
      {"too long", S::read, T::string, "D:\\" + std::string(509, 'a') + z, kDefault},
      {"wrong type", S::read, T::other, "D:\\Agent" + z, kDefault},
      {"empty", S::read, T::string, z, kDefault},
      {"no bytes at all", S::read, T::string, "", kDefault},
      {"not terminated", S::read, T::string, "D:\\Agent", kDefault},
      {"expands to nothing", S::read, T::expand_string, "%EMPTY%" + z, kDefault},
      {"cannot be expanded", S::read, T::expand_string, "%UNKNOWN%\\Tarvane" + z, kDefault},
      {"relative to the current folder", S::read, T::string, "Tarvane" + z, kDefault},
      {"relative to the drive root", S::read, T::string, "\\Tarvane" + z, kDefault},
      {"relative to a drive's current folder", S::read, T::string, "C:Tarvane" + z, kDefault},
      {"holds a quote", S::read, T::string, "C:\\x\" & C:\\evil" + z, kDefault},
  };
}

TEST(UninstallerTest, InstallPathOrDefaultFolder) {
  for (const PathCase& c : path_cases()) {
    RecordingSystem system;
    system.environment["%EMPTY%"] = "";
    system.registry_status = c.status;
    system.registry_type = c.type;
    system.registry_data = c.stored;
    EXPECT_EQ(read_install_path(system), c.folder) << c.name;
    // Taking the default is logged with its reason; a good value is not.
    EXPECT_EQ(system.log_lines.size(), c.folder == kDefault ? 1u : 0u) << c.name;
    EXPECT_THAT(system.actions, IsEmpty()) << c.name;
  }
}

}  // namespace
