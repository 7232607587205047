# The commands of the README: `make demo`, `make test` and `make package`.
BUILD ?= build
JOBS  ?= $(shell nproc)
# Leak checking stays off: LeakSanitizer's tracer crashes at exit while the embedded
# Firebird engine's threads are still alive, and the leaks it does report are the
# client library's own (valgrind, with fb::ShutdownClient, is the leak check here).
ASAN_OPTIONS ?= detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1

FUZZ_RUNS ?= 1000000

.PHONY: demo test test-sanitize fuzz package deps build clean

demo: build
	bash scripts/demo.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole suite again, built under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCT_SANITIZE=ON
	cmake --build $(BUILD)-sanitize -j$(JOBS)
	cd $(BUILD)-sanitize && ASAN_OPTIONS=$(ASAN_OPTIONS) UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp ctest --output-on-failure -j$(JOBS)

# Fuzzes the readers of outside input (clang's libFuzzer) and grows fuzz/corpus/;
# `make test` only replays that corpus.
fuzz: deps
	bash scripts/fuzz.sh $(FUZZ_RUNS)

# The Debian package, in $(BUILD)/. The window is part of it, whatever an earlier
# configuration of $(BUILD) said.
package: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCT_BUILD_GUI=ON
	cmake --build $(BUILD) -j$(JOBS)
	rm -f $(BUILD)/conversor-tolv_*.deb
	cd $(BUILD) && cpack -G DEB

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

deps:
	bash scripts/install-deps.sh

clean:
	rm -rf $(BUILD)
