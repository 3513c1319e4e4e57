#!/usr/bin/env bash
# The folders are the floors of the program: a file may include headers of its own folder and
# of folders on lower floors, never of a folder on its own floor or above. Folders on floors 0-4
# are below the window toolkit and include no Qt header. Prints every include that breaks a
# rule and exits 1 when there is one.
# usage: tests/include-floors.sh [SOURCE_DIR]
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2

declare -A floor=(
    [base]=0 [midi]=1 [gr33]=2 [sim]=3 [model]=3 [library]=3 [cli]=4
    [qtcommon]=5 [controls]=6 [editor]=7 [tools]=7 [librarian]=8 [app]=9 [screenshots]=9
)
qt_line=5

status=0
for folder in "${!floor[@]}"; do
    [[ -d $folder ]] || continue
    while IFS=: read -r file line include; do
        target=${include#*\"}
        target=${target%%/*}
        [[ -v floor[$target] ]] || continue
        if [[ $target != "$folder" ]] && ((floor[$target] >= floor[$folder])); then
            echo "$file:$line: $folder (floor ${floor[$folder]}) includes $target (floor ${floor[$target]})"
            status=1
        fi
    done < <(grep -rnE --include='*.h' --include='*.cpp' '^\s*#\s*include\s*"[^"]+/' "$folder")
    if ((floor[$folder] < qt_line)); then
        while IFS= read -r hit; do
            echo "$hit: a folder below the window toolkit includes Qt"
            status=1
        done < <(grep -rnE --include='*.h' --include='*.cpp' '^\s*#\s*include\s*<Q' "$folder")
    fi
done
exit $status
