# The two commands of the README are `make run` and `make test`; each one
# installs what is missing first, so a fresh Debian machine needs nothing else.

BUILD      := build
ASAN_BUILD := build/asan
JOBS       := $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := -G Ninja

.PHONY: all deps build build-asan test test-asan run format

all: build

deps:
	@scripts/setup-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUOR_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The plain suite first, then the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer; ctest's summary of the second run ends the output.
test: build build-asan
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

run: build
	@scripts/run $(BUILD)

format:
	git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format -i
