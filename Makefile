# Front door: `make demo` shows the program on a simulated LAN, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(CI),-DHOPTRACE_WERROR=ON)

.PHONY: deps configure build test run demo clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# For a real LAN only: the program broadcasts and pings on every adapter of this PC.
run: build
	@$(BUILD)/src/hoptrace

clean:
	@rm -rf $(BUILD)
