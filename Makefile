# Two entry points for a fresh machine: `make example` and `make test`.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all example test sanitize clean

all:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)

example: all
	@rm -rf examples/out && mkdir -p examples/out
	cd examples && ../$(BUILD)/velmorta board; status=$$?; \
	  echo "run log: examples/board_.vel"; cat board_.vel | iconv -f SHIFT_JIS -t UTF-8 2>/dev/null || true; \
	  echo "output files in examples/out:"; ls -l out; [ $$status -eq 0 ] || exit $$status; \
	  echo "exporting the board for fabrication and viewing:"; ../$(BUILD)/velmorta-export board || exit $$?; \
	  echo "fab-ready set (RS-274X, metric drill file, aperture table) in examples/out/*_fab.* and"; \
	  echo "examples/out/board_apertures.csv; open examples/out/board_preview.svg in a browser"

test: all
	ctest --test-dir $(BUILD) --output-on-failure -j2

sanitize:
	cmake -S . -B $(BUILD)-asan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVELMORTA_SANITIZE=address,undefined
	cmake --build $(BUILD)-asan
	ctest --test-dir $(BUILD)-asan --output-on-failure -j2

clean:
	rm -rf $(BUILD) $(BUILD)-asan examples/out examples/*_.vel
