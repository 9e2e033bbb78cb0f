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

.PHONY: all deps configure build test run bench clean

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

# The demo runs in build/run, where the build puts a font for its caption.
run: build
	cd $(BUILD)/run && ../../$(WITH_DISPLAY) ../src/demo/vardel-cloth

bench: build
	@for b in $$(cd $(BUILD)/bench && find . -type f -perm -u+x -name 'bench_*' | sort); do \
	  echo "== $$b"; (cd $(BUILD)/bench && ../../$(WITH_DISPLAY) $$b) || exit 1; done

clean:
	rm -rf build build-*
