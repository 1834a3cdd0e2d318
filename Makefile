# Two commands do everything on a fresh Debian 12 machine:
#   make run    install what is missing, build, open the editor
#   make test   install what is missing, build, run every test (unit, sanitizer, real-window)
BUILD ?= build
ASAN_BUILD ?= build-asan
DEB_BUILD ?= build-deb
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all build run test test-unit test-fuzz test-asan mutate bench fuzz install deb clean

all: build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run:
	scripts/install-deps.sh run
	$(MAKE) build
	$(BUILD)/kestrin4 $(ARGS)

# The whole suite; the sanitizer run is part of it.
test:
	scripts/install-deps.sh test
	$(MAKE) test-unit
	$(MAKE) test-fuzz
	$(MAKE) test-asan

# A session bus of the suite's own, never the desktop's; each real-window test starts its own X
# server or Wayland compositor and bus (tests/on-own-display.sh), the other tests draw offscreen.
test-unit: build
	cd $(BUILD) && dbus-run-session -- ctest --output-on-failure -j 1

# make fuzz's targets build and run: two seconds each, the corpus in the repository left as it is.
test-fuzz:
	FUZZ_MERGE=0 scripts/fuzz.sh 2

test-asan:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKESTRIN_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  dbus-run-session -- ctest --output-on-failure -j 1

# Mutation run: each fault of tools/mutants.tsv in a scratch copy (build-mutate/), the affected
# unit tests rerun, then the real-window tests for what they leave alive; prints the survivors, the
# blind rows' score and the overall one. MUTATE_ARGS="--only TextFile" for a part.
mutate:
	scripts/install-deps.sh test
	python3 tools/mutate.py --window $(MUTATE_ARGS)

bench:
	scripts/install-deps.sh bench
	bench/run.sh

fuzz:
	scripts/install-deps.sh fuzz
	scripts/fuzz.sh $(FUZZ_SECONDS)

install: build
	cmake --install $(BUILD)

# The Debian package, built in a tree of its own with Debian's hardening flags (dpkg-buildflags)
# and checked by lintian: any error or warning fails the target.
deb:
	scripts/install-deps.sh deb
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all && \
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_BUILD_TESTS=OFF $(CMAKE_FLAGS) \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(DEB_BUILD) -j $(JOBS)
	rm -f $(DEB_BUILD)/kestrin4_*.deb
	cd $(DEB_BUILD) && cpack -G DEB
	lintian --fail-on error,warning $(DEB_BUILD)/kestrin4_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD)
