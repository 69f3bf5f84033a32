# The two commands of the README: `make demo` and `make test`. Both set up the machine first.
#
# build/ always holds the 32-bit deliverables (build/korvet) and the stand-in HotSync installation
# (build/hotsync). Where this machine cannot run 32-bit code, the same sources are also built for
# 64-bit Windows in build/bench-x64, and the tests and the demo run there (see docs/architecture.md).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release

.PHONY: setup build benchbuild checkedbuild bench demo test screenshots fuzz dist clean

setup:
	@scripts/setup

build: setup
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Builds what the tests and the demo run: build/ itself, or build/bench-x64.
benchbuild: build
	@if [ "$$(scripts/bench-arch)" = x86_64 ]; then \
	  echo "note: this machine cannot run 32-bit code; tests and demo run a 64-bit build of the same sources"; \
	  cmake -S . -B $(BUILD)/bench-x64 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null && \
	  cmake --build $(BUILD)/bench-x64 -j $(JOBS); \
	fi

# The checked build (README, "Sweeps"): the same sources with undefined-behaviour traps, library
# assertions and stack protection in $(BUILD)/checked, for the architecture the tests run; only what
# its tests need (korvet_checked) is built there.
checkedbuild: benchbuild
	@arch=$$(scripts/bench-arch); \
	cmake -S . -B $(BUILD)/checked $(CMAKE_FLAGS) -DKORVET_CHECKED=ON -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$$arch.cmake >/dev/null && \
	cmake --build $(BUILD)/checked -j $(JOBS) --target korvet_checked

demo: benchbuild
	@scripts/demo $$(scripts/bench-dir $(BUILD))

# What a Windows user gets, made with every 32-bit build: $(BUILD)/dist/Korvet and its zip.
dist: build
	@echo "$(BUILD)/dist/Korvet/:"; ls $(BUILD)/dist/Korvet; echo "$(BUILD)/dist/Korvet.zip"

# The sources must be as clang-format leaves them (scripts/check-format --fix formats them). One build
# is enough, before the suite and after it: nothing the tests leave may make the next
# build (make screenshots, make demo) start over. Then the checked build's tests (label checked) in
# the same Wine prefix. Wine's server and its service processes are started first, their output
# elsewhere, and the server stays up until both suites are done: started by a test, they would hold
# that test's output pipe open until the last test ends; and a server that quits between two tests
# (3 seconds after its last program) refuses the next program while it goes ("a wine server seems to
# be running, but I cannot connect to it").
test: benchbuild checkedbuild
	@set -e; bench=$$(scripts/bench-dir $(BUILD)); \
	scripts/check-format; \
	scripts/build-is-current $(BUILD) $$bench; \
	if [ "$$bench" != "$(BUILD)" ]; then \
	  echo "== checks of the 32-bit deliverables in $(BUILD)"; \
	  (cd $(BUILD) && ctest --output-on-failure -L static); \
	fi; \
	echo "== test suite in $$bench"; \
	export KORVET_WINEPREFIX=$$(cd $$bench && pwd)/wineprefix; \
	scripts/wine-run --build $$bench cmd /c exit </dev/null >/dev/null 2>&1 || true; \
	WINEPREFIX=$$KORVET_WINEPREFIX wineserver -w; \
	WINEPREFIX=$$KORVET_WINEPREFIX wineserver -p </dev/null >/dev/null 2>&1 || true; \
	scripts/wine-run --build $$bench cmd /c exit </dev/null >/dev/null 2>&1 || true; \
	suite=0; (cd $$bench && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j $(JOBS)) || suite=$$?; \
	echo "== checked build in $(BUILD)/checked (Wine prefix of $$bench)"; \
	(cd $(BUILD)/checked && ctest --output-on-failure -L checked -j $(JOBS)) || suite=1; \
	WINEPREFIX=$$KORVET_WINEPREFIX wineserver -k </dev/null >/dev/null 2>&1 || true; \
	scripts/build-is-current $(BUILD) $$bench || suite=1; \
	exit $$suite

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

# A longer hostile-input sweep than the one in make test: make fuzz SEED=7 CASES=5000, on the checked
# build with CHECKED=1. A failing case prints its seed and index; add it to
# tests/sweep/hostile_regressions.txt once it is fixed.
SEED ?= 1
CASES ?= 2000
CHECKED ?=
fuzz: $(if $(CHECKED),checkedbuild,benchbuild)
	@cd $(if $(CHECKED),$(BUILD)/checked,$$(scripts/bench-dir $(BUILD))) && \
	bash $(CURDIR)/tests/session_sweep.sh $(CURDIR) $$PWD hostile $(SEED) $(CASES)

clean:
	rm -rf $(BUILD)
