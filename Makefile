# Zelvar: the two set-up commands.
#   make run   installs missing packages, builds and starts the editor
#   make test  installs missing packages, builds and runs every test
# and the desktop ones:
#   make install [PREFIX=/usr/local]   installs the editor system-wide
#   make package                       builds the Debian package

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
            libbenchmark-dev fonts-dejavu-core fonts-liberation xdg-utils

# The packaging and desktop-file checking tools (make package, make validate).
PACKAGE_TOOLS := dpkg-dev file desktop-file-utils appstream

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench format format-check clean

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

# ccache, where it is installed, serves rebuilds and other clones of the tree.
CCACHE := $(shell command -v ccache)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
LAUNCHER := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE))

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

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/zelvar_bench

# --- Desktop integration and the Debian package ----------------------------
.PHONY: install package package-tools validate

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

validate: package-tools
	desktop-file-validate desktop/cz.zelvar.Zelvar.desktop
	appstreamcli validate --no-net desktop/cz.zelvar.Zelvar.metainfo.xml

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check:
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
