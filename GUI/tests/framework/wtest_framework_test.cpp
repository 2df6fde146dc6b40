// The framework's own checks. With --demo-failures three tests fail on
// purpose (a failed WCHECK_EQ, a test that throws, a WCHECK_THROWS whose
// expression does not throw); a second ctest expects exactly those counts.
#include <stdexcept>
#include <string>

#include "wtest.h"

namespace {
bool demo() { return wtest::has_arg("--demo-failures"); }
int throw_runtime() { throw std::runtime_error("x"); }
}  // namespace

WTEST(passing_checks_do_not_fail) {
  WCHECK(1 + 1 == 2);
  WCHECK_EQ(std::string("ab") + "c", std::string("abc"));
  WCHECK_THROWS(throw_runtime(), const std::runtime_error&);
}

WTEST(arguments_reach_tests) {
  // The runner passes nothing unless asked; the demo run passes one option.
  WCHECK_EQ(wtest::args().size(), demo() ? std::size_t(1) : std::size_t(0));
}

WTEST(failed_check_is_reported) {
  if (demo()) WCHECK_EQ(2 * 3, 7);
}

WTEST(thrown_exception_fails_the_test) {
  if (demo()) throw_runtime();
}

WTEST(missing_exception_is_reported) {
  if (demo()) WCHECK_THROWS(1 + 1, const std::exception&);
}
