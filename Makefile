# Entry points of the project (see README.md):
#   make        build the products: build/native (libwendrik.so for Regina,
#               optimised), build/win32 (enrolwiz.exe, wendrik.dll: x86) and
#               build/win64 (the same as x64)
#   make test   install what is missing, build, run every test of every tree
#               (native tests in build/sanitize, with the sanitizers; the x86
#               Windows tests are skipped where the machine runs no 32-bit
#               code, or with WZ_WINE32=off)
#   make test-native, make test-win32, make test-win64: one tier each
#   make install  libwendrik.so where Regina finds it, its documents and
#               examples (PREFIX, default /usr; DESTDIR honoured)
#   make package  the Debian package and the Windows zip (both Windows builds)
#   make demo   build, then run the demonstration on this machine
#   make bench  optimised native build and the benchmarks
#   make fuzz   fuzz targets with libFuzzer (clang), FUZZ_SECONDS each
#   make soak   optimised native build and the soaks of soak/ (not in make test)
JOBS ?= 2
NATIVE := build/native
SANITIZE := build/sanitize
WIN32 := build/win32
WIN64 := build/win64
RELEASE := build/release
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60

PREFIX ?= /usr
DESTDIR ?=

.PHONY: all bootstrap fuzz-bootstrap native sanitize win32 win64 test test-native test-win32 test-win64 \
  install package demo bench fuzz soak clean

all: native win32 win64

bootstrap:
	@scripts/bootstrap

# The product tree: optimised, no tests but the package's own.
$(NATIVE)/build.ninja: | bootstrap
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DWZ_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr

# The test tree: every test, under AddressSanitizer and UndefinedBehaviorSanitizer.
$(SANITIZE)/build.ninja: | bootstrap
	cmake -S . -B $(SANITIZE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWZ_SANITIZE=ON

$(WIN32)/build.ninja: | bootstrap
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake

native: bootstrap $(NATIVE)/build.ninja
	cmake --build $(NATIVE) -j$(JOBS)

sanitize: bootstrap $(SANITIZE)/build.ninja
	cmake --build $(SANITIZE) -j$(JOBS)

$(WIN64)/build.ninja: | bootstrap
	cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake

win32: bootstrap $(WIN32)/build.ninja
	cmake --build $(WIN32) -j$(JOBS)

win64: bootstrap $(WIN64)/build.ninja
	cmake --build $(WIN64) -j$(JOBS)

test: all sanitize
	@scripts/run-tests $(SANITIZE) $(WIN64) $(WIN32) $(NATIVE)

test-native: native sanitize
	@scripts/run-tests $(SANITIZE) $(NATIVE)

# The zip's test in each Windows tree unpacks the one zip of both builds.
test-win32: win32 win64
	@scripts/run-tests $(WIN32)

test-win64: win32 win64
	@scripts/run-tests $(WIN64)

install: native
	DESTDIR=$(DESTDIR) cmake --install $(NATIVE) --prefix $(PREFIX)

package: all
	cd $(NATIVE) && cpack
	cd $(WIN32) && cpack
	@ls -1 $(NATIVE)/packages/*.deb $(WIN32)/packages/*.zip

demo: all
	@scripts/demo $(NATIVE) $(WIN32) $(WIN64)

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
