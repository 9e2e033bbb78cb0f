# Thin wrapper over CMake: `make run`, `make test`, `make bench`.
# SANITIZE=address,undefined or SANITIZE=thread builds in a separate folder with those sanitizers.

SANITIZE ?=
JOBS ?= $(shell nproc)
comma := ,
ifeq ($(SANITIZE),)
BUILD := build
else
BUILD := build-$(subst $(comma),-,$(SANITIZE))
endif
CMAKE_FLAGS := -G Ninja -DVARDEL_SANITIZE=$(SANITIZE)
WITH_DISPLAY := scripts/with-display.sh

.PHONY: all deps configure build test run bench docs package windows windows-test clean

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ../$(WITH_DISPLAY) ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The demo runs in build/run, where the build puts a font for its caption; ARGS go to the demo.
# Without a display it draws a short session off screen and prints where its picture went.
run: build
	@bash scripts/run.sh $(BUILD) $(ARGS)

bench: build
	@for b in $$(cd $(BUILD)/bench && find . -type f -perm -u+x -name 'bench_*' | sort); do \
	  echo "== $$b"; (cd $(BUILD)/bench && ../../$(WITH_DISPLAY) $$b) || exit 1; done

# The API reference in build/docs/html, from the public headers; fails on a Doxygen warning.
docs: configure
	cmake --build $(BUILD) --target docs

# A Debian package of the framework and the demo, in the build folder.
package: build
	cd $(BUILD) && cpack

# The same source cross-built for 64-bit Windows with mingw-w64, FreeType built from Debian's
# source package beside it.
WINDOWS := build-windows
WINDOWS_TOOLCHAIN := cmake/mingw-w64.cmake

windows:
	@bash scripts/deps.sh windows
	JOBS=$(JOBS) bash scripts/windows-freetype.sh $(WINDOWS_TOOLCHAIN) $(WINDOWS)/freetype
	cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_TOOLCHAIN) \
	  -DCMAKE_FIND_ROOT_PATH=$(CURDIR)/$(WINDOWS)/freetype -DVARDEL_BENCH=OFF
	cmake --build $(WINDOWS) -j $(JOBS)

# The Windows build under Wine: its unit tests, and the demo checked by this build's wine_cloth_check.
windows-test: windows build
	$(WITH_DISPLAY) scripts/windows-test.sh $(WINDOWS) $(BUILD)

clean:
	rm -rf build build-*
