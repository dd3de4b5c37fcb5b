# Korvane: two commands on a fresh Debian 12 machine.
#   make run   install what is missing, build, start the game from the repo root
#   make test  the same set-up, then the whole test suite through CTest
# make help lists every target. Each target's line there is the `## ...` comment just above
# it: a new target needs one, and a place in .PHONY. Build details: docs/building.md.

BUILD      ?= build
ASAN_BUILD ?= build-asan
ASSET_BUILD ?= build-assets
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
XVFB       := xvfb-run -a -s "-screen 0 1280x1024x24 -noreset"
# Leak detection on; tests/lsan.supp names the few third-party libraries whose set-up
# allocations stay to the end. Any report fails the run.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Debian packages: what the game needs to build and run, and what the tests add.
RUN_PACKAGES  := build-essential cmake pkg-config libsdl1.2-dev libsdl-image1.2-dev \
                 libsdl-mixer1.2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
# What make deb adds (the package's build-dependencies are the game's, above); the package
# test of make test needs them too, and appstream to check the software-centre data.
DEB_PACKAGES  := git debhelper dpkg-dev lintian
TEST_PACKAGES := zlib1g-dev libpng-dev libjpeg62-turbo-dev googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool \
                 x11-utils x11-apps evilwm imagemagick sox python3 desktop-file-utils \
                 openssl libsdl2-2.0-0 appstream stress-ng $(DEB_PACKAGES)
ASSET_PACKAGES := libstb-dev libvorbis-dev
# The long reliability runs only: memcheck, and clang with libFuzzer.
CHECK_PACKAGES := valgrind clang
SOAK_FRAMES    ?= 20000
FUZZ_SECONDS   ?= 180
FUZZ_BUILD     ?= build-fuzz
WIN_BUILD      ?= build-windows
# The browser build's folder (its targets live beside the others); make clean removes it.
WEB_BUILD      ?= build-web

.PHONY: help run test test-compat test-stress compat-headers build asan assets bench frames clean \
        deps-run deps-test deps-assets deps-check soak valgrind faults fuzz deb deps-deb \
        windows test-windows deps-windows deps-test-windows web serve-web test-web deps-web

## list every target with what it does (this list)
help:
	@awk -f tools/make-help.awk $(MAKEFILE_LIST)

# Another installer (unattended upgrades, a second make) may hold the dpkg lock: apt waits
# for it up to DPKG_LOCK_WAIT seconds, then gives up with the message below.
DPKG_LOCK_WAIT ?= 600
APT_GET := DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=$(DPKG_LOCK_WAIT)
define install_missing
	@missing=$$(for p in $(1); do \
	    got=$$(dpkg-query -W -f='$${Status} $${Version}' $${p%%=*} 2>/dev/null); \
	    case $$p in *=*) [ "$$got" = "install ok installed $${p#*=}" ];; \
	                *) case $$got in "install ok installed "*) ;; *) false;; esac;; esac || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    if [ "$$(id -u)" = 0 ]; then \
	        echo "Installing: $$missing (waiting up to $(DPKG_LOCK_WAIT) s for the dpkg lock)"; \
	        ($(APT_GET) install -y --no-install-recommends $$missing || \
	         ($(APT_GET) update && $(APT_GET) install -y --no-install-recommends $$missing)) >/dev/null || \
	        { echo "Could not install: $$missing (apt-get's reason above; if the dpkg lock was" \
	               "held all $(DPKG_LOCK_WAIT) s, let the other installer finish and retry)"; exit 1; }; \
	    else \
	        echo "Missing Debian packages. Install them with:"; \
	        echo "  sudo apt-get install -y $$missing"; exit 1; \
	    fi; \
	fi
endef

## install (as root) the Debian packages the game needs to build and run
deps-run:
	$(call install_missing,$(RUN_PACKAGES))

## install the packages of deps-run and those the test suite adds
deps-test: deps-run
	$(call install_missing,$(TEST_PACKAGES))

## install the packages of deps-test and valgrind and clang (long runs)
deps-check: deps-test
	$(call install_missing,$(CHECK_PACKAGES))

## install the packages the data generators of tools/ need
deps-assets:
	$(call install_missing,$(ASSET_PACKAGES))

## install the packages of deps-run and those make deb needs
deps-deb: deps-run
	$(call install_missing,$(DEB_PACKAGES))

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

## build the game, the tests and the benchmarks in build/
build: deps-run $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

## install what is missing, build the game, play it from the repository root
run: deps-run $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target korvane
	./$(BUILD)/korvane

