# The two everyday commands: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
JOBS       ?= $(shell nproc)

FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: setup configure build run test test-asan bench fuzz fuzz-build fuzz-seeds fuzz-corpus package clean

setup:
	@bash scripts/setup.sh

# clang compiles the tests more than twice as fast as g++ (it reads the precompiled headers
# as it needs them); g++ where clang is missing. The address-sanitizer build stays on g++,
# so that both compilers keep building the tree. Evaluated after the set-up has run.
COMPILER = $(shell command -v clang++ 2>/dev/null || echo c++)

$(BUILD)/build.ninja: | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(COMPILER) $(CMAKE_FLAGS)

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/app/diskarium

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | setup
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDISKARIUM_SANITIZE=ON

test-asan: setup $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/diskarium-bench
	./$(BUILD)/bench/diskarium-bench-backup
	./$(BUILD)/bench/diskarium-bench-printing
	./$(BUILD)/bench/diskarium-bench-startup
	./$(BUILD)/bench/diskarium-bench-entry
	./$(BUILD)/bench/diskarium-bench-cdplayer
	./$(BUILD)/bench/diskarium-bench-lending
	./$(BUILD)/bench/diskarium-bench-paradox
	./$(BUILD)/bench/diskarium-bench-lookup
	./$(BUILD)/bench/diskarium-bench-medialist
	test -e $(BUILD)/bench-printall/WinDsKm.db || ./$(BUILD)/bench/diskarium-generate $(BUILD)/bench-printall 20000
	./$(BUILD)/bench/diskarium-bench-printall $(BUILD)/bench-printall
	./$(BUILD)/bench/diskarium-bench-statistics
	test -e $(BUILD)/bench-search/WinDsKm.db || ./$(BUILD)/bench/diskarium-generate $(BUILD)/bench-search 100000 15
	./$(BUILD)/bench/diskarium-bench-search $(BUILD)/bench-search
	./$(BUILD)/bench/diskarium-bench-carriers $(BUILD)/bench-search
	./$(BUILD)/bench/diskarium-bench-fieldlabels
	test -e $(BUILD)/bench-discogs/WinDsKm.db || ./$(BUILD)/bench/diskarium-generate $(BUILD)/bench-discogs 100000 15 1
	./$(BUILD)/bench/diskarium-bench-discogs $(BUILD)/bench-discogs
	test -e $(BUILD)/bench-owned/WinDsKm.db || ./$(BUILD)/bench/diskarium-generate $(BUILD)/bench-owned 100000 1
	./$(BUILD)/bench/diskarium-bench-owned $(BUILD)/bench-owned 1000

# A Debian package of both programs in $(BUILD) (diskarium_VERSION_ARCH.deb).
package: build
	cmake --build $(BUILD) --target package

# Every reader of outside bytes under libFuzzer for FUZZ_SECONDS each (default 60), from the
# seeds in fuzz/corpus-NAME; what a run finds new is kept in $(FUZZ_BUILD)/corpus-NAME.
FUZZ_TARGETS ?= restore paradox carrierfile templatefile settings cddb musicbrainz search template csv

# FUZZ_SANITIZERS=undefined (with its own FUZZ_BUILD) runs several times more inputs a second
# for long runs; replaying their corpus in the default build then checks memory and leaks.
FUZZ_SANITIZERS ?= address,undefined

$(FUZZ_BUILD)/build.ninja: | setup
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DDISKARIUM_FUZZ=ON -DDISKARIUM_FUZZ_SANITIZERS=$(FUZZ_SANITIZERS)

fuzz-build: setup $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every target over its checked-in seeds once: for CI, the same result on every run.
fuzz-seeds: fuzz-build
	set -e; for t in $(FUZZ_TARGETS); do \
	    ./$(FUZZ_BUILD)/fuzz/fuzz_$$t -runs=0 -rss_limit_mb=2048 -timeout=10 fuzz/corpus-$$t; \
	done

# What runs kept (in FUZZ_CORPUS_DIR/corpus-NAME) once more, each input once: under the default
# sanitizers after long runs of the fast build.
FUZZ_CORPUS_DIR ?= $(FUZZ_BUILD)
fuzz-corpus: fuzz-build
	set -e; for t in $(FUZZ_TARGETS); do \
	    ASAN_OPTIONS=$(FUZZ_ASAN_OPTIONS) ./$(FUZZ_BUILD)/fuzz/fuzz_$$t -runs=0 -rss_limit_mb=2048 \
	        -timeout=30 $(FUZZ_CORPUS_DIR)/corpus-$$t; \
	done

# Allocation stacks and a large quarantine more than halve the inputs a second; a finding is
# re-run with the defaults for its full report.
FUZZ_ASAN_OPTIONS ?= malloc_context_size=0:quarantine_size_mb=16:max_malloc_fill_size=0

fuzz: fuzz-build
	set -e; for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(FUZZ_BUILD)/corpus-$$t; \
	    ASAN_OPTIONS=$(FUZZ_ASAN_OPTIONS) ./$(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	        -timeout=10 -print_final_stats=1 $(FUZZ_BUILD)/corpus-$$t fuzz/corpus-$$t; \
	done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
