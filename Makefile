# Shorthands for the scripts of the README and docs/development.md.
.PHONY: example test sanitize windows package clean
example:
	scripts/example
test:
	scripts/test
sanitize:
	scripts/test --sanitize
windows:
	scripts/windows
package:
	scripts/package
clean:
	rm -rf build build-asan build-windows build-package examples/out examples/*_.vel
