# make run: install what is missing, build, start BrivanSelvo.
# make test: install what is missing, build, run every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test kalvexlib clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-gui.sh $(BUILD)/bin/BrivanSelvo

kalvexlib: build
	@bash scripts/run-gui.sh $(BUILD)/bin/Kalvexlib

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
