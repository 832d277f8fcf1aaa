# Bash completion for fiscora: commands, their options, and files or folders for their arguments.
_fiscora()
{
    local cur prev command word
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
            list|read|info|export|verify|package|check) command=$word; break ;;
        esac
    done

    case $prev in
        --lang) COMPREPLY=($(compgen -W "de en" -- "$cur")); return ;;
        --from|--to|--takings) return ;;
        --report) COMPREPLY=($(compgen -f -X '!*.pdf' -- "$cur")); return ;;
    esac

    local options="--help --version --json --quiet --verbose --lang"
    case $command in
        list) options+=" --from --to" ;;
        read|package) options+=" --from --to --overwrite" ;;
        export) options+=" --from --to --overwrite --gdpdu --index-info --raw --skip-line-check" ;;
        check) options+=" --from --to --overwrite --takings --report" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "list read info export verify package check" -- "$cur"))
    elif [[ $command == list ]]; then
        COMPREPLY=($(compgen -d -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -o filenames -F _fiscora fiscora
