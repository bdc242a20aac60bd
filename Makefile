# The two commands of the README, `make run` and `make test`, and their helpers.
JOBS ?= $(shell nproc)
# Where `make run` installs and `make uninstall` removes (the Files module always goes into
# Files' own extension folder).
PREFIX ?= /usr/local
# `make fuzz` runs each fuzz target this many seconds; `make test` runs each for FUZZ_TEST_SECONDS.
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 20

.PHONY: run test deps build build-test install uninstall package bench fuzz screenshots format-check clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

install: build
	scripts/install.sh install --build build --prefix $(PREFIX)

run: install
	scripts/run-main.sh $(PREFIX)

uninstall:
	scripts/install.sh uninstall --prefix $(PREFIX)

package: deps
	scripts/build-package.sh

build-test: deps
	cmake --preset test >/dev/null
	cmake --build --preset test -j $(JOBS)

test: build-test
	scripts/run-tests.sh
	FUZZ_SECONDS=$(FUZZ_TEST_SECONDS) JOBS=$(JOBS) scripts/run-fuzz.sh

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	scripts/run-bench.sh

fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/run-fuzz.sh

screenshots: deps
	scripts/screenshots.sh

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-test build-bench build-fuzz
