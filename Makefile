# The project's commands: make (build), make test, make demo; make release and make run.
BUILD_DIR := build
CMAKE_FLAGS ?=

FUZZ_SECONDS ?= 60

# Each command builds what its scripts run: make and make test the whole tree, the others only
# their own targets, so that the demo does not wait for the test programs.
BUILD := cmake --build $(BUILD_DIR)

.PHONY: all build configure deps test demo fuzz bench snapshots stress release release-check run clean

all: build

deps:
	@tools/ensure-packages.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	$(BUILD)

test: build
	tools/run-tests.sh

demo: configure
	$(BUILD) --target gls_demo
	tools/demo.sh
	tools/snapshots.sh

fuzz: configure
	$(BUILD) --target GlimmerlineSetup
	tools/fuzz.sh $(FUZZ_SECONDS)

snapshots: configure
	$(BUILD) --target GlimmerlineSetup
	tools/snapshots.sh

bench: configure
	$(BUILD) --target GlimmerlineSetup gls_install_bench
	tools/bench.sh

stress: configure
	$(BUILD) --target gls_e2e_tests
	tools/stress.sh

release: deps
	CMAKE_FLAGS='$(CMAKE_FLAGS)' tools/release.sh

release-check: deps
	CMAKE_FLAGS='$(CMAKE_FLAGS)' tools/release-check.sh

run: configure
	$(BUILD) --target GlimmerlineSetup gls_post_input
	ARGS='$(ARGS)' FRESH='$(FRESH)' VIRTUAL='$(VIRTUAL)' tools/run.sh

clean:
	rm -rf $(BUILD_DIR) build-release build-release-check
