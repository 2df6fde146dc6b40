// A small test framework for the Windows programs (gtest is not built for
// mingw). Tests register themselves with WTEST(name) { ... } and check with
// WCHECK / WCHECK_EQ / WCHECK_THROWS; the framework's main() runs them in
// registration order on the main thread, prints "PASS name" or
// "FAIL name: file:line: what" per test and a last line "N passed, N failed",
// and returns the number of failures (a program with no tests fails too).
//
// Checks record a failure and go on; a test that throws is failed. Call the
// checks only from the thread that runs the test. wtest::args() gives the
// program's arguments for tests that need options.
#pragma once

#include <sstream>
#include <type_traits>
#include <string>
#include <vector>

namespace wtest {

using TestFn = void (*)();

// Registers a test; used by WTEST. Returns a dummy for static initialisation.
int add(const char* name, TestFn fn);

// Records a failed check in the running test.
void fail(const char* file, int line, const std::string& what);

// Arguments after the program name.
const std::vector<std::string>& args();

// True when ARG was given on the command line.
bool has_arg(const std::string& arg);

// Runs every registered test; what main() returns.
int run_all(int argc, char** argv);

template <class T>
std::string show(const T& v) {
  std::ostringstream s;
  if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, const char*> && !std::is_same_v<T, char*>)
    s << static_cast<const void*>(v);
  else
    s << v;
  return s.str();
}

}  // namespace wtest

#define WTEST_CAT2(a, b) a##b
#define WTEST_CAT(a, b) WTEST_CAT2(a, b)

#define WTEST(name)                                                            \
  static void wtest_fn_##name();                                               \
  [[maybe_unused]] static const int WTEST_CAT(wtest_reg_, name) =              \
      ::wtest::add(#name, &wtest_fn_##name);                                   \
  static void wtest_fn_##name()

#define WCHECK(cond)                                                           \
  do {                                                                         \
    if (!(cond)) ::wtest::fail(__FILE__, __LINE__, "WCHECK(" #cond ")");       \
  } while (0)

#define WCHECK_EQ(a, b)                                                        \
  do {                                                                         \
    const auto& wtest_a_ = (a);                                                \
    const auto& wtest_b_ = (b);                                                \
    if (!(wtest_a_ == wtest_b_))                                               \
      ::wtest::fail(__FILE__, __LINE__,                                        \
                    "WCHECK_EQ(" #a ", " #b "): " + ::wtest::show(wtest_a_) +  \
                        " != " + ::wtest::show(wtest_b_));                     \
  } while (0)

// Passes when EXPR throws something that a catch of TYPE takes.
#define WCHECK_THROWS(expr, TYPE)                                              \
  do {                                                                         \
    bool wtest_caught_ = false;                                                \
    try {                                                                      \
      (void)(expr);                                                            \
    } catch (TYPE) {                                                           \
      wtest_caught_ = true;                                                    \
    } catch (...) {                                                            \
    }                                                                          \
    if (!wtest_caught_)                                                        \
      ::wtest::fail(__FILE__, __LINE__, "WCHECK_THROWS(" #expr ", " #TYPE ")"); \
  } while (0)
