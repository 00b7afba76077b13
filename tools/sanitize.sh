#!/usr/bin/env bash
# The sanitizer runs that the everyday AddressSanitizer build does not cover:
#  - ThreadSanitizer over the tests where SDL's audio thread mixes the sound
#    buffers while the game thread plays, stops and polls them (build-tsan);
#  - a shorter soak (50 000 steps) under AddressSanitizer and
#    UndefinedBehaviorSanitizer (build-asan-soak).
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
        # g++ 12 with -fsanitize=thread sees a string overflow in a vector copy
        # of tools/assets/wave_file.cpp that cannot happen; it stays a warning.
        cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORDAVAN_TESTS=ON \
            -DKORDAVAN_WERROR=ON -DKORDAVAN_SANITIZE=thread \
            -DCMAKE_CXX_FLAGS=-Wno-error=stringop-overflow >/dev/null
        cmake --build build-tsan --target kordavan-tests -j"$jobs" >/dev/null
        echo "== ThreadSanitizer: the sound buffers between the game and SDL's audio thread"
        if ! TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" SDL_AUDIODRIVER=dummy \
            timeout 600 bash -c "$(declare -f no_aslr); no_aslr build-tsan/tests/kordavan-tests \
            --gtest_filter='MixerThread*:SdlAudio*' --gtest_brief=1"; then
            echo "ThreadSanitizer run FAILED"
            status=1
        fi
        ;;
    soak)
        cmake -S . -B build-asan-soak -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORDAVAN_TESTS=OFF \
            -DKORDAVAN_WERROR=ON -DKORDAVAN_SANITIZE=address,undefined >/dev/null
        cmake --build build-asan-soak --target kordavan-soak -j"$jobs" >/dev/null
        echo "== AddressSanitizer and UndefinedBehaviorSanitizer: 50000 game steps"
        if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            timeout 1200 build-asan-soak/tools/soak/kordavan-soak --steps 50000 --seed 20240607; then
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
