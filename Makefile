# Keystead: every target first makes sure the Debian packages of the stack are present.
BUILD       ?= build
TEST_DIR    := $(BUILD)/test
RELEASE_DIR := $(BUILD)/release
RUN_DIR     := $(BUILD)/run
FUZZ_DIR    := $(BUILD)/fuzz
WINDOWS_DIR := $(BUILD)/windows
PACKAGE_DIR := $(BUILD)/package
FUZZ_TIME   ?= 300
FUZZ_TARGETS ?= codec_fuzz import_fuzz
JOBS        ?= $(shell nproc)

.PHONY: deps test test-windows bench bench-windowed fuzz run package clean

deps:
	@scripts/install-deps.sh

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEYSTEAD_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The core cross-built for Windows and its tests run under Wine, in a Wine prefix of the build's
# own, without a display, in the Western code page the tests of older values expect.
WINE_ENV := WINEPREFIX=$(abspath $(WINDOWS_DIR))/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY= LANG=en_US.UTF-8
test-windows:
	@scripts/install-deps.sh windows
	cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	$(WINE_ENV) scripts/wine-run.sh start
	$(WINE_ENV) cmake --build $(WINDOWS_DIR) -j $(JOBS) || { $(WINE_ENV) scripts/wine-run.sh stop; exit 1; }
	cd $(WINDOWS_DIR) && $(WINE_ENV) ctest --output-on-failure -j $(JOBS); status=$$?; \
		cd $(CURDIR) && $(WINE_ENV) scripts/wine-run.sh stop; exit $$status

bench: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYSTEAD_TESTS=OFF -DKEYSTEAD_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	@for b in $(RELEASE_DIR)/bench/*/*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || exit 1; done

# The everyday path through the real windows (bench/windowed-path.sh), on the program `make run`
# builds; the store generator of the benchmarks is built beside it.
bench-windowed: deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEYSTEAD_TESTS=OFF -DKEYSTEAD_BENCH=ON
	cmake --build $(RUN_DIR) -j $(JOBS) --target keystead cli_bench_data
	bench/windowed-path.sh $(RUN_DIR)

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEYSTEAD_TESTS=OFF -DKEYSTEAD_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_DIR)/corpus/$$t; \
		echo "== $$t for $(FUZZ_TIME) s"; \
		$(FUZZ_DIR)/fuzz/$$t -max_total_time=$(FUZZ_TIME) -timeout=10 -print_final_stats=1 $(FUZZ_DIR)/corpus/$$t || exit 1; \
	done

run: deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEYSTEAD_TESTS=OFF
	cmake --build $(RUN_DIR) -j $(JOBS) --target keystead
	$(RUN_DIR)/src/keystead

# The Debian package, keystead_<version>_<arch>.deb in $(PACKAGE_DIR), with the program and the
# command-line tool.
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYSTEAD_TESTS=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack

clean:
	rm -rf $(BUILD)
