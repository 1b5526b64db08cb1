# The two commands of the README (`make run`, `make test`) and their helpers. Every target
# first installs the Debian packages that are missing, so a fresh Debian 12 machine needs
# nothing else.

BUILD_DIR ?= build
PREFIX    ?= /usr/local
JOBS      ?= $(shell nproc)

DEBIAN_PACKAGES := \
    cmake ninja-build g++ pkg-config \
    qt6-base-dev libqt6svg6 qt6-gtk-platformtheme adwaita-icon-theme fonts-liberation2 \
    libarchive-dev libsqlite3-dev nettle-dev libgtest-dev libgmock-dev libbenchmark-dev \
    zip unzip 7zip libarchive-tools xvfb libglib2.0-bin desktop-file-utils

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps configure build run test install clean

all: build

deps:
	@missing=$$(for p in $(DEBIAN_PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing the missing Debian packages:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)."; \
	    echo "Start it from a desktop session, or under a virtual one: xvfb-run -a $(BUILD_DIR)/bin/tamblewick"; \
	    exit 1; \
	fi
	$(BUILD_DIR)/bin/tamblewick

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR)
