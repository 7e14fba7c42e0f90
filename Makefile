# Shorthands for the scripts the README names.
.PHONY: example test sanitize clean
example:
	scripts/example
test:
	scripts/test
sanitize:
	scripts/test --sanitize
clean:
	rm -rf build build-asan examples/out examples/*_.vel
