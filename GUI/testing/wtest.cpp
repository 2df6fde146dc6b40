// Registry, runner and main() of the Windows test framework (wtest.h).
#include "wtest.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>

namespace wtest {
namespace {

struct Test {
  const char* name;
  TestFn fn;
};

// Filled by static initialisers before main(); read only by run_all.
std::vector<Test>& registry() {
  static std::vector<Test> tests;
  return tests;
}

std::vector<std::string>& arg_list() {
  static std::vector<std::string> list;
  return list;
}

// Failures of the running test.
std::vector<std::string>* g_failures = nullptr;

}  // namespace

int add(const char* name, TestFn fn) {
  registry().push_back({name, fn});
  return 0;
}

void fail(const char* file, int line, const std::string& what) {
  std::string where = file;
  std::size_t slash = where.find_last_of("/\\");
  if (slash != std::string::npos) where.erase(0, slash + 1);
  std::string text = where + ":" + std::to_string(line) + ": " + what;
  if (g_failures)
    g_failures->push_back(text);
  else
    std::fprintf(stderr, "check outside a test: %s\n", text.c_str());
}

const std::vector<std::string>& args() { return arg_list(); }

bool has_arg(const std::string& arg) {
  for (const auto& a : arg_list())
    if (a == arg) return true;
  return false;
}

int run_all(int argc, char** argv) {
  // Plain "\n" line ends in the log ctest keeps.
  _setmode(_fileno(stdout), _O_BINARY);
  for (int i = 1; i < argc; ++i) arg_list().push_back(argv[i]);

  int passed = 0, failed = 0;
  for (const Test& t : registry()) {
    std::vector<std::string> failures;
    g_failures = &failures;
    try {
      t.fn();
    } catch (const std::exception& e) {
      failures.push_back(std::string("threw std::exception: ") + e.what());
    } catch (...) {
      failures.push_back("threw an exception");
    }
    g_failures = nullptr;
    if (failures.empty()) {
      ++passed;
      std::printf("PASS %s\n", t.name);
    } else {
      ++failed;
      for (const auto& f : failures) std::printf("FAIL %s: %s\n", t.name, f.c_str());
    }
    std::fflush(stdout);
  }
  if (registry().empty()) {
    std::printf("FAIL: no tests registered\n");
    ++failed;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed;
}

}  // namespace wtest

int main(int argc, char** argv) { return wtest::run_all(argc, argv); }