## install what is missing, build, run the whole suite (CTest, under Xvfb)
test: deps-test $(BUILD)/CMakeCache.txt
	cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# sdl12-compat, the SDL 1.2 that Debian 13, Fedora and Arch ship (on SDL 2), is Debian 12's
# libsdl1.2-compat: fetched with apt-get download (no root needed) and unpacked into the build
# tree, never installed (it conflicts with the classic library's -dev package). The suite
# then runs with it first on LD_LIBRARY_PATH; ldd proves it is the one the game loads.
MULTIARCH  := $(shell gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
COMPAT     := $(BUILD)/sdl12-compat
COMPAT_LIB := $(CURDIR)/$(COMPAT)/usr/lib/$(MULTIARCH)/sdl12-compat

$(COMPAT)/unpacked:
	rm -rf $(COMPAT) && mkdir -p $(COMPAT)/debs
	cd $(COMPAT)/debs && apt-get download libsdl1.2-compat libsdl1.2-compat-dev
	for deb in $(COMPAT)/debs/*.deb; do dpkg-deb -x $$deb $(COMPAT) || exit 1; done
	touch $@

## the whole suite again on sdl12-compat (SDL 1.2 on SDL 2), unpacked into build/
test-compat: deps-test $(BUILD)/CMakeCache.txt $(COMPAT)/unpacked
	cmake --build $(BUILD) -j $(JOBS)
	LD_LIBRARY_PATH=$(COMPAT_LIB) ldd $(BUILD)/korvane | grep -q '$(COMPAT_LIB)/libSDL-1.2.so.0' || \
	    { echo "the game does not load sdl12-compat from $(COMPAT_LIB)"; exit 1; }
	LD_LIBRARY_PATH=$(COMPAT_LIB) $(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The end-to-end tests under load, on each SDL 1.2: STRESS_RUNS rounds of STRESS_TESTS
# (ctest arguments) with one busy process a core; passes / runs per test and library.
STRESS_RUNS  ?= 10
STRESS_TESTS ?= -L e2e
## the end-to-end tests STRESS_RUNS times on each SDL 1.2, every core busy
test-stress: deps-test $(BUILD)/CMakeCache.txt $(COMPAT)/unpacked
	cmake --build $(BUILD) -j $(JOBS)
	@echo "== classic SDL 1.2"; bash tests/e2e/stress.sh $(BUILD) $(STRESS_RUNS) $(STRESS_TESTS); \
	    classic=$$?; echo "== sdl12-compat"; LD_LIBRARY_PATH=$(COMPAT_LIB) \
	    bash tests/e2e/stress.sh $(BUILD) $(STRESS_RUNS) $(STRESS_TESTS) && [ $$classic -eq 0 ]

# The game built against the compat headers alone, as on a distribution that has no other
# SDL 1.2 headers: SDL_image's and SDL_mixer's headers are copied beside them (so their own
# #include "SDL.h" finds the compat one) and pkg-config reads a copy of its sdl.pc.
## the game built against the sdl12-compat headers alone (build-compat-headers/)
compat-headers: deps-run $(COMPAT)/unpacked
	cp /usr/include/SDL/SDL_image.h /usr/include/SDL/SDL_mixer.h $(COMPAT)/usr/include/SDL/
	ln -sf sdl12-compat/libSDL-1.2.so.0 $(COMPAT)/usr/lib/$(MULTIARCH)/libSDL-1.2.so.0
	mkdir -p $(COMPAT)/pc && sed 's|/usr|$(CURDIR)/$(COMPAT)/usr|' \
	    $(COMPAT)/usr/lib/$(MULTIARCH)/pkgconfig/sdl.pc >$(COMPAT)/pc/sdl.pc
	PKG_CONFIG_PATH=$(CURDIR)/$(COMPAT)/pc cmake -S . -B $(BUILD)-compat-headers \
	    -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_BENCH=OFF >/dev/null
	cmake --build $(BUILD)-compat-headers -j $(JOBS) --target korvane
	grep -q '$(CURDIR)/$(COMPAT)/usr/include/SDL' $(BUILD)-compat-headers/compile_commands.json
	LD_LIBRARY_PATH=$(COMPAT_LIB) ldd $(BUILD)-compat-headers/korvane | grep -q '$(COMPAT_LIB)/libSDL-1.2.so.0'
	@echo "built against the sdl12-compat headers: $(BUILD)-compat-headers/korvane"

## the whole suite under AddressSanitizer + UBSan, leaks checked (build-asan/)
asan: deps-test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	$(SANITIZER_ENV) $(XVFB) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The generators build in their own folder, so the game's build never needs their packages.
## rebuild everything in data/ from the generators in tools/ (build-assets/)
assets: deps-run deps-assets
	cmake -S . -B $(ASSET_BUILD) -DKORVANE_BUILD_TOOLS=ON -DKORVANE_BUILD_TESTS=OFF \
	    -DKORVANE_BUILD_BENCH=OFF >/dev/null
	cmake --build $(ASSET_BUILD) -j $(JOBS) --target assets

# The Debian package, built by dpkg-buildpackage from a copy of the sources in $(BUILD)/deb,
# where the .deb, .changes and .buildinfo land; lintian must find no error or warning.
## the Debian package, built and lintian-checked in build/deb/
deb: deps-deb
	bash dist/make-deb.sh $(BUILD)/deb

## the Google Benchmark programs under Xvfb
bench: deps-test $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	$(XVFB) sh -c 'for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done'

# FRAMES frames of scripted play, each followed by its floor frame; then the start-up steps
# in-process and, from outside, the real binary's (STARTUP_RUNS runs). FRAMES_ARGS=--fullscreen
# plays them full screen (the Xvfb screen's 1280 x 1024, the 4:3 area 1280 x 960 in it).
FRAMES       ?= 300
STARTUP_RUNS ?= 5
## FRAMES frames beside their bare-GL floor, then the start-up figures
frames: deps-test $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target frame_harness startup_harness swapstamp korvane
	$(XVFB) ./$(BUILD)/bench/frame_harness $(FRAMES) $(FRAMES_ARGS)
	$(XVFB) ./$(BUILD)/bench/startup_harness
	bench/startup.sh $(BUILD) $(STARTUP_RUNS)

# The scripted play-through without GL (SDL's dummy video driver): resident memory and the
# shot and particle counts are checked by the program itself.
## SOAK_FRAMES scripted frames, plain then under ASan + UBSan, memory checked
soak: deps-test $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target soak
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./$(BUILD)/tests/game/soak $(SOAK_FRAMES)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target soak
	$(SANITIZER_ENV) SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
	    ./$(ASAN_BUILD)/tests/game/soak $(SOAK_FRAMES)

## the soak frames under valgrind memcheck
valgrind: deps-check $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target soak
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy valgrind --tool=memcheck --error-exitcode=3 \
	    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
	    --track-origins=no ./$(BUILD)/tests/game/soak $(SOAK_FRAMES) --no-rss-check

# Then the Windows game's pictures under Wine, if make windows has packed it.
## the fault-injection matrix of the real game (BUILD=build-asan: sanitized), Windows too
faults: deps-test $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target korvane
	$(SANITIZER_ENV) bash tests/e2e/fault_injection.sh ./$(BUILD)/korvane
	@if ls $(WIN_BUILD)/Korvane-*-win64.zip >/dev/null 2>&1; then \
	    bash tests/e2e/windows_faults.sh $(WIN_BUILD); \
	else echo "no Windows game in $(WIN_BUILD) (make windows): its pictures not fed"; fi

## the libFuzzer harnesses of fuzz/, FUZZ_SECONDS each (build-fuzz/)
fuzz: deps-check
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	mkdir -p $(FUZZ_BUILD)/corpus/picture_loader && cp data/gfx/*.png data/gfx/*.jpg $(FUZZ_BUILD)/corpus/picture_loader/
	for f in directory_listing bleed_edges picture_loader; do \
	    mkdir -p $(FUZZ_BUILD)/corpus/$$f $(FUZZ_BUILD)/findings && \
	    ./$(FUZZ_BUILD)/$${f}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        -artifact_prefix=$(FUZZ_BUILD)/findings/$${f}- $(FUZZ_BUILD)/corpus/$$f || exit 1; \
	done

## remove every build folder this Makefile makes
clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(ASSET_BUILD) $(WIN_BUILD) $(WEB_BUILD) \
	    $(BUILD)-compat-headers

# Cross compiler, the tools that build Debian's sources, Wine to run what they make, and
# NSIS; ImageMagick makes the icon. The tests add what drives the game in Xvfb.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev patch make \
                    cmake pkg-config wine wine64 nsis zip imagemagick
WINDOWS_TEST_PACKAGES := unzip xvfb xauth xdotool x11-utils x11-apps python3 sox g++ libx11-dev

## install the cross compiler, Wine and NSIS (as root)
deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES))

## install what make test-windows adds
deps-test-windows: deps-windows
	$(call install_missing,$(WINDOWS_TEST_PACKAGES))

# WIN_WINE: the one Wine prefix of the test programs that CTest runs (the toolchain file's
# emulator); the scenarios of tests/e2e/windows_test.sh make and remove their own.
WIN_WINE  := $(CURDIR)/$(WIN_BUILD)/wine
# Each library builds once (stamps in $(WIN_BUILD)/deps/stamps); the game and the packages
# are brought up to date.
WIN_CMAKE := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/tools/windows/Toolchain.cmake \
    -DKORVANE_WINDOWS_PREFIX=$(CURDIR)/$(WIN_BUILD)/deps/prefix -DCMAKE_BUILD_TYPE=Release \
    -DKORVANE_WINE_PREFIX=$(WIN_WINE) -DKORVANE_BUILD_BENCH=OFF
## the Windows game: libraries, exe, zip and setup program in build-windows/
windows: deps-windows
	bash tools/windows/build-deps.sh $(WIN_BUILD)/deps
	[ -f $(WIN_BUILD)/game/CMakeCache.txt ] || \
	    cmake -S . -B $(WIN_BUILD)/game $(WIN_CMAKE) -DKORVANE_BUILD_TESTS=OFF
	cmake --build $(WIN_BUILD)/game -j $(JOBS)
	bash tools/windows/package.sh $(WIN_BUILD)

# The GoogleTest programs cross-built and run through CTest under Wine, in WIN_WINE (made
# first, kept for the next run; its wineserver waited for after each step), then the
# player's scenarios.
## the Windows test programs and the player's scenarios under Wine
test-windows: windows deps-test-windows
	[ -d $(WIN_WINE) ] || { WINEPREFIX=$(WIN_WINE) WINEDEBUG=-all wineboot -i && \
	    WINEPREFIX=$(WIN_WINE) wineserver -w; }
	[ -f $(WIN_BUILD)/tests/CMakeCache.txt ] || \
	    cmake -S . -B $(WIN_BUILD)/tests $(WIN_CMAKE) -DKORVANE_BUILD_TESTS=ON
	cmake --build $(WIN_BUILD)/tests -j $(JOBS)
	WINEPREFIX=$(WIN_WINE) wineserver -w
	$(XVFB) ctest --test-dir $(WIN_BUILD)/tests --output-on-failure -j $(JOBS); \
	    status=$$?; WINEPREFIX=$(WIN_WINE) wineserver -w; exit $$status
	bash tests/e2e/windows_test.sh $(WIN_BUILD)

WEB_PORT  ?= 8000
# Debian 12's emscripten, pinned: its SDL 1.2 is JavaScript inside it, and
# tools/web/sdl_fixes.js replaces parts of exactly this version's. The page's tests add
# Chromium and its WebDriver, and ImageMagick for the screenshot readers.
EMSCRIPTEN_VERSION := 3.1.6~dfsg-5
WEB_PACKAGES      := emscripten=$(EMSCRIPTEN_VERSION) googletest cmake make python3
WEB_TEST_PACKAGES := chromium chromium-driver python3-selenium imagemagick
# emscripten's link needs Debian's node modules, which a /usr/bin/node not built by Debian
# (as on this machine image) does not look in; and Debian's python3, not the first on PATH.
WEB_ENV := NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
WEB_CMAKE := -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_BENCH=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DKORVANE_WEB_SITE=$(CURDIR)/$(WEB_BUILD)

## the Debian packages the web build and its tests need (emscripten pinned), as root
deps-web:
	$(call install_missing,$(WEB_PACKAGES) $(WEB_TEST_PACKAGES))

## the game for the browser: index.html, korvane.js, .wasm and .data in build-web/
web: deps-web
	[ -f $(WEB_BUILD)/cmake/CMakeCache.txt ] || \
	    $(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD)/cmake $(WEB_CMAKE)
	$(WEB_ENV) cmake --build $(WEB_BUILD)/cmake -j $(JOBS) --target korvane web_page

## serve build-web/ on http://127.0.0.1:WEB_PORT/ for a player's browser
serve-web: web
	@echo "Open http://127.0.0.1:$(WEB_PORT)/ in a browser"
	cd $(WEB_BUILD) && python3 -m http.server --bind 127.0.0.1 $(WEB_PORT)

## the unit programs under node, then the player's scenario in headless Chromium
test-web: web
	$(WEB_ENV) cmake --build $(WEB_BUILD)/cmake -j $(JOBS)
	$(WEB_ENV) ctest --test-dir $(WEB_BUILD)/cmake --output-on-failure -j $(JOBS)
	/usr/bin/python3 tests/e2e/web_test.py $(WEB_BUILD)
