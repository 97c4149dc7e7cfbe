# For those who have make: every target runs the front door, ./hoptrace-dev, which installs
# what it needs first (a bare clone has no make; the script needs only a shell).
BUILD ?= build
BUILD_WIN ?= build-win
JOBS ?= $(shell nproc)
export BUILD BUILD_WIN JOBS

.PHONY: deps configure build test test-windows run demo package clean

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

clean:
	@./hoptrace-dev clean
