# For those who have make: every target runs the front door, ./hoptrace-dev, which installs
# what it needs first (a bare clone has no make; the script needs only a shell).
BUILD ?= build
BUILD_WIN ?= build-win
JOBS ?= $(shell nproc)
export BUILD BUILD_WIN JOBS

.PHONY: deps configure build test test-windows windows run demo package bench fuzz clean

deps:
	@scripts/install-deps.sh test

configure build:
	@./hoptrace-dev build

test:
	@./hoptrace-dev test

# The Windows group: every program source compiled for Windows, and the Windows services
# cross-built and run under wine; HOPTRACE_WINDOWS_TESTS=0 skips it.
test-windows:
	@./hoptrace-dev test-windows

# The Windows program cross-built: build-windows/Hoptrace/ (the program folder), its zip and
# its installer; the first run builds Qt for Windows into a cache (~35 minutes on 2 cores).
windows:
	@./hoptrace-dev windows

# For a real LAN only: the program broadcasts and pings on every adapter of this PC.
run:
	@./hoptrace-dev run

# The program on this display, inside a simulated LAN of private network namespaces:
# two adapters, six simulated webservers; nothing leaves this machine.
demo:
	@./hoptrace-dev demo

# The Debian package, $(BUILD)/hoptrace_<version>_<arch>.deb
package:
	@./hoptrace-dev package

# The reply intake under bursts of 1,000 to 50,000 devices and a flood, with a stock
# desktop's socket buffer and the program's own, beside a plain receive loop; inside the
# simulated LAN only. It prints a table and asserts nothing.
bench: build
	@scripts/simlan.sh --no-sim -- $(BUILD)/tools/hoptrace-bench/hoptrace-bench

# libFuzzer targets (clang, ASan + UBSan) in a build tree of their own, each run for
# FUZZ_SECONDS from its seeds in tests/fuzz/corpus; not part of make test.
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS = fuzz_address_list fuzz_block_reader fuzz_provisioning_text fuzz_setup_plan fuzz_log_reader
fuzz:
	@scripts/install-deps.sh fuzz
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
	@./hoptrace-dev clean
	@rm -rf $(BUILD_FUZZ)
