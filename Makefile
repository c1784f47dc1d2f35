# The commands of the README: `make demo`, `make check` and `make release`.
.PHONY: all deps host windows windows-i686 release check check-host check-fuzz check-i686 check-windows \
	check-release demo demo-x86 clean

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

# Under 32-bit Wine; BOOTDECK_SKIP_X86=1 checks only the i686 build's imports.
check-i686: windows-i686
	tools/check-i686.sh

# Under Wine a window or a process is now and then lost under load (seen once in about twenty
# runs of the suite): a test that fails is run once more, and the log keeps both runs.
check-windows: windows
	tools/with-display.sh ctest --preset windows --repeat until-pass:2

# The installer tool's partition-table parser against libFuzzer, for a bounded time.
FUZZ_SOURCES = installer/arguments.cpp installer/bitlocker.cpp installer/boot_record.cpp \
	installer/disk_identity.cpp installer/install_plan.cpp installer/listing.cpp \
	installer/partition_table.cpp installer/text_buffer.cpp tests/installer/partition_table_fuzz.cpp
check-fuzz: deps
	mkdir -p build/fuzz/corpus
	clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined \
		-fno-sanitize-recover=all -I. $(FUZZ_SOURCES) \
		-o build/fuzz/partition_table_fuzz
	build/fuzz/partition_table_fuzz -max_total_time=25 -max_len=16384 -print_final_stats=1 \
		build/fuzz/corpus >build/fuzz/log 2>&1 || { cat build/fuzz/log; exit 1; }
	tail -n 6 build/fuzz/log

# What a user downloads: both Windows builds' bootdeck.exe in zips, with SHA256SUMS, under
# build/release/. The exes are those of the test builds, so the released bytes are the tested ones.
release: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target bootdeck
	cmake --preset windows-i686 >/dev/null
	cmake --build --preset windows-i686 --target bootdeck
	tools/release.sh

check-release: release
	tests/release/check-release.sh

check: check-host check-fuzz check-windows check-i686 check-release

demo: windows
	tools/demo.sh

# The same with the 32-bit build, as Windows XP and most WinPE users run it.
demo-x86: windows-i686
	BOOTDECK_DEMO_BUILD=x86 tools/demo.sh

clean:
	rm -rf build
