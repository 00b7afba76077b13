#!/usr/bin/env bash
# Fails, naming the files, when any C++ file of the project differs from what
# clang-format makes of it with the project's .clang-format.
#
#   tools/check_format.sh          (clang-format -i on the named files fixes them)
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard '*.cpp' '*.h')
unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done
if [ ${#unformatted[@]} -ne 0 ]; then
    echo "Not formatted with the project's .clang-format:"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format wants them"
