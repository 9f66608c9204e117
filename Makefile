# Two commands for a newcomer: `make run` and `make test`. Both install what is missing first.
# The real work is in CMake (see CMakePresets.json); this file only strings the steps together.

CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps build run test test-default test-asan test-noqt bench format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	$(CMAKE) --preset default
	$(CMAKE) --build --preset default

run: build
	build/default/app/tonrik $(ARGS)

test-default: deps
	$(CMAKE) --preset default
	$(CMAKE) --build --preset default
	$(CTEST) --preset default

test-asan: deps
	$(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

test-noqt: deps
	$(CMAKE) --preset noqt
	$(CMAKE) --build --preset noqt
	$(CTEST) --preset noqt

# The whole suite: the normal build, the sanitizer build and the build without Qt.
test: test-default test-asan test-noqt

bench: deps
	$(CMAKE) --preset release
	$(CMAKE) --build --preset release
	build/release/bench/corvane_bench $(BENCH_ARGS)

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
