# Two commands for people: `make run` plays, `make test` runs every test.
.PHONY: run test unit-test build install setup bench clean

setup:
	@echo "Checking the packages the game needs..."
	@bash tools/setup.sh

# The game alone: the tests, the bitmap painter and the icons wait for `make test`, so a first
# `make run` compiles about half as much.
build: setup
	@echo "Configuring the build..."
	@cmake --preset release >/dev/null
	@echo "Building the game (first time: a few minutes)..."
	@cmake --build --preset release --target tagvind

run: build
	@echo "Starting Tagvind"
	@./build/release/tagvind $(ARGS)

test: setup
	@python3 tools/check_includes.py
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@ctest --preset release
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@ctest --preset fuzz

# The fast loop while coding: the release build and every test but the end-to-end ones.
unit-test: setup
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@ctest --preset release -LE end_to_end

# The game, its menu entry and its icon under PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	@echo "Installing Tagvind under $(PREFIX)..."
	@cmake --build --preset release --target tagvind_icons
	@cmake --install build/release --prefix "$(PREFIX)"

bench: build
	@./build/release/tagvind bench world

clean:
	@rm -rf build
