# Front door of the project: every command a developer or CI needs.
BUILD_DIR ?= build
JOBS      ?= $(shell nproc)
# -noreset: the server must not reset when its last client leaves, or the next test to connect
# in that instant finds no display.
XVFB      := xvfb-run -a -s "-screen 0 1024x768x24 -noreset"
TEST_ENV  := ALSOFT_DRIVERS=null CUBIST_NO_DIALOG=1

.PHONY: deps configure build test run bench assets clean

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: deps
	@$(MAKE) --no-print-directory build
	cd $(BUILD_DIR) && $(TEST_ENV) $(XVFB) ctest --output-on-failure -j $(JOBS)

# Runs the demo game from its own folder.
run: deps
	@$(MAKE) --no-print-directory build
	cd games/demo && ../../$(BUILD_DIR)/cubist

# Regenerates the committed media of the demo game from our own tools.
assets: deps
	@$(MAKE) --no-print-directory build
	$(BUILD_DIR)/tools/cubist_make_assets games/demo
	cp /usr/share/doc/fonts-dejavu-core/copyright games/demo/default_font.LICENSE.txt

bench: deps
	@$(MAKE) --no-print-directory build
	ALSOFT_DRIVERS=null $(XVFB) $(BUILD_DIR)/bench/cubist_bench

clean:
	rm -rf $(BUILD_DIR)
