# Two entry points for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, prepares the program folder, starts the server
#   make test  installs what is missing, checks the lock annotations with clang, builds and runs
#              every test, then again under sanitizers
# Both also cross-build the Windows programs (GUI/, into build-win); their
# tests run under Wine.
.PHONY: run test deps build build-asan build-tsan build-win test-plain test-asan test-tsan test-win check-thread-safety clean

JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
CTEST = ctest --output-on-failure --no-tests=error -j $(JOBS)

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B build $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DTRV_SANITIZE=asan -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

build-tsan: deps
	cmake -S . -B build-tsan -DTRV_SANITIZE=tsan -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS) --target trv_threaded_tests

# The Windows programs: mingw-w64 cross build configured from GUI/. Tests of
# the console's server link run the native build's server (build/).
build-win: deps
	cmake -S GUI -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	  -DTRV_NATIVE_BUILD_DIR=$(CURDIR)/build $(CMAKE_FLAGS_WIN)
	cmake --build build-win -j $(JOBS)

run: build build-win
	@./scripts/run-server.sh build/bin

test-plain: build
	cd build && $(CTEST)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $(CTEST)

test-tsan: build-tsan
	cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/sanitizers/tsan.supp \
	  $(CTEST) -L threaded

# The lock rules (GUARDED_BY, REQUIRES, ...) checked by clang over the whole
# native tree, compile-only: configured with clang into build-tsa, then every
# file compiled with -fsyntax-only -Wthread-safety -Werror.
check-thread-safety: deps
	cmake -S . -B build-tsa -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	./scripts/check-thread-safety.py build-tsa $(JOBS)

# Wine runs spend most of their time waiting (session start, X, the window
# manager), so twice as many as there are cores; each run at the same time keeps
# a ~700 MB prefix slot in the cache (scripts/wine-run.sh): at most four at once.
WIN_JOBS ?= $(shell j=$$(( $(JOBS) * 2 )); [ $$j -gt 4 ] && j=4; echo $$j)
test-win: build build-win
	cd build-win && ctest --output-on-failure --no-tests=error -j $(WIN_JOBS)

test: check-thread-safety test-plain test-asan test-tsan test-win

clean:
	rm -rf build build-asan build-tsan build-tsa build-win
