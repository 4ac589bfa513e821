# SPDX-License-Identifier: GPL-3.0-or-later
# Everything a fresh Debian 12 machine needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all setup build run test test-asan bench screenshot demo package bundle bundle-test fuzz clean format format-check lint

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

# Without a game in the player's own home, the program runs on a made-up home that holds two
# installs, so the game-folders box has something to offer.
run: demo
	@if $(BUILD)/vestimo games | grep -qx "No game found"; then \
	  rm -rf $(BUILD)/demo-home && $(BUILD)/tools/vestimo-demo --fake-home $(BUILD)/demo-home && \
	  echo "No game install found in your home; using the demo home $(BUILD)/demo-home" && \
	  cd $(BUILD)/demo-skins && HOME=$(CURDIR)/$(BUILD)/demo-home WINEPREFIX= ../vestimo; \
	else cd $(BUILD)/demo-skins && ../vestimo; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The portable bundle for any distribution and the Steam Deck: $(BUILD)/vestimo-<version>-x86_64.tar.gz.
bundle: build
	scripts/bundle $(BUILD)

# The bundle unpacked and run three ways, every Qt library and plugin loaded from it.
bundle-test: bundle
	scripts/bundle-test $(BUILD)

bench: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target vestimo_bench vestimo_cli_bench vestimo_games_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/vestimo_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/vestimo_cli_bench
	$(BUILD)/vestimo_games_bench

$(ASAN_BUILD)/build.ninja: | setup
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVESTIMO_SANITIZE=ON

test-asan: setup $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=5

# Pictures of both windows on the demo skins, drawn on a virtual display.
screenshot: demo
	mkdir -p docs
	xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/tools/vestimo-screenshot $(BUILD)/demo-skins docs

# A Debian package of the program (build/vestimo_*.deb), checked by lintian where it is installed.
# Only the program and its data are built: the package holds nothing else.
package: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target vestimo
	cd $(BUILD) && cpack -G DEB
	if command -v lintian >/dev/null; then lintian --pedantic -I -E --fail-on error,warning,info,pedantic $$(ls -t $(BUILD)/vestimo_*.deb | head -n 1); fi

# Each fuzzer runs FUZZ_SECONDS (60 by default) from a seed corpus of real skin descriptions.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
REALWORLD    ?= ../shared/realworld/cmx
BODIES       ?= ../shared/realworld/bodies
SIM_FUZZERS   = fuzz_sim_skeleton fuzz_sim_suit fuzz_sim_skn fuzz_sim_bcf fuzz_sim_bmf

$(FUZZ_BUILD)/build.ninja: | setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVESTIMO_FUZZ=ON -DVESTIMO_SANITIZE=ON -DVESTIMO_BUILD_TESTS=OFF -DVESTIMO_BUILD_BENCH=OFF

fuzz: setup $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_cmx_walk fuzz_listing_reader $(SIM_FUZZERS)
	mkdir -p $(FUZZ_BUILD)/corpus/cmx $(FUZZ_BUILD)/corpus/listing
	-cp -n $(REALWORLD)/*.cmx $(FUZZ_BUILD)/corpus/cmx/ 2>/dev/null
	printf 'B001FAFit_x.cmx\r\nC001MA_y.cmx\r\n' > $(FUZZ_BUILD)/corpus/listing/seed
	ASAN_OPTIONS=detect_leaks=0 $(FUZZ_BUILD)/fuzz/fuzz_cmx_walk -max_total_time=$(FUZZ_SECONDS) -max_len=4096 $(FUZZ_BUILD)/corpus/cmx
	ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/fuzz/fuzz_listing_reader -max_total_time=$(FUZZ_SECONDS) -max_len=4096 $(FUZZ_BUILD)/corpus/listing
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_far_manifest
	mkdir -p $(FUZZ_BUILD)/corpus/far && printf 'FAR!byAZ\001\000\000\000\022\000\000\000hi\001\000\000\000\002\000\000\000\002\000\000\000\020\000\000\000\001\000\000\000a' > $(FUZZ_BUILD)/corpus/far/seed
	ASAN_OPTIONS=detect_leaks=0 $(FUZZ_BUILD)/fuzz/fuzz_far_manifest -max_total_time=$(FUZZ_SECONDS) -max_len=4096 $(FUZZ_BUILD)/corpus/far
	mkdir -p $(addprefix $(FUZZ_BUILD)/corpus/,$(SIM_FUZZERS))
	-cp -n $(BODIES)/*skeleton.cmx $(FUZZ_BUILD)/corpus/fuzz_sim_skeleton/ 2>/dev/null
	-cp -n $(BODIES)/*.cmx $(FUZZ_BUILD)/corpus/fuzz_sim_suit/ 2>/dev/null
	-cp -n $(BODIES)/*.skn $(FUZZ_BUILD)/corpus/fuzz_sim_skn/ 2>/dev/null
	printf '\000\000\000\000\000\000\000\000' > $(FUZZ_BUILD)/corpus/fuzz_sim_bcf/seed
	printf '\001m\001x\001\000\000\000\001R\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' > $(FUZZ_BUILD)/corpus/fuzz_sim_bmf/seed
	for f in $(SIM_FUZZERS); do \
	  ASAN_OPTIONS=detect_leaks=0 $(FUZZ_BUILD)/fuzz/$$f -max_total_time=$(FUZZ_SECONDS) -max_len=65536 $(FUZZ_BUILD)/corpus/$$f || exit 1; \
	done

# Formatting and static checks (clang-format and clang-tidy, the versions Debian ships).
SOURCES = $(shell git ls-files '*.cpp' '*.h')

format: setup
	clang-format -i $(SOURCES)

format-check: setup
	clang-format --dry-run --Werror $(SOURCES)

lint: build
	run-clang-tidy -quiet -p $(BUILD) -j $(JOBS) '$(CURDIR)/(src|app)/.*\.cpp$$'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
