# Zelvar: the two set-up commands.
#   make run   installs missing packages, builds and starts the editor
#   make test  installs missing packages, builds and runs every test

BUILD    ?= build
WERROR   ?= ON
JOBS     ?= 2
WORKDIR  ?= $(HOME)/.local/share/zelvar

# Debian 12 packages the build, the tests and the running program need.
PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev \
            libbenchmark-dev fonts-dejavu-core fonts-liberation xdg-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench workdir format format-check clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVAR_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

workdir:
	@scripts/prepare-workdir.sh "$(CURDIR)/data" "$(WORKDIR)"

run: build workdir
	cd "$(WORKDIR)" && exec "$(CURDIR)/$(BUILD)/zelvar"

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/zelvar_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check:
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
