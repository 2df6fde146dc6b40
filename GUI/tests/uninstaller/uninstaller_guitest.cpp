// The uninstaller program under Wine, run the way an administrator runs it:
// the agent's install folder (with a blank) in the registry's 32-bit view, the
// agent's six files, stand-ins for the configuration tool and "Unwise.std"
// that record how they were started (uninstall_stub.cpp), and the same
// stand-in planted where the first words of an unquoted path would lead. The
// confirmation box is answered as a user does, with its Yes or No button,
// from this program's main thread. The uninstaller runs in a job (to wait for
// everything it started) as the debuggee of a second thread, which reads its
// log (its debug output).
//
// The prefix has no "SNMP" or "REZADARA" service, so every "net" command the
// uninstaller runs fails; the run shows that the sequence goes on.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <future>
#include <thread>
#include <stdexcept>
#include <string>
#include <vector>

#include "wtest.h"

namespace {

const std::string kInstall = "C:\\tarv test";    // the agent's install folder
const std::string kSetup = "C:\\tarv setup";     // the uninstaller with "Unwise.std"
const std::string kStubLog = "C:\\stub-calls.log";
// What a misread "C:\tarv test\SNMP Service\..." or "C:\tarv setup\..." would start.
const std::vector<std::string> kPlanted = {"C:\\tarv.exe", kInstall + "\\SNMP.exe"};
const std::vector<std::string> kAgentFiles = {
    "agent_hardware.log", "agent_software.log", "agent_summary.log",
    "agent_hardware.dll", "agent_software.dll", "tarvanesys.dll"};
const char kConfirmText[] =
    "Tarvane SNMP service and all Tarvane SNMP extensions will be uninstalled.  "
    "Would you like to continue?";
// The box's icon control (a static without text).
const int kIconControl = 1088;
const DWORD kDeadlineMs = 120000;  // only a hung run waits this long

void must(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what + ": error " + std::to_string(GetLastError()));
}

std::string test_folder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  must(length > 0 && length < MAX_PATH, "GetModuleFileNameA");
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_file(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

void write_file(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  must(file != INVALID_HANDLE_VALUE, "create " + path);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  must(ok && written == text.size(), "write " + path);
}

void make_folder(const std::string& path) {
  must(CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS,
       "create folder " + path);
}

void copy(const std::string& from, const std::string& to) {
  must(CopyFileA(from.c_str(), to.c_str(), FALSE), "copy " + from + " to " + to);
}

// Polls until DONE holds or the deadline passes; true when it held.
template <class Done>
bool wait_until(Done done) {
  const ULONGLONG end = GetTickCount64() + kDeadlineMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
  return true;
}

// The host as the agent's installer left it, and the uninstaller beside a
// stand-in "Unwise.std" in a folder of its own.
void prepare_host() {
  const std::string here = test_folder();
  const std::string stub = here + "\\uninstall_stub.exe";
  make_folder(kInstall);
  make_folder(kInstall + "\\Agents");
  make_folder(kInstall + "\\SNMP Service");
  make_folder(kSetup);
  for (const std::string& name : kAgentFiles) write_file(kInstall + "\\Agents\\" + name, name);
  write_file(kInstall + "\\Agents\\keep.txt", "not the agent's");
  copy(stub, kInstall + "\\SNMP Service\\tarvsnmpcfg.exe");
  copy(stub, kSetup + "\\Unwise.std");
  for (const std::string& path : kPlanted) copy(stub, path);
  copy(here + "\\trvuninstall.exe", kSetup + "\\trvuninstall.exe");

  // Where the agent's 32-bit installer wrote its key on a 64-bit system.
  HKEY key = nullptr;
  must(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvane\\Agent", 0, nullptr, 0,
                       KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) == ERROR_SUCCESS,
       "create the agent's key");
  const LONG rc = RegSetValueExA(key, "InstallPath", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(kInstall.c_str()),
                                 static_cast<DWORD>(kInstall.size() + 1));
  RegCloseKey(key);
  must(rc == ERROR_SUCCESS, "set InstallPath");

  DeleteFileA(kStubLog.c_str());
  // Wine starts its desktop process for the first process that asks for the
  // desktop: that must be this one, not the uninstaller in its job.
  must(GetDesktopWindow() != nullptr, "GetDesktopWindow");
  must(SetEnvironmentVariableA("TRV_STUB_LOG", kStubLog.c_str()), "set TRV_STUB_LOG");
}

struct ChildWindow {
  int id;
  std::string cls;
  std::string text;
  bool visible;
};

