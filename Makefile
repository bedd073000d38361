# Two commands work on a fresh machine: `make test` and `make demo`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
PREFIX     ?= /usr/local

.PHONY: deps configure build test test-unit test-asan demo fuzz format clean install package

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Every test, then the library tests again under the address and undefined-behaviour
# sanitizers.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@cat $(BUILD)/conformance-summary.txt
	$(MAKE) test-asan

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKEL_SANITIZE=ON -DKEL_WITH_UI=OFF \
		-DKEL_WITH_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS) -L lib

# One target under libFuzzer (clang, sanitizers) in its own build directory: FUZZ_TARGET is
# parser (the script parser, runner/fuzz) or a folder of fuzz/ (sql, access, settings, script,
# diff, tips). Inputs it finds stay in $(FUZZ_BUILD)/corpus/<target>; the saved seeds in the
# target's corpus folder are only read. A target's lsan.supp names leaks that are not ours (their
# stacks need the slow unwinder to reach the library).
FUZZ_TARGET ?= parser
FUZZ_DIR = $(if $(filter parser,$(FUZZ_TARGET)),runner/fuzz,fuzz/$(FUZZ_TARGET))
FUZZ_FLAGS ?=
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DKEL_SANITIZE=ON -DKEL_WITH_UI=OFF -DKEL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGET)_fuzzer
	mkdir -p $(FUZZ_BUILD)/corpus/$(FUZZ_TARGET)
	$(if $(wildcard $(FUZZ_DIR)/lsan.supp),ASAN_OPTIONS=fast_unwind_on_malloc=0 \
		LSAN_OPTIONS=suppressions=$(abspath $(FUZZ_DIR)/lsan.supp)) \
	$(FUZZ_BUILD)/bin/$(FUZZ_TARGET)_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
		-dict=$(wildcard $(FUZZ_DIR)/*.dict) $(FUZZ_FLAGS) \
		$(FUZZ_BUILD)/corpus/$(FUZZ_TARGET) $(FUZZ_DIR)/corpus

# The programs, man pages, manual, desktop entries, icons and completion under $(PREFIX),
# staged under $(DESTDIR) when it is given.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

# Two versions of a database from demo/v1.sql and demo/v2.sql, compared, synchronised with
# the script kelvor writes, and compared again (demo/run.sh).
demo: build
	./demo/run.sh $(BUILD)/bin

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
