# Quick start: `make demo` runs the program on the bundled sample package,
# `make test` runs every test. Both install what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
WIN := build/win32
WIN64 := build/win64
NATIVE := build/native
TEST_PREFIX := $(CURDIR)/build/test-prefix

.PHONY: deps build build64 native test test-native test-windows demo bench clean

deps:
	@tools/install-deps

$(WIN)/build.ninja: CMakeLists.txt CMakePresets.json cmake/*.cmake | deps
	cmake --preset win32

build: deps $(WIN)/build.ninja
	cmake --build $(WIN) -j $(JOBS)

# The same sources as a 64-bit program: Wine runs 32-bit code only where the
# kernel has 32-bit emulation, and the tests fall back to this build elsewhere.
$(WIN64)/build.ninja: CMakeLists.txt CMakePresets.json cmake/*.cmake | deps
	cmake --preset win64

build64: deps $(WIN64)/build.ninja
	cmake --build $(WIN64) -j $(JOBS)

$(NATIVE)/build.ninja: CMakeLists.txt CMakePresets.json cmake/*.cmake | deps
	cmake --preset native

native: deps $(NATIVE)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

# The Windows tests run in a fresh prefix of their own, booted once per run.
test-windows: build
	@if tools/can-run-32bit; then tools/test-windows $(WIN) $(TEST_PREFIX) $(JOBS); \
	else echo "This kernel runs no 32-bit code: testing the 64-bit build of the same sources."; \
	  tools/check-program $(WIN)/cvpackagechainer.exe && \
	  $(MAKE) --no-print-directory build64 && tools/test-windows $(WIN64) $(TEST_PREFIX) $(JOBS); fi

test: test-native test-windows

demo: build
	@tools/demo

bench: build
	bench/run

clean:
	rm -rf build
