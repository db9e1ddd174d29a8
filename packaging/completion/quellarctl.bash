# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for quellarctl. The verbs and their words follow quellarctl's verb table
# (a test checks that every verb and subject is here); operation names come from
# `quellarctl call --list`.

_quellarctl()
{
    local cur prev words cword
    _init_completion || return

    case $prev in
        --data)
            _filedir -d
            return
            ;;
        --trace | --answer-file)
            _filedir
            return
            ;;
    esac

    local verbs="list info get set profile macro call script autostart virtual help"
    local options="--json --data --virtual-device --trace --answer-file --verbose --help --version"
    local i verb="" at=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --data | --trace | --answer-file) ((i++)) ;;
            -*) ;;
            *)
                verb=${words[i]}
                at=$i
                break
                ;;
        esac
    done
    if [[ -z $verb ]]; then
        COMPREPLY=($(compgen -W "$verbs $options" -- "$cur"))
        return
    fi

    local position=$((cword - at))
    local subject=${words[at + 1]}
    case $verb in
        get | set)
            if ((position == 1)); then
                COMPREPLY=($(compgen -W "dpi rate lighting axis button pointer --json --help" -- "$cur"))
                return
            fi
            case "$verb $subject" in
                "set dpi")
                    compopt -o nospace
                    COMPREPLY=($(compgen -W "dpi= enabled= stage= colours=" -- "$cur"))
                    ;;
                "set rate")
                    COMPREPLY=($(compgen -W "125 250 500 1000" -- "$cur"))
                    ;;
                "set lighting")
                    ((position == 2)) && COMPREPLY=($(compgen -W "off static breath rgb finger-tapping" -- "$cur"))
                    ((position == 3)) && COMPREPLY=($(compgen -W "0 1 2 3 4" -- "$cur"))
                    ;;
                "set axis")
                    COMPREPLY=($(compgen -W "0 1 2 3 4 5 6 7 8 9" -- "$cur"))
                    ;;
                "set pointer")
                    compopt -o nospace
                    COMPREPLY=($(compgen -W "speed= double-click= scroll=" -- "$cur"))
                    ;;
                "set button" | "get button")
                    if ((position == 2)); then
                        COMPREPLY=($(compgen -W "1 2 3 4 5 6 7" -- "$cur"))
                    elif [[ $verb == set ]]; then
                        # Names of more than one word are typed as they are: the words are joined.
                        COMPREPLY=($(compgen -W "off key: macro: Left Right Middle Forward Back Auto Fire Double
                            DPI Media Next Previous Stop Play/Pause Mute Volume New Cut Copy Paste Save Print
                            Find Redo Undo Select My Web Search Maximize Minimize Show Run Gun Deactivated" -- "$cur"))
                    fi
                    ;;
            esac
            ;;
        profile)
            if ((position == 1)); then
                COMPREPLY=($(compgen -W "list switch copy reset export import" -- "$cur"))
            elif [[ $subject == export || $subject == import ]]; then
                _filedir
            else
                COMPREPLY=($(compgen -W "1 2 3 4 5 6 7 8 9 10" -- "$cur"))
            fi
            ;;
        macro)
            if ((position == 1)); then
                COMPREPLY=($(compgen -W "list show export import bind" -- "$cur"))
            elif [[ ($subject == export && position -eq 3) || ($subject == import && position -eq 2) ]]; then
                _filedir
            fi
            ;;
        call)
            if ((position == 1)); then
                local operations
                operations=$("${words[0]}" call --list 2>/dev/null | sed -e 's/^[^ ]* //' -e 's/(.*//')
                COMPREPLY=($(compgen -W "--list $operations" -- "$cur"))
            fi
            ;;
        script)
            ((position == 1)) && _filedir
            ;;
        autostart)
            ((position == 1)) && COMPREPLY=($(compgen -W "on off status" -- "$cur"))
            ;;
        virtual)
            ((position == 1)) && COMPREPLY=($(compgen -W "press-dpi unplug plug dump" -- "$cur"))
            ;;
        help)
            ((position == 1)) && COMPREPLY=($(compgen -W "$verbs" -- "$cur"))
            ;;
        list | info)
            COMPREPLY=($(compgen -W "--json --help" -- "$cur"))
            ;;
    esac
} &&
    complete -F _quellarctl quellarctl
