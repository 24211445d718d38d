# What people type. Every target installs missing Debian packages first, so a fresh Debian 12
# machine needs nothing else.
BUILD        := build
ASAN_BUILD   := build/asan
FUZZ_BUILD   := build/fuzz
DEB_BUILD    := build/deb
FUZZ_SECONDS ?= 20
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps build asan run test test-normal test-asan test-installed deb fuzz bench format crash-test coverage

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DTESSEL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	@scripts/run.sh

test: test-normal test-asan test-tsan test-installed fuzz
	@scripts/test-summary.sh $(BUILD) $(ASAN_BUILD)

test-normal: build
	@scripts/run-tests.sh $(BUILD)

test-asan: asan
	@scripts/run-tests.sh $(ASAN_BUILD)

# The installed product, away from the build tree: a ~/.local-style prefix and the package.
test-installed: build deb
	@echo "== Installed trees"
	@scripts/installed-tree-test.sh $(BUILD) $(DEB_BUILD)/tessel_*_amd64.deb

# The Debian packages: installed to /usr, each file manager's module in its own folder.
deb: deps
	@cmake -S . -B $(DEB_BUILD) $(CMAKE_FLAGS) -DTESSEL_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
	  -DTESSEL_NAUTILUS_MODULE_DIR=$$(pkg-config --variable=extensiondir libnautilus-extension-4) \
	  -DTESSEL_NEMO_MODULE_DIR=$$(pkg-config --variable=extensiondir libnemo-extension) \
	  -DTESSEL_CAJA_MODULE_DIR=$$(pkg-config --variable=extensiondir libcaja-extension) \
	  -DTESSEL_THUNAR_MODULE_DIR=$$(pkg-config --variable=extensionsdir thunarx-3) \
	  -DTESSEL_DOLPHIN_MODULE_DIR=$$(pkg-config --variable=libdir Qt5Core)/qt5/plugins/kf5/kfileitemaction >/dev/null
	@cmake --build $(DEB_BUILD) -j $(JOBS)
	@rm -f $(DEB_BUILD)/tessel*.deb
	@cd $(DEB_BUILD) && cpack -G DEB >/dev/null
	@ls $(DEB_BUILD)/tessel*_amd64.deb

# The file-manager extension's tests under ThreadSanitizer: the file manager calls it from
# threads of its choosing.
.PHONY: test-tsan
test-tsan: deps
	@cmake -S . -B build/tsan $(CMAKE_FLAGS) -DCMAKE_CXX_FLAGS=-fsanitize=thread \
	  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
	@cmake --build build/tsan -j $(JOBS) --target tessel_finder_tests
	@echo "== Tests in build/tsan (ThreadSanitizer)"
	@TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build/tsan/bin/tessel_finder_tests

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTESSEL_FUZZ=ON -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Line and branch coverage of the normal suites for each folder of src/, in build/coverage.
coverage: deps
	@JOBS=$(JOBS) scripts/coverage.sh build/coverage

bench: build
	@scripts/run-bench.sh $(BUILD)

# 1,000 random kills of a move batch, each followed by an undo that must restore the tree.
crash-test: build
	@scripts/crash-test.sh $(BUILD)/bin/tessel-engine 1000

format:
	@git ls-files '*.cpp' '*.h' | xargs -r clang-format -i
