# The project's commands: make (build), make test, make demo.
BUILD_DIR := build
CMAKE_FLAGS ?=

FUZZ_SECONDS ?= 60

.PHONY: all build deps test demo fuzz bench snapshots stress clean

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

clean:
	rm -rf $(BUILD_DIR)
