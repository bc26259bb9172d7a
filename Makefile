# The project's commands: make (build), make test, make demo; make release and make run.
BUILD_DIR := build
CMAKE_FLAGS ?=

FUZZ_SECONDS ?= 60

.PHONY: all build deps test demo fuzz bench snapshots stress release release-check run clean

all: build

deps:
	@tools/ensure-packages.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

test: build
	tools/run-tests.sh

demo: build
	tools/demo.sh
	tools/snapshots.sh

fuzz: build
	tools/fuzz.sh $(FUZZ_SECONDS)

snapshots: build
	tools/snapshots.sh

bench: build
	tools/bench.sh

stress: build
	tools/stress.sh

release: deps
	CMAKE_FLAGS='$(CMAKE_FLAGS)' tools/release.sh

release-check: deps
	CMAKE_FLAGS='$(CMAKE_FLAGS)' tools/release-check.sh

run: build
	ARGS='$(ARGS)' FRESH='$(FRESH)' VIRTUAL='$(VIRTUAL)' tools/run.sh

clean:
	rm -rf $(BUILD_DIR) build-release build-release-check
