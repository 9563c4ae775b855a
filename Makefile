# The two commands of the README: `make run` builds and starts the program,
# `make test` builds with the sanitizers and runs every test through CTest.
JOBS ?= $(shell nproc)
RELEASE := build/release
ASAN := build/asan

.PHONY: run test deps release asan bench package repo windows clean

deps:
	@scripts/install-deps

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

run: release
	scripts/run-demo $(RELEASE)

asan: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

test: asan
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS)

# The Debian package (build/package/tarn_<version>-<revision>_<arch>.deb).
package: deps
	@scripts/install-deps package
	cmake --preset package
	cmake --build --preset package -j $(JOBS)
	cpack --preset package

# The signed apt repository of the package (build/repo; README: Updates through apt).
repo: package
	@scripts/install-deps repo
	scripts/make-repo

# tarn-cli.exe for Windows (MinGW-w64, no Qt), tried under Wine against the simulated radio.
windows: deps
	cmake --preset release
	cmake --build --preset release --target tarn-radio-sim -j $(JOBS)
	scripts/check-wine $(RELEASE)

bench: release
	scripts/run-benchmarks $(RELEASE)

clean:
	rm -rf build
