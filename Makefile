# Entry points of the project (see README.md):
#   make        build both targets: build/native and build/win32
#   make test   install what is missing, build, run every test of both targets
#   make demo   build, then run the demonstration on this machine
#   make bench  optimised native build and the benchmarks
#   make fuzz   fuzz targets with libFuzzer (clang), FUZZ_SECONDS each
#   make soak   optimised native build and the soaks of soak/ (not in make test)
JOBS ?= 2
NATIVE := build/native
WIN32 := build/win32
RELEASE := build/release
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap fuzz-bootstrap native win32 test test-native test-win32 demo bench fuzz soak clean

all: native win32

bootstrap:
	@scripts/bootstrap

$(NATIVE)/build.ninja: | bootstrap
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWZ_SANITIZE=ON

$(WIN32)/build.ninja: | bootstrap
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake

native: bootstrap $(NATIVE)/build.ninja
	cmake --build $(NATIVE) -j$(JOBS)

win32: bootstrap $(WIN32)/build.ninja
	cmake --build $(WIN32) -j$(JOBS)

test: all
	@scripts/run-tests $(NATIVE) $(WIN32)

test-native: native
	@scripts/run-tests $(NATIVE)

test-win32: win32
	@scripts/run-tests $(WIN32)

demo: all
	@scripts/demo $(NATIVE) $(WIN32)

$(RELEASE)/build.ninja:
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release

bench: bootstrap $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j$(JOBS)
	@scripts/bench $(RELEASE)

soak: bootstrap $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j$(JOBS)
	@scripts/soak $(RELEASE)

$(FUZZ)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DWZ_SANITIZE=ON -DWZ_LIBFUZZER=ON

fuzz-bootstrap:
	@scripts/bootstrap packages.txt packages-fuzz.txt

$(FUZZ)/build.ninja: | fuzz-bootstrap

fuzz: fuzz-bootstrap $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j$(JOBS)
	@scripts/fuzz $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf build
