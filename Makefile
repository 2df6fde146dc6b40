# Two entry points for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, prepares the program folder, starts the server
#   make test  installs what is missing, builds and runs every test, then again under sanitizers
.PHONY: run test deps build build-asan build-tsan test-plain test-asan test-tsan clean

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

run: build
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

test: test-plain test-asan test-tsan

clean:
	rm -rf build build-asan build-tsan
