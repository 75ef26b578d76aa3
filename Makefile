# The two commands a user needs are `make run` and `make test`; `make` alone builds.
BUILD      := build
ASAN_BUILD := build-asan
WIN_BUILD  := build-win
WIN_JOBS   := 2
JOBS       := $(shell nproc)
XVFB       := xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX +render -noreset"

.PHONY: all deps build run test test-release test-sanitize docs-pictures windows windows-deps clean

all: build

deps:
	@bash scripts/install-deps.sh

# Warnings stay warnings here (a newer compiler must not stop a user's build); the flag is left
# as `make test` set it, so switching between the two does not rebuild everything.
build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-saver.sh $(BUILD)

test: deps
	@$(MAKE) --no-print-directory test-release
	@$(MAKE) --no-print-directory test-sanitize

# The tests also check the include order and the formatting, and build with warnings as errors.
test-release:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVOSTREL_WERROR=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@echo "== tests (Release) =="
	@cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

# use_tls=0: the leak checker can crash on a GL driver's thread-local data at exit (see
# tests/support/lsan_options.cpp); system libraries' own lifetime data is suppressed.
test-sanitize:
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVOSTREL_SANITIZE=ON -DVOSTREL_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer) =="
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=use_tls=0:suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		$(XVFB) ctest --output-on-failure -j $(JOBS)

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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
