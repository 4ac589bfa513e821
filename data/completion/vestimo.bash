# bash completion for vestimo                                    -*- shell-script -*-
# SPDX-License-Identifier: GPL-3.0-or-later
# Commands, their options, game labels for --game (from `vestimo games --labels`) and run ids for
# undo (from `vestimo history --ids`, which only reads the journal).

_vestimo_options() {
    case $1 in
        check) echo "--cmx --bmp --assoc --dry-run --json --program-dir --help" ;;
        check-file) echo "--json --help" ;;
        install) echo "--dry-run --json --game --into --program-dir --help" ;;
        games) echo "--json --labels --help" ;;
        history) echo "--json --limit --ids --program-dir --help" ;;
        undo) echo "--json --program-dir --help" ;;
        render) echo "--tone --texture --with --alone --size --turn --json --help" ;;
        skins) echo "--json --problems --sheet --help" ;;
    esac
}

# Adds each line of standard input that starts with $1 to COMPREPLY, quoted for the shell.
_vestimo_add_lines() {
    local line
    while IFS= read -r line; do
        [[ -n $line && $line == "$1"* ]] && COMPREPLY+=("$(printf '%q' "$line")")
    done
}

_vestimo() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program=${COMP_WORDS[0]} command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --program-dir | --game | --into | --limit | --tone | --texture | --with | --size | --turn | --sheet) ((i++)) ;;
            -*) ;;
            *) command=${COMP_WORDS[i]} && break ;;
        esac
    done
    COMPREPLY=()
    case $prev in
        --game)
            # What was typed so far, without the quoting the shell will add back.
            local typed
            eval "typed=$cur" 2>/dev/null || typed=$cur
            _vestimo_add_lines "$typed" < <("$program" games --labels 2>/dev/null)
            return ;;
        --program-dir | --into)
            COMPREPLY=($(compgen -d -- "$cur"))
            return ;;
        --texture)
            COMPREPLY=($(compgen -f -X '!*.[bB][mM][pP]' -- "$cur") $(compgen -d -- "$cur"))
            return ;;
        --with)
            COMPREPLY=($(compgen -f -X '!*.[cC][mM][xX]' -- "$cur") $(compgen -d -- "$cur"))
            return ;;
        --tone)
            COMPREPLY=($(compgen -W "lgt med drk" -- "$cur"))
            return ;;
        --sheet)
            COMPREPLY=($(compgen -f -X '!*.[pP][nN][gG]' -- "$cur") $(compgen -d -- "$cur"))
            return ;;
        --limit | --size | --turn)
            return ;;
    esac
    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--help --version" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "check check-file install games history undo render skins" -- "$cur") $(compgen -d -- "$cur"))
        fi
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_vestimo_options "$command")" -- "$cur"))
        return
    fi
    case $command in
        undo)
            COMPREPLY=($(compgen -W "last $("$program" history --ids 2>/dev/null | tr '\n' ' ')" -- "$cur")) ;;
        check | skins)
            COMPREPLY=($(compgen -d -- "$cur")) ;;
        games | history) ;;
        *)
            COMPREPLY=($(compgen -f -- "$cur")) ;;
    esac
}
complete -o filenames -F _vestimo vestimo
