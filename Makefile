# Keystead: every target first makes sure the Debian packages of the stack are present.
BUILD       ?= build
TEST_DIR    := $(BUILD)/test
RELEASE_DIR := $(BUILD)/release
RUN_DIR     := $(BUILD)/run
FUZZ_DIR    := $(BUILD)/fuzz
FUZZ_TIME   ?= 300
FUZZ_TARGETS ?= codec_fuzz import_fuzz
JOBS        ?= $(shell nproc)

PACKAGE_DIR := $(BUILD)/package

.PHONY: deps test bench fuzz run package clean

deps:
	@scripts/install-deps.sh

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEYSTEAD_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYSTEAD_TESTS=OFF -DKEYSTEAD_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	@for b in $(RELEASE_DIR)/bench/*/*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || exit 1; done

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

# The Debian package, keystead_<version>_<arch>.deb in $(PACKAGE_DIR).
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYSTEAD_TESTS=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS) --target keystead
	cd $(PACKAGE_DIR) && cpack

clean:
	rm -rf $(BUILD)
