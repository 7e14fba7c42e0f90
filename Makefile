# Shorthands for the scripts the README names.
.PHONY: example test sanitize windows clean
example:
	scripts/example
test:
	scripts/test
sanitize:
	scripts/test --sanitize
windows:
	scripts/windows
clean:
	rm -rf build build-asan build-windows examples/out examples/*_.vel
