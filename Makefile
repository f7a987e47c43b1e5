# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-sanitize fuzz bench package clean format

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/torvanu

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer; any report,
# leaks included, ends the test that made it and so fails the run. Qt's and fontconfig's
# allocations have needed no suppressions so far; add a file here only if they do.
JOBS ?= 2
ASAN_BUILD ?= build-asan
SANITIZER_OPTIONS = halt_on_error=1:abort_on_error=0:exitcode=86
test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVANU_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) --parallel $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=$(SANITIZER_OPTIONS):detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1 \
	  UBSAN_OPTIONS=$(SANITIZER_OPTIONS):print_stacktrace=1 \
	  ctest --output-on-failure

# Every fuzz target for FUZZ_SECONDS each, starting from its checked-in seeds; new inputs
# stay in the build folder. Needs clang.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTORVANU_BUILD_FUZZ=ON -DTORVANU_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) --parallel $(JOBS) --target fuzz_targets
	@fuzz/run-all $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Every benchmark in Release, in its own folder, printed as one table (kept in
# docs/performance.md by hand). Takes a few minutes; run it on a quiet machine.
BENCH_BUILD ?= build-bench
bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DTORVANU_BUILD_BENCH=ON -DTORVANU_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) --parallel $(JOBS) --target torvanu_bench >$(BENCH_BUILD)/build.log \
	  || { cat $(BENCH_BUILD)/build.log; exit 1; }
	@$(BENCH_BUILD)/bench/torvanu_bench --table $(BENCH_BUILD)/performance-table.md 2>$(BENCH_BUILD)/bench.log

# A Debian package in $(BUILD)/package/, to install with `sudo apt-get install ./…deb`.
package: build
	cd $(BUILD) && cpack -G DEB -B package

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Never deletes a record book left in the build folder by an older version.
clean:
	@scripts/clean-build $(BUILD)
