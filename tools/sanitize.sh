#!/usr/bin/env bash
# The sanitizer runs that the everyday AddressSanitizer build of ./test does
# not cover:
#  - ThreadSanitizer over the tests where SDL's audio thread mixes the sound
#    buffers while the game thread plays, stops and polls them (build-threads);
#  - a shorter soak (50 000 steps) under AddressSanitizer and
#    UndefinedBehaviorSanitizer, in ./test's build-asan;
#  - kordavan-trace built with clang under AddressSanitizer and
#    UndefinedBehaviorSanitizer with float-to-int overflow checks
#    (build-trace-sanitize): its tests, the golden traces, and a few hundred
#    runs with random command lines and key scripts.
# Exits non-zero on any report.
#
#   tools/sanitize.sh [tsan|soak|trace]...     (all three when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
parts=("$@")
[ ${#parts[@]} -eq 0 ] && parts=(tsan soak trace)
status=0

# Newer kernels place mappings where ThreadSanitizer does not expect them;
# without address randomisation it always finds its own layout.
no_aslr() {
    if setarch "$(uname -m)" -R true 2>/dev/null; then
        setarch "$(uname -m)" -R "$@"
    else
        "$@"
    fi
}

for part in "${parts[@]}"; do
    case "$part" in
    tsan)
        cmake -S tests/tsan -B build-threads >/dev/null
        cmake --build build-threads -j"$jobs" >/dev/null
        echo "== ThreadSanitizer: the sound buffers between the game and SDL's audio thread"
        if ! TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" SDL_AUDIODRIVER=dummy \
            timeout 600 bash -c "$(declare -f no_aslr); no_aslr build-threads/kordavan-thread-tests \
            --gtest_brief=1"; then
            echo "ThreadSanitizer run FAILED"
            status=1
        fi
        ;;
    soak)
        cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORDAVAN_TESTS=ON \
            -DKORDAVAN_WERROR=ON -DKORDAVAN_SANITIZE=address,undefined >/dev/null
        cmake --build build-asan --target kordavan-soak -j"$jobs" >/dev/null
        echo "== AddressSanitizer and UndefinedBehaviorSanitizer: 50000 game steps"
        if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            timeout 1200 build-asan/tools/soak/kordavan-soak --steps 50000 --seed 20240607; then
            echo "sanitized soak FAILED"
            status=1
        fi
        ;;
    trace)
        CC="${TRACE_CC:-clang}" CXX="${TRACE_CXX:-clang++}" cmake -S . -B build-trace-sanitize \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORDAVAN_TESTS=ON -DKORDAVAN_WERROR=ON \
            -DKORDAVAN_SANITIZE=address,undefined,float-cast-overflow >/dev/null
        cmake --build build-trace-sanitize --target kordavan-trace kordavan-tests -j"$jobs" >/dev/null
        echo "== clang AddressSanitizer, UndefinedBehaviorSanitizer, float-cast-overflow: kordavan-trace"
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        if ! timeout 600 build-trace-sanitize/tests/kordavan-tests --gtest_brief=1 \
            --gtest_filter='Trace*'; then
            echo "sanitized trace tests FAILED"
            status=1
        fi
        if ! (cd build-trace-sanitize && ctest -R '^golden\.' -j"$jobs" --output-on-failure \
            --timeout 600 | tail -n 3); then
            echo "sanitized golden traces FAILED"
            status=1
        fi
        if ! timeout 900 tools/trace/fuzz_command_line.py \
            build-trace-sanitize/tools/trace/kordavan-trace 300 1; then
            echo "sanitized random command lines FAILED"
            status=1
        fi
        ;;
    *)
        echo "unknown part '$part' (tsan, soak or trace)" >&2
        exit 2
        ;;
    esac
done
exit "$status"
