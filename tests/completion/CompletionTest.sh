#!/bin/bash
# Sources the bash completion and asks it what a user pressing Tab would get.
# Arguments: the vestimo program, vestimo-demo, the completion file.
set -u
program=$1 demo=$2 completion=$3
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$demo" --fake-home "$work/home" >/dev/null || { echo "no fake home"; exit 1; }
export HOME=$work/home WINEPREFIX= XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
# shellcheck source=/dev/null
source "$completion"
failed=0

# Completes the words given, the last being the one under the cursor; prints one reply a line.
complete_words() {
    COMP_WORDS=("$program" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _vestimo
    printf '%s\n' "${COMPREPLY[@]}"
}

expect() { # what, expected line, words...
    local what=$1 line=$2
    shift 2
    if ! complete_words "$@" | grep -qxF -- "$line"; then
        echo "FAIL: $what: no \"$line\" in:"; complete_words "$@"
        failed=1
    fi
}

expect "commands" check ch
expect "commands" check-file ch
expect "commands" render r
expect "commands" skins s
expect "options" --sheet skins --s
expect "options" --dry-run check --d
expect "options" --labels games --l
expect "tones" med render --tone m
expect "game labels" 'The\ Sims\ \(Wine\,\ ~/.wine\)' install --game "The"
expect "game labels" 'The\ Sims\ Legacy\ Collection\ \(Steam\,\ ~/SteamLibrary\)' install --game ""
expect "runs" last undo ""

# Every option a command's help names is offered.
for command in check check-file install games history undo render skins; do
    for option in $("$program" "$command" --help | grep -o -- '--[a-z-]*' | sort -u); do
        expect "$command's options" "$option" "$command" "$option"
    done
done
exit $failed
