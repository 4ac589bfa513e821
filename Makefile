# Everything a fresh Debian 12 machine needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
export QT_QPA_PLATFORM ?= offscreen

.PHONY: all setup build run test test-asan bench screenshot demo clean

all: build

setup:
	@scripts/setup

$(BUILD)/build.ninja: | setup
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	rm -rf $(BUILD)/demo-skins
	$(BUILD)/tools/vestimo-demo $(BUILD)/demo-skins

run: demo
	cd $(BUILD)/demo-skins && env -u QT_QPA_PLATFORM ../vestimo

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | setup
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVESTIMO_SANITIZE=ON

test-asan: setup $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Pictures of both windows on the demo skins, drawn on a virtual display.
screenshot: demo
	mkdir -p docs
	env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/tools/vestimo-screenshot $(BUILD)/demo-skins docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
