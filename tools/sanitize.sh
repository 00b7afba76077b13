#!/usr/bin/env bash
# The sanitizer runs that the everyday AddressSanitizer build of ./test does
# not cover:
#  - ThreadSanitizer over the tests where SDL's audio thread mixes the sound
#    buffers while the game thread plays, stops and polls them (build-threads);
#  - a shorter soak (50 000 steps) under AddressSanitizer and
#    UndefinedBehaviorSanitizer, in ./test's build-asan.
# Exits non-zero on any report.
#
#   tools/sanitize.sh [tsan|soak]...     (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
parts=("$@")
[ ${#parts[@]} -eq 0 ] && parts=(tsan soak)
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
    *)
        echo "unknown part '$part' (tsan or soak)" >&2
        exit 2
        ;;
    esac
done
exit "$status"
