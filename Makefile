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

# Installs bin/ppd-localize and its manual pages under $(DESTDIR)$(PREFIX),
# and the CUPS driver program as $(DESTDIR)<cups-config --serverbin>/driver/
# ppd-localize with its PPD directory $(DESTDIR)/usr/share/ppd-localize,
# from the build in $(BUILD_DIR).
.PHONY: install package
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package, built as Debian builds it (dpkg-buildpackage, dh and
# debian/), in a copy of the source tree under $(DEB_DIR)/src: the .deb, its
# -dbgsym package, .buildinfo and .changes land in $(DEB_DIR)/ instead of the
# checkout's parent directory. DEB_BUILD_OPTIONS passes through (nocheck).
DEB_DIR ?= build-deb
package: deps
	@scripts/install-deps.sh debhelper
	rm -rf $(DEB_DIR)
	mkdir -p $(DEB_DIR)/src
	tar -cf - --exclude-vcs --exclude='./build*' --exclude=./corpus --exclude='./obj-*' . \
		| tar -xf - -C $(DEB_DIR)/src
	cd $(DEB_DIR)/src && dpkg-buildpackage -us -uc -b -J$(JOBS)
	@ls -1 $(DEB_DIR)/*.deb

# Release build, whole runs against the floor program (plain, then gzip),
# micro-benchmarks, then the
# CUPS driver program against cups-driverd and the command line over the corpus
# test's sample of real PPDs (made once in $(BENCH_CORPUS), as `make test` makes it),
# and runs with rules files against the built-in rules on its median and largest file.
BENCH_CORPUS ?= $(BUILD_DIR)/corpus
bench: deps
	@scripts/install-deps.sh hyperfine time python3
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPPD_LOCALIZE_TESTS=OFF -DPPD_LOCALIZE_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	bench/run_bench.py build-bench $(if $(BENCH_SIZES),--sizes $(BENCH_SIZES))
	bench/run_bench.py build-bench --gzip --countries JP,DE $(if $(BENCH_SIZES),--sizes $(BENCH_SIZES))
	build-bench/bench/edits_bench --benchmark_min_time=0.5
	bash tests/corpus/make-corpus.sh $(BENCH_CORPUS)
	bench/driver_bench.py build-bench $(BENCH_CORPUS) $(if $(BENCH_FILES),--files $(BENCH_FILES))
	bench/rules_bench.py build-bench $(BENCH_CORPUS)

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
# The `corpus` test is left out: it runs the same binary over a few hundred
# real PPDs in `make test` already, and under the sanitizers it would add
# minutes to CI for code paths that this suite and the fuzz target cover. The
# `cupsd` tests run here too: their cupsd passes the *SAN_OPTIONS settings on to
# the driver program it runs (PassEnv).
SANITIZE_DIR ?= build-sanitize
SANITIZER_ENV = LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1
.PHONY: test-sanitize fuzz test-valgrind
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DPPD_LOCALIZE_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -LE corpus

# The unit, differential and whole-run tests with ThreadSanitizer (the run
# decodes and scans on a helper thread while libcups parses): any data race
# fails the test that meets it, also in a program a test runs. The corpus and
# cupsd tests are left out, as under the other sanitizers, for time.
TSAN_DIR ?= build-tsan
.PHONY: test-tsan
test-tsan: deps
	cmake -S . -B $(TSAN_DIR) -DPPD_LOCALIZE_TSAN=ON
	cmake --build $(TSAN_DIR) -j $(JOBS)
	cd $(TSAN_DIR) && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ctest --output-on-failure -j $(JOBS) -LE 'corpus|cupsd'

# Every libFuzzer target for FUZZ_SECONDS each (clang build in build-fuzz).
# New corpus entries go to build-fuzz/fuzz-corpus/, findings to
# build-fuzz/fuzz-artifacts/; the seeds in fuzz/corpus/ are only read.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@scripts/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_DIR) -DPPD_LOCALIZE_FUZZ=ON -DPPD_LOCALIZE_TESTS=OFF \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) --target fuzzers -j $(JOBS)
	scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The end-to-end tests (the binary's runs) under valgrind memcheck.
test-valgrind: build
	@scripts/install-deps.sh valgrind
	scripts/valgrind-e2e.sh $(BUILD_DIR)
