# Two entry points: `make run` to play, `make test` to check everything.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
# Debian's interpreter, with Pillow, NumPy and Xlib.
PYTHON ?= /usr/bin/python3
# A plain build makes the game alone; `make test` and `make bench` switch on what they need.
CMAKE_FLAGS ?=

.PHONY: all deps build run test test-unit test-asan bench clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/game && ./zentaris

test-unit: CMAKE_FLAGS += -DBUILD_TESTING=ON
test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZENTARIS_SANITIZE=ON \
		-DBUILD_TESTING=ON -DZENTARIS_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -L fast

test: test-unit test-asan

# Medians of 7 repetitions of each frame benchmark (the dummy driver cannot make the cursors;
# those two reports are left out), then start-up and memory of the real game
# against a bare SDL2 window (and that window linked with the game's libraries) under Xvfb,
# 15 runs each, as the start-up varies from run to run by more than the game adds to it;
# each part prints its ratios; then the learning report over 100,000 recorded apples of 50
# players, in-process and as the real program (medians of 5 repetitions).
bench: CMAKE_FLAGS += -DZENTARIS_BENCH=ON
bench: build
	cd $(BUILD) && ./bench/bench_frame --benchmark_repetitions=7 \
		--benchmark_report_aggregates_only=true 2>&1 | grep -v -e 'Cursors' -e 'Mouse Zeiger'
	timeout -k 5 1500 $(PYTHON) bench/startup.py $(BUILD) 15
	cd $(BUILD) && ./bench/bench_report --benchmark_repetitions=5 \
		--benchmark_report_aggregates_only=true

# Deletes both builds but the scores stored in $(BUILD)/game/score.
clean:
	rm -rf $(ASAN_BUILD)
	[ ! -d $(BUILD) ] || find $(BUILD) -mindepth 1 -not -path $(BUILD)/game \
		-not -path $(BUILD)/game/score -not -path '$(BUILD)/game/score/*' -delete
