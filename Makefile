# The two commands of the README, and a few helpers.
#   make run        build and start the editor on the examples/site project, index.html open
#   make test       install dependencies, build, run every test and a short fuzz run
#   make install    install tsle, tsle-cli, the desktop entry, icons and help (PREFIX=/usr/local)
#   make screenshot render the window under Xvfb into build/screenshots/ and docs/
BUILD      ?= build
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)

.PHONY: all deps configure build run install screenshot test fuzz-smoke fuzz bench sanitize format tidy clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# Without a display (a server, CI) the editor cannot open a window: show the
# sample pages' meta-data with tsle-cli instead. The web engine of the preview
# refuses its sandbox when run as root; normal users keep it.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    if [ "$$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi; \
	    $(BUILD)/src/app/tsle examples/site examples/site/index.html; \
	else \
	    echo "make run: no display; the pages' meta-data from tsle-cli instead:"; \
	    $(BUILD)/src/cli/tsle-cli show $$(find examples/site -type f | sort); \
	fi

# PREFIX is built into the program (it finds its data there), so it is set
# when configuring; DESTDIR stages the files elsewhere, as packagers do.
PREFIX ?= /usr/local
install: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS) --target tsle tsle-cli
	DESTDIR=$(DESTDIR) cmake --install $(BUILD)
	@if [ -z "$(DESTDIR)" ]; then \
	    gtk-update-icon-cache -q -t $(PREFIX)/share/icons/hicolor 2>/dev/null || true; \
	    update-desktop-database -q $(PREFIX)/share/applications 2>/dev/null || true; \
	fi

screenshot: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target tsle
	scripts/screenshot.sh $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-smoke

# The page model under libFuzzer with ASan and UBSan, on a copy of the seed corpus.
$(FUZZ_BUILD)/build.ninja:
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTSLE_FUZZ=ON

fuzz-smoke: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	rm -rf $(FUZZ_BUILD)/corpus && cp -r fuzz/corpus $(FUZZ_BUILD)/corpus
	@status=0; $(FUZZ_BUILD)/fuzz/page_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus fuzz/corpus \
	    > $(FUZZ_BUILD)/fuzz.log 2>&1 || status=$$?; \
	tail -n 15 $(FUZZ_BUILD)/fuzz.log; exit $$status

fuzz: FUZZ_SECONDS=600
fuzz: fuzz-smoke

bench: build
	@scripts/install-deps.sh --bench
	scripts/run-bench.sh $(BUILD)

# Every test under ASan and UBSan.
sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTSLE_SANITIZE=ON -DTSLE_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy with the checks of .clang-tidy over the sources of the build;
# TIDY_FILES (a regular expression over paths) narrows it: TIDY_FILES=src/app/
TIDY_FILES ?= $(CURDIR)/(src|tests|bench)/
tidy: build
	@scripts/install-deps.sh --tidy
	run-clang-tidy -p $(BUILD) -j $(JOBS) -quiet '$(TIDY_FILES)'

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) build-asan
