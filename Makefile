# The commands of the README: `make demo`, `make test` and `make package`.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: demo test package deps build clean

demo: build
	bash scripts/demo.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The Debian package, in $(BUILD)/. The window is part of it, whatever an earlier
# configuration of $(BUILD) said.
package: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCT_BUILD_GUI=ON
	cmake --build $(BUILD) -j$(JOBS)
	rm -f $(BUILD)/conversor-tolv_*.deb
	cd $(BUILD) && cpack -G DEB

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

deps:
	bash scripts/install-deps.sh

clean:
	rm -rf $(BUILD)
