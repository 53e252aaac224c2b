# The two commands of the README are `make run` and `make test`; each one
# installs what is missing first, so a fresh Debian machine needs nothing else.

BUILD      := build
ASAN_BUILD := build/asan
JOBS       := $(shell nproc 2>/dev/null || echo 2)
# Most tests wait on sockets and timers rather than compute: twice as many at
# once as there are cores keeps the machine busy.
TEST_JOBS  ?= $(shell echo $$(( $$(nproc 2>/dev/null || echo 2) * 2 )))
CMAKE_GEN  := -G Ninja

.PHONY: all deps build build-gcc build-asan test test-setup test-asan check run format format-check lint pictures

all: build

deps:
	@scripts/setup-deps

# The builds of these commands are compiled with clang, which builds Quor in
# three fifths of g++'s time (its precompiled headers load lazily). A plain
# `cmake` and Debian's package tools use the system's g++: `make build-gcc`
# builds with it, its warnings errors too, and runs the unit tests (CI does).
CLANG      := -DCMAKE_CXX_COMPILER=clang++
GCC_BUILD  := build/gcc

# The fuzz targets' smoke tests run in the sanitizer build (`make build-gcc`
# still compiles them with g++).
build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CLANG) \
	    -DQUOR_FUZZ_SMOKE=OFF
	cmake --build $(BUILD) -j $(JOBS)

build-gcc: deps
	cmake -S . -B $(GCC_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=g++
	cmake --build $(GCC_BUILD) -j $(JOBS)
	ctest --test-dir $(GCC_BUILD) --output-on-failure -j $(TEST_JOBS) -L unit

# The sanitizer build (AddressSanitizer and UndefinedBehaviorSanitizer).
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUOR_SANITIZE=ON \
	    $(CLANG) -DQUOR_NODE_DIR=$(CURDIR)/$(BUILD)/node
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# What only the tests need from outside Debian: the record cross-check's
# reader, installed with npm (the ordinary build reaches no network).
test-setup: build
	cmake --build $(BUILD) --target records_tsshogi

# The whole suite twice, as built and as the sanitizer build (its tests named
# asan.*), in one ctest run that takes both builds' tests (build/suites), so
# that the two share the machine; ctest's summary of both ends the output.
SUITES := $(BUILD)/suites

test: build build-asan test-setup
	mkdir -p $(SUITES)
	printf 'subdirs("%s" "%s")\n' "$(CURDIR)/$(BUILD)" "$(CURDIR)/$(ASAN_BUILD)" \
	    > $(SUITES)/CTestTestfile.cmake
	ctest --test-dir $(SUITES) --output-on-failure -j $(TEST_JOBS)

# The quick loop: what changed is built, then the unit tests run (no programs
# on a display, no engines, no sanitizer build).
check: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(TEST_JOBS) -L unit

test-asan: build-asan
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(TEST_JOBS)

run: build
	@scripts/run $(BUILD)

# Brings translations/quor_en.ts up to date with the texts in the sources
# (lupdate); the English of new texts is then to be written into it.
.PHONY: translations
translations: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CLANG) \
	    -DQUOR_FUZZ_SMOKE=OFF
	cmake --build $(BUILD) --target quor_lupdate

format:
	git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format -i

# Fails, naming the file, where a source is not formatted as `make format`
# would format it.
format-check: deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

# Fails, naming the place, where clang-tidy finds one of the faults that
# .clang-tidy lists in the programs, the libraries or the fuzz targets. It
# needs a configuration of its own (build/tidy, where nothing is built), with
# every source compiled alone rather than several to a unit as in the builds.
TIDY_BUILD := $(BUILD)/tidy

lint: deps
	cmake -S . -B $(TIDY_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=OFF
	scripts/lint $(TIDY_BUILD)

# The README's pictures (docs/): each program's window as `make run` shows
# it on a virtual display, and two of them in English (<name>-en.png).
PICTURES    := Client-taro Varnel Ostrim Brellow Quenlis Web-lobby Web-game
EN_PICTURES := Client-taro Varnel

pictures: build
	env -u DISPLAY -u WAYLAND_DISPLAY scripts/run $(BUILD)
	mkdir -p docs
	for p in $(PICTURES); do cp $(BUILD)/screenshots/$$p.png docs/$$p.png; done
	env -u DISPLAY -u WAYLAND_DISPLAY QUOR_LANG=en scripts/run $(BUILD)
	for p in $(EN_PICTURES); do cp $(BUILD)/screenshots/$$p.png docs/$$p-en.png; done

# Reliability. `make fuzz` builds the libFuzzer targets of fuzz/ with clang
# (AddressSanitizer, UndefinedBehaviorSanitizer) into build/fuzz and runs each
# for FUZZ_SECONDS; an input that crashes, hangs or leaks is left in
# build/fuzz/crashes/ and the command fails. `make soak` runs the real server
# under 50 users, their game programs and cut connections for at most
# SOAK_SECONDS, and prints one line of figures.
FUZZ_BUILD   := build/fuzz
FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 170

.PHONY: fuzz soak

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DQUOR_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target quor_fuzzers
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

soak: build
	$(BUILD)/soak/soak --brellow $(BUILD)/bin/Brellow --seconds $(SOAK_SECONDS)

# Packaging. `make package` builds and makes the Debian package of the five
# programs and the record tool with CPack: build/quor_<version>_<arch>.deb,
# installed with `sudo apt install ./build/quor_*.deb`.
.PHONY: package

package: build
	cd $(BUILD) && cpack -G DEB

# Performance. `make bench` adds the benchmarks of bench/ (Google Benchmark)
# to the build folder, so that what `make build` or `make test` built is
# reused, and runs them: the relay against a bare byte relay, turn-taking
# play, a full lobby for BENCH_SECONDS and the micro benchmarks. It prints
# one table and writes it to build/bench/results.md. Not part of `make test`.
BENCH_SECONDS ?= 60

.PHONY: bench

bench: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CLANG) \
	    -DQUOR_FUZZ_SMOKE=OFF -DQUOR_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target quor_bench
	mkdir -p $(BUILD)/bench
	$(BUILD)/bin/quor_bench --capacity-seconds $(BENCH_SECONDS) --out $(BUILD)/bench/results.md
