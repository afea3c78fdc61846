# Front door: `make run` and `make test` install what is missing, build and run.
BUILD_DIR ?= build
JOBS ?= 2
EXAMPLE ?= examples/mono13.ppd
PREFIX ?= /usr/local

.PHONY: all deps build run test clean bench

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/ppd-localize - $(EXAMPLE)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)

# Installs bin/ppd-localize and share/man/man1/ppd-localize.1 under
# $(DESTDIR)$(PREFIX), from the build in $(BUILD_DIR).
.PHONY: install package
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package: a Release build in its own directory, then CPack.
RELEASE_DIR ?= build-release
package: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DPPD_LOCALIZE_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	cd $(RELEASE_DIR) && cpack -G DEB

# Release build, whole runs against the floor program, then micro-benchmarks.
bench: deps
	@scripts/install-deps.sh hyperfine time python3
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPPD_LOCALIZE_TESTS=OFF -DPPD_LOCALIZE_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	bench/run_bench.py build-bench $(if $(BENCH_SIZES),--sizes $(BENCH_SIZES))
	build-bench/bench/edits_bench --benchmark_min_time=0.5
