#!/usr/bin/env bash
# The layer check refuses what it must: a game file that includes app/,
# replay/ or SDL, a shell file that includes app/, a replay file that
# includes shell/ or app/, a tool that includes a test or a benchmark, a
# benchmark that includes a tool or a test, a gfx file that includes game/,
# a file format that includes the machine layer,
# a path through .. or a Windows or POSIX system header outside platform/;
# and accepts the project as it is (tools and benchmarks included), the C
# library's getopt.h included.
#
#   tests/layers/check_layers_test.sh CMAKE-COMMAND
set -uo pipefail
cmake_command="$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
check="$root/cmake/check_layers.cmake"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0

# run FOLDER ALLOWED ROOT: the check's exit status, its messages in $scratch/out
run() {
    "$cmake_command" -DROOT="$3" -DFOLDER="$1" -DALLOWED="$2" -DSTAMP="$scratch/stamp" \
        -P "$check" >"$scratch/out" 2>&1
}

expect_refused() {
    local folder="$1" allowed="$2" file="$3" line="$4"
    rm -rf "$scratch/tree"
    mkdir -p "$scratch/tree/$folder"
    printf '%s\nint x;\n' "$line" >"$scratch/tree/$folder/$file"
    if run "$folder" "$allowed" "$scratch/tree"; then
        echo "FAIL: $folder/$file with '$line' was accepted"
        failures=$((failures + 1))
    elif ! grep -q "$folder/$file" "$scratch/out"; then
        echo "FAIL: the refusal of $folder/$file does not name it:"
        cat "$scratch/out"
        failures=$((failures + 1))
    fi
}

expect_refused game game,gfx,sound,platform hud.cpp '#include "app/devices.h"'
expect_refused game game,gfx,sound,platform hud.cpp '#include <SDL.h>'
expect_refused sound sound,platform mixer.cpp '#include <SDL2/SDL_audio.h>'
expect_refused gfx gfx,platform surfaces.cpp '  #  include "game/game_state.h"'
expect_refused game game,gfx,sound,platform hud.cpp '#include "../app/devices.h"'
expect_refused platform platform platform.cpp '#include "sdl/../../app/devices.h"'
expect_refused sound sound,platform mixer.cpp '#include <Windows.h>'
expect_refused app app,shell,replay,game,gfx,sound,platform screenshot.cpp '#include <unistd.h>'
expect_refused app app,shell,replay,game,gfx,sound,platform settings_file.cpp '#include <sys/stat.h>'
expect_refused game game,gfx,sound,platform hud.cpp '#include <pwd.h>'
expect_refused shell shell,game,gfx,sound,platform preferences.cpp '#include "app/main_loop.h"'
expect_refused replay replay,game,gfx,sound,platform recorder.cpp '#include "shell/options.h"'
expect_refused game game,gfx,sound,platform end_pictures.cpp '#include "replay/replay_file.h"'
expect_refused replay replay,game,gfx,sound,platform player.cpp '#include "app/keyboard.h"'
expect_refused tools tools,app,shell,replay,game,gfx,sound,platform,machine trace_main.cpp '#include "tests/process_support.h"'
expect_refused tools tools,app,shell,replay,game,gfx,sound,platform,machine soak_main.cpp '#include "bench/headless_game.h"'
expect_refused bench bench,app,shell,replay,game,gfx,sound,platform,machine step_time.cpp '#include "tools/trace/trace_io.h"'
expect_refused bench bench,app,shell,replay,game,gfx,sound,platform,machine step_bench.cpp '#include "tests/game_test_support.h"'
expect_refused formats formats picture_files.cpp '#include "platform/platform.h"'

for layer in "formats formats" "platform platform,formats,machine" "gfx gfx,platform,formats" \
    "sound sound,platform,formats" "game game,gfx,sound,platform,formats" \
    "shell shell,game,gfx,sound,platform,formats" "replay replay,game,gfx,sound,platform,formats" \
    "app app,shell,replay,game,gfx,sound,platform,formats" \
    "tools tools,app,shell,replay,game,gfx,sound,platform,formats,machine" \
    "bench bench,app,shell,replay,game,gfx,sound,platform,formats,machine"; do
    set -- $layer
    if ! run "$1" "$2" "$root"; then
        echo "FAIL: the project's own $1/ is refused:"
        cat "$scratch/out"
        failures=$((failures + 1))
    fi
done

[ "$failures" -eq 0 ] && echo "layer check: refuses the nineteen wrong includes, accepts the project"
exit $((failures > 0))
