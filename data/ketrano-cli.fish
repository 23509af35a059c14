# SPDX-License-Identifier: GPL-3.0-or-later
# fish completion for ketrano-cli

# The words after the command that are neither options nor their values.
function __ketrano_cli_args
    set -l words (commandline -opc)
    set -e words[1] # the program
    test "$words[1]" = profile; and set -e words[1]
    set -e words[1] # the command
    set -l args
    set -l skip 0
    for w in $words
        if test $skip = 1
            set skip 0
        else if contains -- $w --source --target --include --exclude -n --lines --source-to-target --target-to-source --keep-versions --at --to
            set skip 1
        else if not string match -q -- '-*' $w
            set -a args $w
        end
    end
    for a in $args
        echo $a
    end
end

function __ketrano_cli_command
    set -l words (commandline -opc)
    if test "$words[2]" = profile
        echo "profile $words[3]"
    else
        echo $words[2]
    end
end

# True while the command (one word or "profile SUB") takes its argument number n (from 1).
function __ketrano_cli_at -a command n
    test (__ketrano_cli_command) = "$command"; or return 1
    test (count (__ketrano_cli_args)) -eq (math $n - 1)
end

# Entry numbers of the profile file named on the line: a profile is a row of 1200-byte records.
function __ketrano_cli_entries
    set -l file (__ketrano_cli_args)[1]
    test -f "$file"; or return
    set -l size (stat -c %s -- $file 2>/dev/null); or return
    test $size -ge 1200; and seq 1 (math --scale=0 $size / 1200)
end

set -l commands profile scan sync log settings versions restore help
complete -c ketrano-cli -f
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -s h -l help -d 'show the help'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -s V -l version -d 'show the version'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a profile -d 'make, show and change profile files'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a scan -d 'list what differs between the folders'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a sync -d 'scan, then copy the differences'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a log -d 'show the last unattended runs'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a settings -d 'show or set the saved settings'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a versions -d 'list the kept versions of replaced files'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a restore -d 'put a kept version of a file back'
complete -c ketrano-cli -n "not __fish_seen_subcommand_from $commands" -a help -d 'show the usage of a command'

# profile SUB
set -l subs new show add edit remove move
complete -c ketrano-cli -n "__fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a new -d 'create an empty profile file'
complete -c ketrano-cli -n "__fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a show -d 'list the entries of a profile file'
complete -c ketrano-cli -n "__fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a add -d 'append an entry'
complete -c ketrano-cli -n "__fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a edit -d 'change fields of entry N'
complete -c ketrano-cli -n "__fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a remove -d 'take entry N out'
complete -c ketrano-cli -n "__fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a move -d 'make entry N entry M'
for command in 'profile new' 'profile show' 'profile add' 'profile edit' 'profile remove' 'profile move' scan sync versions restore
    complete -c ketrano-cli -n "__ketrano_cli_at '$command' 1" -F -a '(__fish_complete_suffix .prf)'
end
for command in 'profile edit' 'profile remove' 'profile move'
    complete -c ketrano-cli -n "__ketrano_cli_at '$command' 2" -a '(__ketrano_cli_entries)'
end
complete -c ketrano-cli -n "__ketrano_cli_at 'profile move' 3" -a '(__ketrano_cli_entries)'
for command in 'profile add' 'profile edit'
    complete -c ketrano-cli -n "test (__ketrano_cli_command) = '$command'" -l source -x -a '(__fish_complete_directories (commandline -ct))' -d 'the Source folder'
    complete -c ketrano-cli -n "test (__ketrano_cli_command) = '$command'" -l target -x -a '(__fish_complete_directories (commandline -ct))' -d 'the Target folder'
    complete -c ketrano-cli -n "test (__ketrano_cli_command) = '$command'" -l include -x -d 'extensions to include'
    complete -c ketrano-cli -n "test (__ketrano_cli_command) = '$command'" -l exclude -x -d 'extensions to exclude'
end

# scan, sync
complete -c ketrano-cli -n "__fish_seen_subcommand_from scan sync" -l tsv -d 'tab-separated lines as the window shows them'
complete -c ketrano-cli -n "__fish_seen_subcommand_from scan sync log" -l json -d 'one JSON document'
complete -c ketrano-cli -n "__fish_seen_subcommand_from scan sync" -s q -l quiet -d 'print only failures'
complete -c ketrano-cli -n "__fish_seen_subcommand_from scan" -l exit-code -d 'exit with 1 when anything differs'
complete -c ketrano-cli -n "__fish_seen_subcommand_from sync" -s v -l verbose -d 'print each file copied'
complete -c ketrano-cli -n "__fish_seen_subcommand_from sync" -l create-roots -d 'create a missing Source or Target folder'
complete -c ketrano-cli -n "__fish_seen_subcommand_from sync" -l source-to-target -x -a 'on off' -d 'copy Source to Target this time'
complete -c ketrano-cli -n "__fish_seen_subcommand_from sync" -l target-to-source -x -a 'on off' -d 'copy Target to Source this time'
complete -c ketrano-cli -n "__fish_seen_subcommand_from sync" -l keep-versions -x -d 'keep versions of replaced files this many days'

# versions, restore
complete -c ketrano-cli -n "__fish_seen_subcommand_from versions" -l json -d 'one JSON document'
complete -c ketrano-cli -n "__fish_seen_subcommand_from restore" -l at -x -d 'the version of this run'
complete -c ketrano-cli -n "__fish_seen_subcommand_from restore" -l to -x -a '(__fish_complete_directories (commandline -ct))' -d 'into this folder'

# log, settings, help
complete -c ketrano-cli -n "__fish_seen_subcommand_from log" -s n -l lines -x -d 'how many runs'
complete -c ketrano-cli -n "__ketrano_cli_at settings 1" -a 'copy-source copy-target show-icons keep-versions'
complete -c ketrano-cli -n "__ketrano_cli_at settings 2; and not contains -- keep-versions (__ketrano_cli_args)" -a 'on off'
complete -c ketrano-cli -n "__fish_seen_subcommand_from help; and not __fish_seen_subcommand_from profile scan sync log settings versions restore" -a "profile scan sync log settings versions restore"
complete -c ketrano-cli -n "__fish_seen_subcommand_from help; and __fish_seen_subcommand_from profile; and not __fish_seen_subcommand_from $subs" -a "$subs"
complete -c ketrano-cli -n "__fish_seen_subcommand_from $commands" -s h -l help -d 'show the usage'
