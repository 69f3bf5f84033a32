# The two commands of the README: `make demo` and `make test`. Both set up the machine first.
#
# build/ always holds the 32-bit deliverables (build/korvet) and the stand-in HotSync installation
# (build/hotsync). Where this machine cannot run 32-bit code, the same sources are also built for
# 64-bit Windows in build/bench-x64, and the tests and the demo run there (see docs/architecture.md);
# build/ then holds only what the checks that run nothing read. KORVET_BENCH_ARCH=x86_64 takes that
# path on any machine (scripts/bench-arch).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release

.PHONY: setup build benchbuild checkedbuild bench demo test screenshots fuzz dist clean

setup:
	@scripts/setup

build: setup
	@programs=ON; [ "$$(scripts/bench-arch)" = i686 ] || programs=OFF; \
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DKORVET_TEST_PROGRAMS=$$programs \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Builds what the tests and the demo run: build/ itself, or build/bench-x64.
benchbuild: build
	@if [ "$$(scripts/bench-arch)" = x86_64 ]; then \
	  if [ "$${KORVET_BENCH_ARCH:-}" = x86_64 ]; then why="KORVET_BENCH_ARCH=x86_64"; \
	  elif [ "$$(scripts/bench-arch --kernel)" = i686 ]; then why="the 32-bit Wine (wine32:i386) is not installed"; \
	  else why="this machine's kernel runs no 32-bit code"; fi; \
	  echo "note: $$why; tests and demo run a 64-bit build of the same sources"; \
	  cmake -S . -B $(BUILD)/bench-x64 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null && \
	  cmake --build $(BUILD)/bench-x64 -j $(JOBS); \
	fi

# The checked build (README, "The checked build"): the same sources with undefined-behaviour traps,
# library assertions and stack protection in $(BUILD)/checked, for the architecture the tests run;
# only what its tests need is built there. make test builds it beside the suite (scripts/run-tests).
checkedbuild: benchbuild
	@scripts/build-checked $(BUILD) $(JOBS)

demo: benchbuild
	@scripts/demo $$(scripts/bench-dir $(BUILD))

# What a Windows user gets, made with every 32-bit build: $(BUILD)/dist/Korvet and its zip.
dist: build
	@echo "$(BUILD)/dist/Korvet/:"; ls $(BUILD)/dist/Korvet; echo "$(BUILD)/dist/Korvet.zip"

# The sources as clang-format leaves them, one build enough before and after the suite, the static
# checks of the 32-bit deliverables on the 64-bit path, the suite, and the checked build's tests
# (scripts/run-tests says how and why).
test: benchbuild
	@scripts/run-tests $(BUILD) $(JOBS)

# A PNG of each window of the desktop programs and the conduit dialog, caption included, in
# <bench>/screenshots (not part of the tests; docs/screenshots holds the committed copies).
screenshots: benchbuild
	@scripts/setup screenshots
	@bench=$$(scripts/bench-dir $(BUILD)); \
	xvfb-run -a -s "-screen 0 1024x768x24" scripts/screenshots $$bench $(BUILD)/screenshots

# The benchmark (README, "Performance"): results in $(BUILD)/bench; never part of make test.
bench: benchbuild
	@scripts/bench-setup
	@scripts/bench $$(scripts/bench-dir $(BUILD)) $(BUILD)/bench

# Longer than in make test: the native fuzz targets (FUZZ_RUNS inputs each; a finding is saved in
# $(BUILD)/native/fuzz-found), then the hostile-input sweep: make fuzz SEED=7 CASES=5000, on the
# checked build with CHECKED=1. A failing case prints its seed and index; add it to
# tests/sweep/hostile_regressions.txt (or its input to the target's corpus in tests/fuzz/corpus)
# once it is fixed.
SEED ?= 1
CASES ?= 2000
FUZZ_RUNS ?= 2000000
CHECKED ?=
fuzz: $(if $(CHECKED),checkedbuild,benchbuild)
	@scripts/native-check $(BUILD) $(JOBS) $(FUZZ_RUNS)
	@cd $(if $(CHECKED),$(BUILD)/checked,$$(scripts/bench-dir $(BUILD))) && \
	bash $(CURDIR)/tests/session_sweep.sh $(CURDIR) $$PWD hostile $(SEED) $(CASES)

clean:
	rm -rf $(BUILD)
