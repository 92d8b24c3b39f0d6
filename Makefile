# Convenience targets over CMake.
#   make         build the programs (release) into build/release/bin
#   make demo    build, then run the demo job in build/demo
#   make test    build with AddressSanitizer and UndefinedBehaviorSanitizer, run every test
#   make bench   build (release, with the benchmark generators), then run the benchmarks
#   make install install programs, library, headers (PREFIX=/usr/local)
# demo, test and bench first install the packages they need and the machine
# lacks (.ci/setup), or stop with the command that does.
BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: all demo test bench install clean

all:
	cmake -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release -DTUNEFOLIO_TESTS=OFF
	cmake --build $(BUILD)/release -j$(JOBS)

demo:
	sh .ci/setup demo
	$(MAKE) all
	sh demo/run.sh $(BUILD)/release/bin $(BUILD)/demo

test:
	sh .ci/setup test
	cmake -S . -B $(BUILD)/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNEFOLIO_SANITIZE=ON
	cmake --build $(BUILD)/test -j$(JOBS)
	cd $(BUILD)/test && ctest --output-on-failure -j$(JOBS)

bench:
	sh .ci/setup bench
	cmake -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release -DTUNEFOLIO_TESTS=OFF -DTUNEFOLIO_BENCH=ON
	cmake --build $(BUILD)/release -j$(JOBS)
	sh bench/run.sh $(BUILD)/release/bin $(BUILD)/bench
	sh bench/small.sh $(BUILD)/release/bin $(BUILD)/bench

install: all
	cmake --install $(BUILD)/release --prefix $(PREFIX)

clean:
	rm -rf $(BUILD)
