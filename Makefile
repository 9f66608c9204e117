# Two commands for a newcomer: `make run` and `make test`. Both install what is missing first.
# The real work is in CMake (see CMakePresets.json); this file only strings the steps together.

CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps build run test check-layers test-default test-asan test-tsan test-noqt test-release bench soak package docs accuracy fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	$(CMAKE) --preset default
	$(CMAKE) --build --preset default

# The program runs from the installed-tree layout (bin/, share/) staged inside the build folder,
# so that it finds its files as an installed copy would.
STAGE := build/default/stage

run: build
	$(CMAKE) --install build/default --prefix $(CURDIR)/$(STAGE) >/dev/null
	$(STAGE)/bin/tonrik $(ARGS)

test-default: deps
	$(CMAKE) --preset default
	$(CMAKE) --build --preset default
	$(CTEST) --preset default

test-asan: deps
	$(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

# Only the tests that start threads (label "threads") run under ThreadSanitizer.
test-tsan: deps
	$(CMAKE) --preset tsan
	$(CMAKE) --build --preset tsan
	$(CTEST) --preset tsan

test-noqt: deps
	$(CMAKE) --preset noqt
	$(CMAKE) --build --preset noqt
	$(CTEST) --preset noqt

# Includes point down the layers of the README's table; Qt-free layers include no Qt.
check-layers:
	scripts/check-layers.sh

# The program as it is shipped (`make package`): optimised, where the compiler sees warnings the
# other builds do not.
test-release: deps
	$(CMAKE) --preset package
	$(CMAKE) --build --preset package

# The whole suite: the layer check, the normal build, the two sanitizer builds, the build
# without Qt and the shipped program's build.
test: check-layers test-default test-asan test-tsan test-noqt test-release

bench: deps
	$(CMAKE) --preset release
	$(CMAKE) --build --preset release --target corvane_bench
	build/release/bench/corvane_bench $(BENCH_ARGS)

# A Debian package of the program (build/package/corvane_*.deb), installable with
# `apt install ./build/package/corvane_*.deb`; prints its name, dependencies and files.
package: deps
	$(CMAKE) --preset package
	$(CMAKE) --build --preset package
	cd build/package && cpack -G DEB >/dev/null
	@deb=$$(ls build/package/corvane_*.deb) && dpkg-deb --field $$deb Package Version Depends Recommends \
		&& dpkg-deb --contents $$deb | awk '{print $$6}' | grep -v '/$$' && echo "$$deb"

# Long runs of the tuner, a recording, the main window and the practice log, with memory and CPU
# over time (SOAK_MINUTES for each timed mode, default 10); not part of `make test`.
SOAK_MINUTES ?= 10

soak: deps
	scripts/soak.sh $(SOAK_MINUTES)

# The pictures of the tuner's widgets and of the configuration dialogs in docs/, drawn on the
# offscreen platform at normal and at double pixel density. Not part of `make test`: a picture
# is for looking at, and drawing one proves nothing.
GALLERIES := tests/tuner/corvane_render_tuner_gallery tests/app/corvane_render_dialog_gallery

docs: deps
	$(CMAKE) --preset default
	$(CMAKE) --build --preset default --target $(notdir $(GALLERIES))
	@set -e; for g in $(GALLERIES); do \
		QT_QPA_PLATFORM=offscreen build/default/$$g $(CURDIR)/docs; \
	done

# The analyzer's accuracy on rendered instrument notes and synthetic tones, and beside it that of
# Debian's general pitch trackers on the same files; not part of `make test`. fluidsynth and the
# General MIDI sample set are needed only here; a tracker that cannot be installed is left out.
accuracy: deps
	@scripts/install-deps.sh fluidsynth timgm6mb-soundfont
	@for p in aubio-tools praat; do \
		scripts/install-deps.sh $$p || echo "accuracy: $$p could not be installed; the comparison leaves it out"; \
	done
	$(CMAKE) --preset release
	$(CMAKE) --build --preset release --target corvane_accuracy
	scripts/accuracy.sh build/release

# Coverage-guided fuzzing of the wave reader, the defaults-file loader, the practice-log
# loader and the Scala scale and keyboard-map readers, each for FUZZ_SECONDS (default 60). Each starts from its seed files in fuzz/corpus/
# and keeps what it finds in build/fuzz/corpus/; a crash leaves its input in build/fuzz/. The
# fuzzers work in a private directory of their own, so every path given them is absolute. Not
# part of `make test`.
FUZZ_SECONDS ?= 60
FUZZERS := wave_reader defaults_file practice_log scala

fuzz:
	@scripts/install-deps.sh clang libclang-rt-14-dev
	$(CMAKE) --preset fuzz
	$(CMAKE) --build --preset fuzz --target $(addprefix fuzz_,$(FUZZERS))
	@set -e; for f in $(FUZZERS); do \
		mkdir -p build/fuzz/corpus/$$f; \
		echo "== $$f: $(FUZZ_SECONDS) s"; \
		$(CURDIR)/build/fuzz/fuzz/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
			-timeout=10 -artifact_prefix=$(CURDIR)/build/fuzz/$$f- -print_final_stats=1 \
			$(CURDIR)/build/fuzz/corpus/$$f $(CURDIR)/fuzz/corpus/$$f; \
	done

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
