# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-test bench screenshots format-check clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

run: build
	scripts/run-main.sh

build-test: deps
	cmake --preset test >/dev/null
	cmake --build --preset test -j $(JOBS)

test: build-test
	scripts/run-tests.sh

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	scripts/run-bench.sh

screenshots: deps
	scripts/screenshots.sh

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-test build-bench
