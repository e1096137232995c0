# The two commands a newcomer needs: `make run` and `make test`.
BUILD        ?= build
BUILD_ASAN   ?= build-asan
BUILD_TYPE   ?= RelWithDebInfo
JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: deps configure build run test sanitize fuzz bench screens clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Starts the desktop program on the sample data set; without a display it runs the
# headless demonstration of the command-line tool instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/bin/tavrel --sample; \
	else \
	  echo "No display: running the headless demonstration (tavrel-cli demo)."; \
	  $(BUILD)/bin/tavrel-cli --sample demo; \
	fi

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, built with clang so that
# the libFuzzer targets build in the same configuration.
sanitize: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DTAVREL_SANITIZE=ON -DTAVREL_FUZZ=ON -DTAVREL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt \
	  ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# Long fuzzing runs of every target (FUZZ_SECONDS each) in the sanitizer build.
fuzz: sanitize
	@for f in $(BUILD_ASAN)/bin/fuzz_*; do \
	  echo "== $$f ($(FUZZ_SECONDS) s)"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 || exit 1; \
	done

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

# Pictures of the desktop program's windows under Xvfb, for review: build/screens/*.png
screens: build
	@scripts/screens $(BUILD)

clean:
	@rm -rf $(BUILD) $(BUILD_ASAN)
