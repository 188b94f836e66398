# Entry points: `make demo` (install what the demo needs, build zeb2hart, run the
# demo topology) and `make test` (every test: the normal and the sanitizer build,
# each fuzz target for FUZZ_SECONDS, and the Windows build under Wine).
BUILD ?= build
SAN_BUILD ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR := -G Ninja
# The build folder is configured for installation in /usr, as the packages install.
CONFIGURE := cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr
# Tests, CI and packages: everything built, warnings are errors. Every option the
# demo switches off is switched on again here, for a folder the demo configured.
CONFIGURE_ALL := $(CONFIGURE) -DZEB2HART_WITH_TESTS=ON -DZEB2HART_WITH_BENCH=ON -DZEB2HART_WITH_UI=ON \
                 -DCMAKE_UNITY_BUILD=OFF -DZEB2HART_WERROR=ON
# The demo's first build: zeb2hart without the Qt frame window (which `make`
# adds), each layer compiled as a few unity sources.
CONFIGURE_DEMO := $(CONFIGURE) -DZEB2HART_WITH_TESTS=OFF -DZEB2HART_WITH_BENCH=OFF -DZEB2HART_WITH_UI=OFF \
                  -DCMAKE_UNITY_BUILD=ON

.PHONY: all demo build test test-release test-asan test-fuzz test-windows windows msi bench fuzz memcheck package install clean

all: build

# The demo builds zeb2hart and nothing else. A build folder configured before
# (by make test, say) is used as it is.
demo:
	@echo "make demo: checking the Debian packages the demo needs (scripts/install-deps demo)"
	@scripts/install-deps demo
	@[ -f $(BUILD)/CMakeCache.txt ] || { echo "make demo: configuring $(BUILD)/ for zeb2hart alone (no tests, no Qt frame window: make adds them)"; \
	  $(CONFIGURE_DEMO) > /dev/null; }
	@echo "make demo: building zeb2hart in $(BUILD)/"
	@cmake --build $(BUILD) -j$(JOBS) --target zeb2hart_cli
	@echo "make demo: running $(BUILD)/bin/zeb2hart demo"
	@$(BUILD)/bin/zeb2hart demo

build:
	@scripts/install-deps test
	@$(CONFIGURE_ALL) > /dev/null
	@cmake --build $(BUILD) -j$(JOBS)

# The sanitizer build is also the unity build the demo makes: two sources that
# clash when compiled as one fail it.
test: test-release test-asan test-fuzz test-windows

test-release: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-asan:
	@scripts/install-deps test
	@cmake -S . -B $(SAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DZEB2HART_SANITIZE=ON -DZEB2HART_WITH_BENCH=OFF -DZEB2HART_WERROR=ON \
	  -DCMAKE_UNITY_BUILD=ON > /dev/null
	@cmake --build $(SAN_BUILD) -j$(JOBS)
	@cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# The COM server DLL and the test frame for 64- and 32-bit Windows (mingw-w64),
# their Windows Installer packages (build-windows/packages/ZEB2HARTGateway-VERSION-{x64,x86}.msi),
# and their tests under Wine (WIN_ARCHS="x86_64" for one architecture only).
WIN_ARCHS ?= x86_64 i686
windows: msi

msi:
	@scripts/install-deps windows
	@JOBS=$(JOBS) scripts/windows msi $(WIN_ARCHS)

test-windows:
	@scripts/install-deps windows
	@JOBS=$(JOBS) scripts/windows test $(WIN_ARCHS)

# Every libFuzzer target for FUZZ_SECONDS each (30 by default; `make fuzz FUZZ_SECONDS=900`).
FUZZ_SECONDS ?= 30
fuzz:
	@scripts/install-deps fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz

test-fuzz: fuzz

# Google Benchmark programs, the million-transaction run and the instruction counts.
bench: build
	@scripts/install-deps memcheck
	@$(BUILD)/bin/zeb2hart_bench
	@$(BUILD)/bin/zeb2hart_long_run
	@bench/instructions.sh $(BUILD) 300
	@bench/demo-latency.sh $(BUILD)

# Every test under valgrind's memcheck (slow: about half an hour on two processors).
memcheck:
	@scripts/install-deps memcheck
	@JOBS=$(JOBS) scripts/memcheck

# The Debian packages (libzeb2hart1, libzeb2hart-dev, zeb2hart and their -dbgsym) in $(BUILD)/packages/.
package: build
	@cd $(BUILD) && cpack -G DEB

install: build
	@cmake --install $(BUILD)

clean:
	@rm -rf $(BUILD) $(SAN_BUILD) build-fuzz build-memcheck build-windows
