# Everyday commands. `make run` and `make test` do all set-up on a fresh Debian 12 machine.
#   make run     install what is missing, build, run the program (the demo when there is no display)
#   make test    the same set-up, then every test in build/ and again under ASan+UBSan in build-asan/,
#                then the Windows build under Wine (skip that with ZZ_SKIP_WINDOWS=1)
#   make windows cross-build build-windows/zizezed.exe for Windows x86-64
#   make demo    screenshots of a scripted session on a virtual display, into build/demo/
#   make bench   the benchmarks, when there are any
#   make fuzz    build the font fuzzer with clang in build-fuzz/ and run it (FUZZ_RUNS, default 10 million)
#   make soak    a million frames of random editing, under ASan+UBSan and again in build/ for memory growth
#   make format  clang-format over the sources
#   make clean   remove build/ and build-asan/

BUILD ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
FUZZ_BUILD ?= build-fuzz
FUZZ_RUNS ?= 10000000
SOAK_FRAMES ?= 1000000
JOBS ?= 2
CMAKE_FLAGS ?=

SOURCE_DIRS := src tests bench

.PHONY: all deps configure build program run test test-build test-asan windows test-windows demo bench fuzz soak \
  format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@ninja -C $(BUILD) -j$(JOBS)

program: configure
	@ninja -C $(BUILD) -j$(JOBS) zizezed

run: program
ifeq ($(strip $(DISPLAY)),)
	@echo "make run: no DISPLAY here, so running 'make demo' instead (screenshots go to $(BUILD)/demo/)"
	@$(MAKE) --no-print-directory demo
else
	$(BUILD)/zizezed
endif

test: test-build test-asan $(if $(filter 1,$(ZZ_SKIP_WINDOWS)),,test-windows)

test-build: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j$(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_SANITIZE=ON \
	  -DZZ_BENCHMARKS=OFF $(CMAKE_FLAGS) >/dev/null
	@ninja -C $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-tests=error -j$(JOBS)

windows: deps
	@ZZ_JOBS=$(JOBS) scripts/build-windows $(WINDOWS_BUILD)

test-windows: windows
	tests/windows/wine_e2e.py $(WINDOWS_BUILD)

demo: deps
	@BUILD=$(BUILD) JOBS=$(JOBS) scripts/demo

bench: build
	@if [ -f bench/CMakeLists.txt ]; then \
	  found=0; rm -rf $(BUILD)/bench/results; \
	  for exe in $(BUILD)/bench/*; do \
	    if [ -f "$$exe" ] && [ -x "$$exe" ]; then \
	      found=1; ZZ_BENCH_RESULTS=$(BUILD)/bench/results "$$exe" || exit 1; \
	    fi; \
	  done; \
	  [ $$found = 1 ] || echo "make bench: no benchmark executable in $(BUILD)/bench/"; \
	  bench/summary_table $(BUILD)/bench/results; \
	else \
	  echo "make bench: there are no benchmarks yet (bench/CMakeLists.txt)"; \
	fi

fuzz: deps
	@scripts/fetch-debian-sources $(FUZZ_BUILD)/src freetype
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_FUZZ=ON \
	  -DZZ_FREETYPE_SOURCE=$$(ls -d $(abspath $(FUZZ_BUILD))/src/freetype-*/ | head -n 1) \
	  -DZZ_TESTS=OFF -DZZ_BENCHMARKS=OFF $(CMAKE_FLAGS) >/dev/null
	@ninja -C $(FUZZ_BUILD) -j$(JOBS) font_fuzzer
	FUZZ_DIR=$(FUZZ_BUILD) FUZZ_RUNS=$(FUZZ_RUNS) scripts/run-font-fuzzer

soak: build
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_SANITIZE=ON \
	  -DZZ_BENCHMARKS=OFF $(CMAKE_FLAGS) >/dev/null
	@ninja -C $(ASAN_BUILD) -j$(JOBS) zizezed_soak
	SDL_VIDEODRIVER=dummy $(ASAN_BUILD)/tests/soak/zizezed_soak $(SOAK_FRAMES)
	SDL_VIDEODRIVER=dummy $(BUILD)/tests/soak/zizezed_soak --memory $(SOAK_FRAMES)

format:
	@find $(SOURCE_DIRS) -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
