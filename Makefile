# Thin wrapper around CMake. `make run` builds and starts the program,
# `make test` builds and runs every test. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench fuzz format clean package install

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2

run: build
	@scripts/run-program $(BUILD_DIR)

bench: configure
	@cmake --build $(BUILD_DIR) --target benchmarks
	@scripts/run-benchmarks $(BUILD_DIR)

# The Debian package, and an installation under PREFIX.
PREFIX ?= /usr/local
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers
