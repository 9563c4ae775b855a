# The two commands of the README: `make run` builds and starts the program,
# `make test` builds with the sanitizers and runs every test through CTest.
JOBS ?= $(shell nproc)
RELEASE := build/release
ASAN := build/asan

.PHONY: run test deps release asan bench clean

deps:
	@scripts/install-deps

release: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(RELEASE) -j $(JOBS)

run: release
	scripts/run-demo $(RELEASE)

asan: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS)

test: asan
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS)

bench: release
	scripts/run-benchmarks $(RELEASE)

clean:
	rm -rf build