struct Outcome {
  bool box_seen = false;
  std::string box_text;          // the box's message
  std::vector<int> buttons;      // ids of its visible buttons, ascending
  std::string icon;              // the system icon it shows
  DWORD exit_code = STILL_ACTIVE;
  DWORD processes = 0;           // every process the run started, the uninstaller's own included
  std::vector<std::string> log;  // the uninstaller's debug output, one line each
  std::string diagnostics;
};

BOOL CALLBACK collect_child(HWND window, LPARAM param) {
  char cls[64] = {};
  char text[512] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, text, sizeof text);
  reinterpret_cast<std::vector<ChildWindow>*>(param)->push_back(
      {GetDlgCtrlID(window), cls, text, IsWindowVisible(window) != FALSE});
  return TRUE;
}

// 32-bit pixels of a WIDTH x HEIGHT area painted by PAINT into a memory DC.
template <class Paint>
std::vector<DWORD> pixels(int width, int height, Paint paint) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  paint(dc, screen);
  GdiFlush();
  std::vector<DWORD> out(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
  for (DWORD& p : out) p &= 0xffffff;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

// True when the icon control ICON shows the system icon NAME: its pixels on
// the screen are the icon drawn over the control's background.
bool shows_icon(HWND icon, LPCSTR name) {
  RECT r;
  GetWindowRect(icon, &r);
  const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
  const std::vector<DWORD> shown = pixels(width, height, [&](HDC dc, HDC screen) {
    BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  });
  const std::vector<DWORD> expected = pixels(width, height, [&](HDC dc, HDC) {
    const DWORD background = shown[0];
    HBRUSH brush = CreateSolidBrush(RGB(background >> 16 & 0xff, background >> 8 & 0xff, background & 0xff));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, LoadIconA(nullptr, name), width, height, 0, nullptr, DI_NORMAL);
  });
  return shown == expected;
}

// Which of the message box icons ICON shows once the box is on the screen
// (it may be mapped, moved and painted after it became visible).
std::string shown_icon(HWND icon) {
  const std::pair<const char*, LPCSTR> icons[] = {{"information", IDI_INFORMATION},
                                                  {"question", IDI_QUESTION},
                                                  {"warning", IDI_WARNING},
                                                  {"error", IDI_ERROR}};
  std::string shown;
  wait_until([&] {
    for (const auto& [what, name] : icons)
      if (shows_icon(icon, name)) shown = what;
    return !shown.empty();
  });
  return shown;
}

struct BoxSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK find_box(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  if (owner == search->process_id && IsWindowVisible(window) &&
      std::string(title) == "Uninstall confirm") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Starts the uninstaller from its folder in JOB as this thread's debuggee and
// collects its debug output (its log) until it ends. PROCESS gets the started
// process (its handles stay open), or nothing when it could not start, and
// LOG then says why.
void debug_uninstaller(HANDLE job, std::promise<PROCESS_INFORMATION>& process,
                       std::vector<std::string>& log) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::string command = "\"" + kSetup + "\\trvuninstall.exe\"";
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED | DEBUG_ONLY_THIS_PROCESS, nullptr, "C:\\", &startup,
                      &started) ||
      !AssignProcessToJobObject(job, started.hProcess)) {
    log.push_back("cannot start the uninstaller: error " + std::to_string(GetLastError()));
    process.set_value(PROCESS_INFORMATION{});
    return;
  }
  process.set_value(started);
  ResumeThread(started.hThread);
  bool first_breakpoint = true;
  for (;;) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, INFINITE)) return;
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case OUTPUT_DEBUG_STRING_EVENT: {
        const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
        std::string line(info.nDebugStringLength, '\0');
        SIZE_T got = 0;
        if (!info.fUnicode && ReadProcessMemory(started.hProcess, info.lpDebugStringData, line.data(),
                                                line.size(), &got)) {
          line.resize(std::min<std::size_t>(got, line.find('\0')));
          while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
          log.push_back(line);
        }
        break;
      }
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXCEPTION_DEBUG_EVENT:
        if (event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT && first_breakpoint)
          first_breakpoint = false;
        else
          status = DBG_EXCEPTION_NOT_HANDLED;
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return;
  }
}

