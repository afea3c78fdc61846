# Front door: `make run` and `make test` install what is missing, build and run.
BUILD_DIR ?= build
JOBS ?= 2
EXAMPLE ?= examples/mono13.ppd
PREFIX ?= /usr/local

.PHONY: all deps build run test clean

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
