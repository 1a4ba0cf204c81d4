# The two everyday commands: `make run` and `make test`. Both install what is missing first.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: run test bench fuzz deps release test-build clean

deps:
	@scripts/install-deps

release: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQEL_BUILD_TESTS=OFF -DQEL_BUILD_BENCH=ON
	cmake --build build/release -j $(JOBS)

# With a display the program opens its window on the almanac's disk; without one it plays the tour
# of the whole almanac, content/tour.script, headless (every section of the main menu, the word
# search, a mark, a printed page, the quit question) and writes one screenshot of each step to
# build/screens/. The user's files (the tour's appointment, mark and PDF among them) go to the user
# folder (velarim --help names it), never into the disk or the build.
run: release
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    build/release/bin/velarim --disk build/release/disk $(ARGS); \
	else \
	    mkdir -p build/screens && \
	    build/release/bin/velarim --headless --disk build/release/disk --script content/tour.script \
	        --screens build/screens $(ARGS) && \
	    echo "No display: played the tour content/tour.script headless; screenshots in $(CURDIR)/build/screens/"; \
	fi

# The tests are built twice: with the sanitizers, and as the program ships (optimised, the pooled
# allocator's fast paths inline), which the sanitizer build does not compile.
test-build: deps
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON
	cmake --build build/test -j $(JOBS)
	cmake -S . -B build/test-release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/test-release -j $(JOBS)

# The leak checker skips the caches the font configuration library keeps until exit.
test: test-build
	cd build/test && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    ctest --output-on-failure -j $(JOBS) --timeout 600
	cd build/test-release && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: release
	@set -e; for b in build/release/bench/*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b"; done

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQEL_FUZZ=ON -DQEL_SANITIZE=ON -DQEL_BUILD_TESTS=OFF
	cmake --build build/fuzz -j $(JOBS)

clean:
	rm -rf build