// Runs the uninstaller, answers its box with BUTTON and waits until it and
// everything it started have ended.
Outcome run_uninstaller(int button) {
  Outcome outcome;
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  must(job != nullptr, "CreateJobObjectA");
  std::promise<PROCESS_INFORMATION> started;
  std::thread debugger(debug_uninstaller, job, std::ref(started), std::ref(outcome.log));
  const PROCESS_INFORMATION process = started.get_future().get();
  if (!process.hProcess) wtest::fail(__FILE__, __LINE__, outcome.log.front());
  if (process.hProcess) {
    BoxSearch search{process.dwProcessId, nullptr};
    wait_until([&] {
      EnumWindows(find_box, reinterpret_cast<LPARAM>(&search));
      return search.found || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    });
    if (search.found) {
      outcome.box_seen = true;
      std::vector<ChildWindow> children;
      EnumChildWindows(search.found, collect_child, reinterpret_cast<LPARAM>(&children));
      for (const ChildWindow& c : children) {
        outcome.diagnostics += std::to_string(c.id) + " " + c.cls + " \"" + c.text + "\"" +
                               (c.visible ? "" : " hidden") + "; ";
        if (!c.visible) continue;
        if (_stricmp(c.cls.c_str(), "Button") == 0) outcome.buttons.push_back(c.id);
        else if (_stricmp(c.cls.c_str(), "Static") == 0 && !c.text.empty()) outcome.box_text = c.text;
      }
      std::sort(outcome.buttons.begin(), outcome.buttons.end());
      HWND icon = GetDlgItem(search.found, kIconControl);
      if (icon && IsWindowVisible(icon)) outcome.icon = shown_icon(icon);
      PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
    }
  }
  debugger.join();
  if (process.hProcess) {
    GetExitCodeProcess(process.hProcess, &outcome.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
  wait_until([&] {
    return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                     sizeof accounting, nullptr) &&
           accounting.ActiveProcesses == 0;
  });
  outcome.processes = accounting.TotalProcesses;
  CloseHandle(job);
  return outcome;
}

void check_box(const Outcome& outcome) {
  WCHECK(outcome.box_seen);
  WCHECK_EQ(outcome.box_text, std::string(kConfirmText));
  WCHECK(outcome.buttons == std::vector<int>({IDYES, IDNO}));
  WCHECK_EQ(outcome.icon, std::string("information"));
  if (!outcome.box_seen || outcome.buttons != std::vector<int>({IDYES, IDNO}))
    wtest::fail(__FILE__, __LINE__, "the box's windows: " + outcome.diagnostics);
}

bool service_exists(const char* name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  must(manager != nullptr, "OpenSCManagerA");
  SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
  const DWORD error = GetLastError();
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  must(service || error == ERROR_SERVICE_DOES_NOT_EXIST, std::string("OpenServiceA ") + name);
  return service != nullptr;
}

WTEST(answer_no_leaves_the_host_untouched) {
  prepare_host();
  const Outcome outcome = run_uninstaller(IDNO);
  check_box(outcome);
  WCHECK_EQ(outcome.exit_code, DWORD{0});
  WCHECK_EQ(outcome.processes, DWORD{1});
  WCHECK(outcome.log.empty());
  for (const std::string& name : kAgentFiles) WCHECK(exists(kInstall + "\\Agents\\" + name));
  WCHECK_EQ(read_file(kStubLog), std::string());
}

WTEST(answer_yes_uninstalls_the_agent) {
  // Every "net" command fails here: the services do not exist.
  WCHECK(!service_exists("SNMP"));
  WCHECK(!service_exists("REZADARA"));
  prepare_host();
  const Outcome outcome = run_uninstaller(IDYES);
  check_box(outcome);
  WCHECK_EQ(outcome.exit_code, DWORD{0});
  // Each "net" command ran from the system folder, failed, and was passed over.
  const std::string net = "trvuninstall: \"C:\\windows\\system32\\net.exe\" ";
  const std::vector<std::string> net_runs = {"stop SNMP", "stop REZADARA", "start SNMP"};
  WCHECK_EQ(outcome.log.size(), net_runs.size());
  for (std::size_t i = 0; i < net_runs.size() && i < outcome.log.size(); ++i) {
    const std::string& line = outcome.log[i];
    const std::string ended = net + net_runs[i] + " ended with exit code ";
    if (line.rfind(ended, 0) != 0 || line.substr(ended.size()) == "0")
      wtest::fail(__FILE__, __LINE__, "log line " + std::to_string(i) + ": " + line);
  }
  for (const std::string& name : kAgentFiles) WCHECK(!exists(kInstall + "\\Agents\\" + name));
  // What the list does not name stays.
  WCHECK(exists(kInstall + "\\Agents\\keep.txt"));
  WCHECK(exists(kInstall + "\\SNMP Service\\tarvsnmpcfg.exe"));
  // The configuration tool saw "-uninstall", the setup program's step ran
  // last by its full path, and no planted program ran.
  WCHECK_EQ(read_file(kStubLog),
            "tarvsnmpcfg.exe | \"" + kInstall + "\\SNMP Service\\tarvsnmpcfg.exe\" -uninstall\n" +
                "Unwise.std | \"" + kSetup + "\\Unwise.std\"\n");
}

}  // namespace
