# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: demo test deps build clean

demo: build
	bash scripts/demo.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

deps:
	bash scripts/install-deps.sh

clean:
	rm -rf $(BUILD)
