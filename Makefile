# Zelvar: the two set-up commands.
#   make run   installs missing packages, builds and starts the editor
#   make test  installs missing packages, builds and runs every test
# and the desktop ones:
#   make install [PREFIX=/usr/local]   installs the editor system-wide
#   make package                       builds the Debian package
#   make perf [BASE=commit]            times the program on a virtual display

BUILD    ?= build
WERROR   ?= ON
JOBS     ?= 2
PREFIX   ?= /usr/local
# Another working folder for make run (default: the launcher's own choice).
WORKDIR  ?=
# File names for make run to open into the pages.
ARGS     ?=

# Debian 12 packages the build, the tests and the running program need.
PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev \
            libbenchmark-dev libtidy-dev fonts-dejavu-core fonts-liberation xdg-utils \
            libhunspell-dev hunspell-cs hunspell-en-us qt6-webengine-dev

# The packaging and desktop-file checking tools (make package, make validate).
PACKAGE_TOOLS := dpkg-dev file desktop-file-utils appstream

# The virtual display of make screenshot.
SCREENSHOT_PACKAGES := xvfb xauth
# make perf: the program timed on a virtual display with real key events,
# beside a build of BASE (a commit) when given.
PERF_PACKAGES := xvfb xauth xdotool matchbox-window-manager python3
BASE ?=
PERF_RUNS ?= 3
# Where make screenshot saves its picture (the README shows it).
SCREENSHOT ?= desktop/screenshot.png

# --- Checks: sanitizer tests and fuzz targets ---------------------------------
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD     ?= build-fuzz
# Commands of the soak run (tests/tst_soak.cpp) and megabytes of the binary
# file of the bad working folders (tests/tst_badfolders.cpp); empty: the
# tests' short defaults.
SOAK_COMMANDS  ?=
BIG_FILE_MB    ?=
# Seconds each fuzz target runs on its corpus.
FUZZ_SECONDS   ?= 60
FUZZ_TARGETS   := rtf cp1250 pagefile tagfile htmlsyntax
# libFuzzer comes with clang and its runtime libraries.
FUZZ_PACKAGES  := clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# ccache, where it is installed, serves rebuilds and other clones of the tree.
CCACHE := $(shell command -v ccache)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
LAUNCHER := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE))

.PHONY: all deps configure build run test bench format format-check clean
.PHONY: test-sanitize fuzz fuzz-deps fuzz-build perf

all: build

# Installs the Debian packages of $(1) that are missing.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVAR_WERROR=$(WERROR) $(LAUNCHER)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The same launcher as the installed command, pointed at the build and the
# sources' data files.
run: build
	ZELVAR_PROGRAM="$(CURDIR)/$(BUILD)/zelvar" ZELVAR_DATA="$(CURDIR)/data" \
	  $(if $(WORKDIR),ZELVAR_WORKDIR="$(WORKDIR)") scripts/zelvar $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (no benchmarks); any report fails its test.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZELVAR_SANITIZE=ON \
	  -DZELVAR_BENCH=OFF -DZELVAR_WERROR=$(WERROR) $(LAUNCHER)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  $(if $(SOAK_COMMANDS),ZELVAR_SOAK_COMMANDS=$(SOAK_COMMANDS)) \
	  $(if $(BIG_FILE_MB),ZELVAR_BIG_FILE_MB=$(BIG_FILE_MB)) \
	  ctest --output-on-failure -j$(JOBS)

# The same package step, with the fuzz packages added to the list.
fuzz-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"

fuzz-build: fuzz-deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DZELVAR_FUZZ=ON -DZELVAR_WERROR=$(WERROR) $(LAUNCHER)
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

# Each fuzz target runs FUZZ_SECONDS on its corpus. New inputs go into a
# scratch folder, never into the corpus in the repository; a crash, a
# sanitizer report, a failed check or an input slower than 1 s stops the run
# with the input saved in $(FUZZ_BUILD)/failures/.
fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/failures
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t || exit 1; \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=1 \
	    -rss_limit_mb=2048 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/failures/$$t- \
	    $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/zelvar_bench

# --- Desktop integration and the Debian package ----------------------------
.PHONY: install package package-tools validate screenshot

# Without sudo when the prefix can be written to as the user.
install: build
	@if mkdir -p "$(PREFIX)" 2>/dev/null && [ -w "$(PREFIX)" ]; then \
	  cmake --install $(BUILD) --prefix "$(PREFIX)"; \
	else \
	  $(SUDO) cmake --install $(BUILD) --prefix "$(PREFIX)"; \
	fi

package-tools:
	$(call install-missing,$(PACKAGE_TOOLS))

# Gives $(BUILD)/zelvar_2.0_amd64.deb.
package: build package-tools
	cd $(BUILD) && cpack -G DEB

# The program on a virtual display, in a fresh working folder, with the HTML
# structure template in colour.
perf: build
	$(call install-missing,$(PERF_PACKAGES))
	python3 scripts/perf.py --build $(BUILD) --runs $(PERF_RUNS) $(if $(BASE),--base $(BASE))

screenshot: build
	$(call install-missing,$(SCREENSHOT_PACKAGES))
	scripts/screenshot.sh $(BUILD) $(SCREENSHOT)

validate: package-tools
	desktop-file-validate desktop/cz.zelvar.Zelvar.desktop
	appstreamcli validate --no-net desktop/cz.zelvar.Zelvar.metainfo.xml

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check:
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
