# KelvoLight: everything a newcomer needs.
#   make run   - install what is missing, build, start KelvoLight
#   make test  - install what is missing, build, run every test (plain and sanitizer builds)
#   make package - a Release build packed as build-release/kelvolight_<version>_<arch>.deb

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
COVERAGE_BUILD ?= build-coverage
RELEASE_BUILD ?= build-release
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 15

PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev librtmidi-dev libasound2-dev jackd2 libjack-jackd2-dev libsqlite3-dev \
           libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev \
           xvfb xauth fonts-dejavu-core libgl-dev \
           scdoc librsvg2-bin desktop-file-utils appstream shared-mime-info libxml2-utils \
           libglib2.0-bin file lintian bash-completion libcli11-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test test-plain test-asan fuzz coverage deps configure build screenshots bench package clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_WERROR=ON

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/app/KelvoLight

# The plain suite runs last so its summary closes the output.
test: fuzz test-asan test-plain

# Every test must pass at its first run, the end-to-end runs through a real JACK server and
# gr33-sim too. The unit tests run last so their summary closes the output.
CTEST = ctest --output-on-failure -j $(JOBS)

test-plain: build
	cd $(BUILD) && $(CTEST) -L e2e
	cd $(BUILD) && $(CTEST) -LE e2e

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON -DKELVO_BENCH=OFF -DKELVO_WERROR=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp && \
	    $(CTEST) -L e2e && $(CTEST) -LE e2e

# libFuzzer targets for the parsers and byte-stream readers (the libraries they call built with
# coverage, ASan and UBSan), each run for a bounded time on its seed corpus; bench/fuzz.sh runs
# them for a fixed number of executions.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKELVO_GUI=OFF -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF -DKELVO_FUZZ=ON \
	    -DKELVO_FUZZ_SECONDS=$(FUZZ_SECONDS) -DKELVO_WERROR=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	cd $(FUZZ_BUILD)/fuzz && ctest --output-on-failure -L fuzz -j $(JOBS)

# Line and branch coverage of every layer by the whole suite (end-to-end runs included), one
# gcovr summary per layer folder (its report in $(COVERAGE_BUILD)/coverage/LAYER.txt); the HTML
# report is in $(COVERAGE_BUILD)/coverage/. Nothing is written to /dev/null, which gcovr would
# replace with a file when run as the superuser.
COVERAGE_LAYERS = base midi gr33 sim model library qtcommon controls editor tools librarian cli app

coverage: deps
	cmake -S . -B $(COVERAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVO_COVERAGE=ON -DKELVO_BENCH=OFF
	cmake --build $(COVERAGE_BUILD) -j $(JOBS)
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	cd $(COVERAGE_BUILD) && $(CTEST) -L e2e && $(CTEST) -LE e2e
	mkdir -p $(COVERAGE_BUILD)/coverage
	gcovr -r . $(COVERAGE_BUILD) -j $(JOBS) --exclude-unreachable-branches --exclude-throw-branches \
	    $(foreach l,$(COVERAGE_LAYERS),--filter '$(l)/') \
	    --json $(COVERAGE_BUILD)/coverage/all.json --html-details $(COVERAGE_BUILD)/coverage/index.html
	@printf '%-10s %8s %8s\n' layer lines branches
	@for l in $(COVERAGE_LAYERS); do \
	    gcovr -a $(COVERAGE_BUILD)/coverage/all.json --filter "$$l/" --print-summary -o $(COVERAGE_BUILD)/coverage/$$l.txt \
	    | awk -v l=$$l '/^lines:/ {ln=$$2} /^branches:/ {br=$$2} END {printf "%-10s %8s %8s\n", l, ln, br}'; \
	done

# The build packagers make (Release, no tests), packed by CPack, installed into a scratch
# prefix and checked there and by lintian.
package: deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_WERROR=ON \
	    -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	cd $(RELEASE_BUILD) && cpack
	bash packaging/check-install.sh $(RELEASE_BUILD) $$(ls $(RELEASE_BUILD)/kelvolight_*.deb)

screenshots: build
	cmake --build $(BUILD) --target screenshots

bench: build
	@# bench_* also matches the generated *_autogen folders: only programs are run
	@for b in $(BUILD)/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; \
		echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done
	bash bench/jack_transfer.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(RELEASE_BUILD)
