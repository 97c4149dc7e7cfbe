# Front door: `make demo` shows the program on a simulated LAN, `make test` runs every test.
BUILD ?= build
BUILD_WIN ?= build-win
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(CI),-DHOPTRACE_WERROR=ON)

.PHONY: deps configure build test test-windows run demo bench fuzz clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-windows

# The Windows backend, cross-built with mingw-w64 and run under wine;
# HOPTRACE_WINDOWS_TESTS=0 skips it.
test-windows: deps
	@JOBS=$(JOBS) scripts/test-windows.sh $(BUILD_WIN)

# For a real LAN only: the program broadcasts and pings on every adapter of this PC.
run: build
	@$(BUILD)/src/hoptrace

# The program on this display, inside a simulated LAN of private network namespaces:
# two adapters, six simulated webservers; nothing leaves this machine.
demo:
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
		echo "make demo: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)" >&2; \
		exit 1; \
	fi
	@$(MAKE) --no-print-directory build
	@scripts/simlan.sh --sim $(BUILD)/tools/tavik-sim/tavik-sim -- $(BUILD)/src/hoptrace

# The reply intake under bursts of 1,000 to 50,000 devices and a flood, with a stock
# desktop's socket buffer and the program's own, beside a plain receive loop; inside the
# simulated LAN only. It prints a table and asserts nothing.
bench: build
	@scripts/simlan.sh --no-sim -- $(BUILD)/tools/hoptrace-bench/hoptrace-bench

# libFuzzer targets (clang, ASan + UBSan) in a build tree of their own, each run for
# FUZZ_SECONDS from its seeds in tests/fuzz/corpus; not part of make test.
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS = fuzz_reply_intake fuzz_entry_rules fuzz_provisioning_text
fuzz:
	@HOPTRACE_FUZZ_DEPS=1 scripts/install-deps.sh
	@cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
		-DCMAKE_CXX_COMPILER=clang++ -DHOPTRACE_FUZZ=ON >/dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)
	@set -e; for t in $(FUZZ_TARGETS); do \
		mkdir -p $(BUILD_FUZZ)/corpus/$$t; \
		echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
		if ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen $(BUILD_FUZZ)/tests/fuzz/$$t \
			-max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(BUILD_FUZZ)/ \
			$(BUILD_FUZZ)/corpus/$$t tests/fuzz/corpus/$$t >$(BUILD_FUZZ)/$$t.log 2>&1; \
		then grep '^Done' $(BUILD_FUZZ)/$$t.log; else tail -40 $(BUILD_FUZZ)/$$t.log; exit 1; fi; \
	done

clean:
	@rm -rf $(BUILD) $(BUILD_WIN) $(BUILD_FUZZ)
