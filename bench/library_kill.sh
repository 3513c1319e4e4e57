#!/bin/sh
# The library's killed-import test with many kills: each loop kills an import of 10,000
# patches at a random moment and checks the file (integrity, every import whole or absent).
# Usage: bench/library_kill.sh [build-folder] [loops]
build=${1:-build}
loops=${2:-50}
KELVO_KILL_LOOPS=$loops exec "$build/tests/test_library" \
    --gtest_filter=LibraryFile.KilledImportsAreWholeOrAbsent
