# Thin wrapper around CMake. `make run` builds and starts the program,
# `make test` builds and runs every test. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench fuzz format clean

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

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)

# Builds the fuzz targets with clang and runs the engine's for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DLINGOREL_BUILD_FUZZ=ON -DLINGOREL_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-fuzz --target fuzz_engine
	@mkdir -p build-fuzz/corpus-engine
	@cp -n samples/sample.rc build-fuzz/corpus-engine/ 2>/dev/null || true
	@[ ! -d ../shared/corpus ] || find ../shared/corpus -name '*.rc' -size -24k | head -200 | \
		while read -r f; do cp -n "$$f" build-fuzz/corpus-engine/"$$(echo "$$f" | md5sum | cut -c1-12).rc"; done
	@build-fuzz/bin/fuzz_engine -max_total_time=$(FUZZ_SECONDS) -max_len=65536 build-fuzz/corpus-engine
