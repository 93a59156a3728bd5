# SPDX-License-Identifier: GPL-3.0-or-later
# make run: install what is missing, build an optimized BrivanSelvo, start it.
# make test: install what is missing, build for debugging, run every test but the large ones.
# make test-large: the large ones (a study of 60,000 files: minutes).
BUILD ?= build
RUN_BUILD ?= build-run
JOBS ?= $(shell nproc)

.PHONY: setup configure build release run test test-large kalvexlib windows windows-test clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Users get the optimized build, in a folder of its own so the tests' Debug build stays.
release: setup
	@cmake -S . -B $(RUN_BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null
	@cmake --build $(RUN_BUILD) -j $(JOBS)

run: release
	@bash scripts/run-gui.sh $(RUN_BUILD)/bin/BrivanSelvo

kalvexlib: release
	@bash scripts/run-gui.sh $(RUN_BUILD)/bin/Kalvexlib

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE large

test-large: build
	@cd $(BUILD) && ctest --output-on-failure -L large

# Windows: cross-built with MinGW-w64 against a Qt built once per machine, tested under Wine.
WINDOWS_BUILD ?= build-windows

windows:
	@bash scripts/setup.sh windows
	@bash scripts/build-windows.sh $(WINDOWS_BUILD)

windows-test: windows
	@bash scripts/test-windows.sh $(WINDOWS_BUILD)

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(WINDOWS_BUILD) build-asan build-fuzz
