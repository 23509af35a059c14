#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash, zsh and fish completions follow ketrano-cli's own command table: each offers every
# command and option that "ketrano-cli --help" and "help COMMAND" list, the entry numbers of a
# profile and the settings with their values. A shell that is not installed is skipped, saying so.
# Usage: cli_completion_test.sh PATH/TO/ketrano-cli DATA_FOLDER
set -u
cli=$(realpath "$1") data=$(realpath "$2") work=$(mktemp -d) failures=0 ran=0
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
"$cli" profile add p.prf --source /a --target /b >/dev/null &&
    "$cli" profile add p.prf --source /c --target /d >/dev/null &&
    "$cli" profile add p.prf --source /e --target /f >/dev/null || fail "making p.prf"

# Lines to complete and what must be offered: "=" exactly these words, "+" these among others.
# ${x} below is the program's own answer: its commands, options and settings.
cases=$work/cases
words() { paste -sd ' '; } # not xargs: it would take "-n" for its own
section() { sed -n "/^$1:/,/^\$/p"; }
# The option names of an Options section: "-q", "--quiet" from "  -q, --quiet  print nothing".
names() { section Options | awk '/^  -/ {s = substr($0, 3); sub(/  .*/, "", s); print s}' | grep -o -- '-[-a-zA-Z]*' | words; }
{
    # The commands and options of the overview, then each command's options.
    overview=$("$cli" --help)
    subcommands=$(awk '$1 == "profile" {print $2}' <<<"$overview" | sort | words)
    echo "ketrano-cli |+|$(section Commands <<<"$overview" | awk '/^  [a-z]/ {print $1}' | sort -u | words)"
    echo "ketrano-cli -|+|$(names <<<"$overview")"
    echo "ketrano-cli profile |=|$subcommands"
    for c in $(section Commands <<<"$overview" |
        awk '/^  [a-z]/ && $1 != "help" {print $1 ($1 == "profile" ? ":" $2 : "")}'); do
        command=${c/:/ } line="ketrano-cli ${c/:/ }"
        usage=$("$cli" help $command | head -1)
        if [[ $usage == *"$command PROFILE N M"* ]]; then line+=" p.prf 1 2"
        elif [[ $usage == *"$command PROFILE N"* ]]; then line+=" p.prf 1"
        elif [[ $usage == *"$command PROFILE"* ]]; then line+=" p.prf"; fi
        echo "$line -|=|$("$cli" help $command | names)"
    done
    cat <<END
ketrano-cli profile edit p.prf |=|1 2 3
ketrano-cli profile move p.prf 3 |=|1 2 3
ketrano-cli profile remove p.prf 1 |=|
ketrano-cli settings |=|$("$cli" settings | cut -d= -f1 | words)
ketrano-cli settings show-icons |=|off on
ketrano-cli settings copy-source on |=|
ketrano-cli settings keep-versions |=|
ketrano-cli sync p.prf --target-to-source |=|off on
ketrano-cli help |=|log profile restore scan settings sync versions
ketrano-cli help profile |=|$subcommands
END
} >"$cases"
[ "$(wc -l <"$cases")" -ge 20 ] || fail "too few cases from the command table: $(cat "$cases")"

# Each shell prints, for every line of the cases, the words it offers on one line.
bash_offers() {
    bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1/ketrano-cli.bash-completion"
        while IFS="|" read -r line _; do
            COMP_LINE=$line COMP_POINT=${#line}
            read -ra COMP_WORDS <<<"$line"
            [[ $line == *" " ]] && COMP_WORDS+=("")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
            _ketrano_cli
            echo "${COMPREPLY[*]}"
        done' bash "$data" <"$cases"
}
zsh_offers() {
    # An interactive zsh in a pseudo-terminal whose completion records what compadd offers.
    zsh -f -c '
        zmodload zsh/zpty || exit 1
        out=$1/offered
        zpty z zsh -f -i
        zpty -w z "PS1=; fpath=($2 \$fpath); autoload -U compinit; compinit -u -D"
        zpty -w z "compadd() { local -a m; builtin compadd -O m \"\$@\"; print -rl -- \$m >>$out; builtin compadd \"\$@\"; }"
        zpty -w z "offer() { : >$out; zle complete-word; : >$out.done; }; zle -N offer; bindkey ^T offer"
        zpty -w z "zstyle \":completion:*\" menu no; unsetopt beep"
        while IFS="|" read -r line _; do
            rm -f $out.done
            zpty -w -n z "$line"$'"'"'\x14'"'"'
            for i in {1..200}; do [[ -e $out.done ]] && break; sleep 0.05; done
            print -r -- ${(u)${(f)"$(<$out)"}}
            zpty -w -n z $'"'"'\x15'"'"'
        done
        zpty -d z' zsh "$work" "$data" <"$cases"
}
fish_offers() {
    fish -c 'source $argv[1]/ketrano-cli.fish
        while read -l line
            set line (string split -m1 "|" -- $line)[1]
            echo (complete -C "$line" | string replace -r "\t.*" "" | string join " ")
        end' "$data" <"$cases"
}

check() {
    local shell=$1 got
    got=$("${shell}_offers") || { fail "$shell did not run"; return; }
    ran=$((ran + 1))
    while IFS='|' read -r line how want <&3 && read -r offered <&4; do
        # Where the word is empty, the options a shell may offer besides are left out.
        offered=$(tr ' ' '\n' <<<"$offered" | grep -v '^$' | sort -u |
            { [[ $line == *" " ]] && grep -v '^-' || cat; } | words)
        if [ "$how" = "=" ]; then
            [ "$offered" = "$(tr ' ' '\n' <<<"$want" | sort -u | words)" ] ||
                fail "$shell: '$line' offers '$offered', not '$want'"
        else
            for w in $want; do
                [[ " $offered " == *" $w "* ]] || fail "$shell: '$line' does not offer $w: '$offered'"
            done
        fi
    done 3<"$cases" 4<<<"$got"
}
if [ -r /usr/share/bash-completion/bash_completion ]; then check bash
else echo "SKIP: bash completion is not checked: bash-completion is not installed"; fi
if command -v zsh >/dev/null; then check zsh
else echo "SKIP: zsh completion is not checked: zsh is not installed"; fi
if command -v fish >/dev/null; then check fish
else echo "SKIP: fish completion is not checked: fish is not installed"; fi
[ "$failures" -eq 0 ] && echo "all passed ($ran of 3 shells)"
exit "$failures"
