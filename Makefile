# Front door: `make demo` shows the program on a simulated LAN, `make test` runs every test.
BUILD ?= build
BUILD_WIN ?= build-win
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(CI),-DHOPTRACE_WERROR=ON)

.PHONY: deps configure build test test-windows run demo clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-windows
	@scripts/line-ratio.sh

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

clean:
	@rm -rf $(BUILD) $(BUILD_WIN)
