// Linked into every test program: gives it TRV_SOURCE_DIR and TRV_BINARY_DIR
// in its environment (and its children's) however ctest started it.
#include <cstdlib>

namespace {
struct TestEnvironment {
    TestEnvironment()
    {
        setenv("TRV_SOURCE_DIR", TRV_TEST_SOURCE_DIR, 0);
        setenv("TRV_BINARY_DIR", TRV_TEST_BINARY_DIR, 0);
    }
} test_environment;
}  // namespace
