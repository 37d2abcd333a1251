# Two set-up commands on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and opens the word bar on the bundled sample library
#   make test  installs what is missing, builds, and runs every test
.PHONY: deps build run test sanitize bench clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	bash scripts/run-sample.sh

test: build
	bash scripts/run-tests.sh default

sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	bash scripts/run-tests.sh sanitize

clean:
	rm -rf build build-sanitize build-fuzz
