# Entry points: `make demo` (install what is missing, build, run the demo
# topology) and `make test` (every test, in the normal and the sanitizer build,
# each fuzz target for FUZZ_SECONDS, and the Windows build under Wine).
BUILD ?= build
SAN_BUILD ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR := -G Ninja

.PHONY: all deps configure build demo test test-release test-asan test-fuzz test-windows windows bench fuzz memcheck install clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

demo: build
	@$(BUILD)/bin/zeb2hart demo

test: test-release test-asan test-fuzz test-windows

test-release: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-asan: deps
	@cmake -S . -B $(SAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DZEB2HART_SANITIZE=ON -DZEB2HART_WITH_BENCH=OFF > /dev/null
	@cmake --build $(SAN_BUILD) -j$(JOBS)
	@cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# The COM server DLL and the test frame for 64- and 32-bit Windows (mingw-w64),
# and their tests under Wine (WIN_ARCHS="x86_64" for one architecture only).
WIN_ARCHS ?= x86_64 i686
windows: deps
	@JOBS=$(JOBS) scripts/windows build $(WIN_ARCHS)

test-windows: deps
	@JOBS=$(JOBS) scripts/windows test $(WIN_ARCHS)

# Every libFuzzer target for FUZZ_SECONDS each (30 by default; `make fuzz FUZZ_SECONDS=900`).
FUZZ_SECONDS ?= 30
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz

test-fuzz: fuzz

# Google Benchmark programs, the million-transaction run and the instruction counts.
bench: build
	@$(BUILD)/bin/zeb2hart_bench
	@$(BUILD)/bin/zeb2hart_long_run
	@bench/instructions.sh $(BUILD) 300

# Every test under valgrind's memcheck (slow: about half an hour on two processors).
memcheck: deps
	@JOBS=$(JOBS) scripts/memcheck

install: build
	@cmake --install $(BUILD)

clean:
	@rm -rf $(BUILD) $(SAN_BUILD) build-fuzz build-memcheck build-windows
