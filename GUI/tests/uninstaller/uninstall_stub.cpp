// A stand-in for the programs the uninstaller starts (the agent's
// configuration tool, the setup program's "Unwise.std") and for programs
// planted where a path with blanks could be misread. It appends one line, its
// own file name, " | " and its command line exactly as it was started, to the
// file TRV_STUB_LOG names, and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
  const char* log = std::getenv("TRV_STUB_LOG");
  if (!log || !*log) return 2;
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 3;
  std::string line(path, length);
  line.erase(0, line.find_last_of('\\') + 1);
  line += std::string(" | ") + GetCommandLineA() + "\n";
  FILE* f = std::fopen(log, "ab");
  if (!f) return 4;
  const bool written = std::fwrite(line.data(), 1, line.size(), f) == line.size();
  return std::fclose(f) == 0 && written ? 0 : 5;
}
