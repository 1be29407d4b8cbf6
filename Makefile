# Entry points for people and CI. Each target installs missing Debian
# packages first, then configures and builds through the CMake presets.
.PHONY: deps build test test-sanitize fuzz bench format format-check clean

JOBS ?= $(shell nproc)

deps:
	@./scripts/install-deps.sh

build: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)

test: build
	ctest --preset debug -j $(JOBS)

test-sanitize: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	./scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	./build/release/bench/kelm_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
