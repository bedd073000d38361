# bash completion for kelvor, kelrun and kelvor-schema. Installed once under each program's
# name, so that whichever is completed first defines all three.

_kelvor_files() {
    # Access files first; any file when none matches, since the extension is only a habit.
    local IFS=$'\n'
    COMPREPLY=($(compgen -f -X "!*.@($1)" -- "$2") $(compgen -d -- "$2"))
    [[ ${#COMPREPLY[@]} -eq 0 ]] && COMPREPLY=($(compgen -f -- "$2"))
    compopt -o filenames 2>/dev/null
}

_kelvor() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        /r | /R) _kelvor_files 'txt|log' "$cur"; return ;;
        /title1 | /title2) return ;;
    esac
    case $COMP_CWORD in
        1 | 2) _kelvor_files 'mdb|accdb|MDB|ACCDB' "$cur" ;;
        3)
            if [[ $cur == /t* ]]; then
                COMPREPLY=($(compgen -W '/title1 /title2' -- "$cur"))
            else
                _kelvor_files 'sql|SQL' "$cur"
                [[ -z $cur || $cur == - ]] && COMPREPLY+=(-)
            fi
            ;;
        *)
            if [[ ${COMP_WORDS[3]} == /title[12] ]]; then
                COMPREPLY=($(compgen -W '/title1 /title2' -- "$cur"))
            else
                COMPREPLY=($(compgen -W '/utf8 /utf16 /e /r /x' -- "$cur"))
            fi
            ;;
    esac
}

_kelrun() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        /s | /S) _kelvor_files 'mdw|MDW' "$cur"; return ;;
        /p | /P | /un | /UN | /up | /UP) return ;;
    esac
    case $COMP_CWORD in
        1) _kelvor_files 'sql|SQL' "$cur" ;;
        2) _kelvor_files 'mdb|accdb|MDB|ACCDB' "$cur" ;;
        *) COMPREPLY=($(compgen -W '/c /o /e /ef /p /un /up /s /ie' -- "$cur")) ;;
    esac
}

_kelvor_schema() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    if [[ $COMP_CWORD -eq 1 ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help' -- "$cur"))
        else
            _kelvor_files 'mdb|accdb|MDB|ACCDB' "$cur"
        fi
    fi
}

complete -F _kelvor kelvor
complete -F _kelrun kelrun
complete -F _kelvor_schema kelvor-schema
