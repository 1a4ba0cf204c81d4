# The two everyday commands: `make run` and `make test`. Both install what is missing first.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: run test bench fuzz deps release test-build clean

deps:
	@scripts/install-deps

release: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQEL_BUILD_TESTS=OFF -DQEL_BUILD_BENCH=ON
	cmake --build build/release -j $(JOBS)

run: release
	build/release/bin/velarim $(ARGS)

test-build: deps
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

test: test-build
	cd build/test && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: release
	@set -e; for b in build/release/bench/*; do [ -x "$$b" ] || continue; echo "== $$b"; "$$b"; done

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQEL_FUZZ=ON -DQEL_SANITIZE=ON -DQEL_BUILD_TESTS=OFF
	cmake --build build/fuzz -j $(JOBS)

clean:
	rm -rf build
