# The two commands a user needs are `make run` and `make test`; `make` alone builds.
BUILD      := build
ASAN_BUILD := build-asan
TSAN_BUILD := build-tsan
WIN_BUILD  := build-win
WIN_JOBS   := 2
JOBS       := $(shell nproc)
# The builds' own makes would each say which folder they enter.
MAKEFLAGS  += --no-print-directory

.PHONY: all deps test-deps build run check test test-release test-sanitize test-threads docs-pictures windows \
	windows-deps test-windows clean

all: build

deps:
	@bash scripts/install-deps.sh

test-deps:
	@bash scripts/install-deps.sh --tests

# The programs and their data only; `make test` builds the tests and benchmarks beside them in
# the same folder with the same flags, so nothing is compiled twice. Warnings stay warnings
# here (a newer compiler must not stop a user's build); the sanitizer builds of `make test`
# compile every file again with warnings as errors.
RELEASE_FLAGS := -DCMAKE_BUILD_TYPE=Release -DVOSTREL_WERROR=OFF

build: deps
	@cmake -S . -B $(BUILD) $(RELEASE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target vostrel_programs

run: build
	@bash scripts/run-saver.sh $(BUILD)

# The everyday check, minutes where `make test` takes half an hour: the Release build as
# `make test` makes it, the unit tests, the include and format checks and the quick
# end-to-end scripts (scripts/check.sh).
check: test-deps
	@bash scripts/check.sh $(BUILD)

# Each build's tests run under a private X server with a home folder of their own (see the
# script); the last lines say how many passed in each build and how long each took.
SUMMARY := $(BUILD)/test-summary.txt

test: test-deps windows-deps
	@rm -f $(SUMMARY)
	@$(MAKE) test-release
	@$(MAKE) test-sanitize
	@$(MAKE) test-threads
	@SUMMARY=$(CURDIR)/$(SUMMARY) $(MAKE) test-windows
	@echo "== summary =="
	@cat $(SUMMARY)

# The tests also check the include order and the formatting.
test-release:
	@cmake -S . -B $(BUILD) $(RELEASE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@echo "== tests (Release) =="
	@bash scripts/run-tests.sh $(BUILD) "Release" $(CURDIR)/$(SUMMARY)

# The leak checker's own settings are built into every sanitized program
# (tests/support/lsan_options.cpp); system libraries' lifetime data is suppressed.
test-sanitize:
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVOSTREL_SANITIZE=ON -DVOSTREL_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer) =="
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		bash scripts/run-tests.sh $(ASAN_BUILD) "Sanitizers" $(CURDIR)/$(SUMMARY)

# The audio's threads under ThreadSanitizer: only the audio tests are built and run, one at a
# time, since the instrumented output's timing tests would starve each other on a small machine.
test-threads:
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVOSTREL_THREAD_SANITIZE=ON -DVOSTREL_WERROR=ON >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_audio vostrel_data
	@echo "== audio tests (ThreadSanitizer) =="
	@TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 TEST_JOBS=1 \
		bash scripts/run-tests.sh $(TSAN_BUILD) "ThreadSanitizer" $(CURDIR)/$(SUMMARY) audio

# Every picture in docs/: the data folder's (from its generators) and the show's (rendered
# offscreen from the table in tools/docs/render_pictures.py; a few minutes).
docs-pictures: build
	@/usr/bin/python3 -B tools/datagen/make_docs.py docs
	@/usr/bin/python3 -B tools/docs/render_pictures.py $(BUILD) docs

# The Windows saver, cross-built with mingw-w64 into $(WIN_BUILD)/. The libraries Debian does not
# ship for mingw are built first from Debian's sources (once, cached in $(WIN_BUILD)/deps: minutes,
# most of them libopenmpt's). At most two jobs: the machines this runs on are shared.
windows-deps:
	@bash scripts/install-windows-deps.sh

windows: windows-deps
	@JOBS=$(WIN_JOBS) bash scripts/build-windows-libs.sh $(WIN_BUILD)
	@cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw64.cmake \
		-DVOSTREL_WIN_DEPS=$(CURDIR)/$(WIN_BUILD)/deps/prefix >/dev/null
	@cmake --build $(WIN_BUILD) -j $(WIN_JOBS)
	@bash scripts/report-windows-build.sh $(WIN_BUILD)

# The Windows saver as a user gets it, under Wine and a private X server: the installer run
# silently into a fresh prefix, the saver, its settings and report, the uninstaller. The time
# printed at the end counts the build too.
test-windows:
	@started=$$(date +%s); $(MAKE) windows && bash scripts/test-windows.sh $(WIN_BUILD) $$started

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(WIN_BUILD)
