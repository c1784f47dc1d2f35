# The two commands of the README: `make demo` and `make check`.
.PHONY: all deps host windows windows-i686 check check-host check-windows demo clean

all: host windows

deps:
	@tools/install-deps.sh

host: deps
	cmake --preset host >/dev/null
	cmake --build --preset host

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

windows-i686: deps
	cmake --preset windows-i686 >/dev/null
	cmake --build --preset windows-i686

check-host: host
	ctest --preset host

check-windows: windows
	tools/with-display.sh ctest --preset windows

check: check-host windows-i686 check-windows

demo: windows
	tools/demo.sh

clean:
	rm -rf build
