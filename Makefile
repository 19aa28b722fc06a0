# Two commands for people: `make run` plays, `make test` runs every test.
.PHONY: run test build setup bench clean

setup:
	@bash tools/setup.sh

build: setup
	@cmake --preset release >/dev/null
	@cmake --build --preset release

run: build
	@./build/release/tagvind $(ARGS)

test: setup
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@ctest --preset release
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@ctest --preset fuzz

bench: build
	@./build/release/tagvind bench world

clean:
	@rm -rf build
