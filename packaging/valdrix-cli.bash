# bash completion for valdrix-cli: its commands, options, the choices of the text fields and
# the --link kinds. Everything is read from the program's own --help and COMMAND --help each
# time, so the completion knows what the installed program knows.
# Copyright 2026 Valdrix developers; GPL-3.0-or-later.

# Option names in a help text: -x and --name tokens that stand after a blank, "[" or "|".
_valdrix_cli_options() {
    grep -oE -- '(^|[][[:space:]|])--?[A-Za-z][A-Za-z0-9-]*' <<<"$1" |
        sed -E 's/^[^-]*//' | sort -u
}

# What an option takes, as its help line shows it ("NUMBER", "direct|output", "usb[:N]");
# nothing for an option that takes no value.
_valdrix_cli_placeholder() {
    awk -v option="$2" '
        /^[[:space:]]+-/ {
            line = $0
            sub(/^[[:space:]]+(-[A-Za-z], )?/, "", line)
            if (index(line, option " ") == 1 && substr(line, length(option) + 2, 1) !~ /[[:space:]]/) {
                split(substr(line, length(option) + 2), rest, /[[:space:]]/)
                print rest[1]
                exit
            }
        }' <<<"$1"
}

# The values an option offers: the alternatives of its placeholder ("direct|output"), the
# list its help line says the panel offers, or for --link the kind of each --link line.
_valdrix_cli_choices() {
    local help=$1 option=$2 placeholder
    if [[ $option == --link ]]; then
        grep -oE -- '--link [a-z]+(\[?:[A-Za-z]+)?' <<<"$help" |
            while read -r _ kind; do
                case $kind in
                    *'[:'*) printf '%s\n' "${kind%%\[*}" "${kind%%\[*}:" ;;
                    *:*) printf '%s\n' "${kind%%:*}:" ;;
                    *) printf '%s\n' "$kind" ;;
                esac
            done | sort -u
        return
    fi
    placeholder=$(_valdrix_cli_placeholder "$help" "$option")
    if [[ $placeholder == *'|'* && $placeholder != *'['* ]]; then
        tr '|' '\n' <<<"$placeholder"
        return
    fi
    awk -v option="$2" '
        /^[[:space:]]+-/ && index($0, option " ") && match($0, /(offers|choices:?|one of) [^;]*/) {
            text = substr($0, RSTART, RLENGTH)
            sub(/^[^ ]+ (of )?/, "", text)
            gsub(/[ ,]+/, "\n", text)
            print text
            exit
        }' <<<"$help"
}

# The replies for the word under the cursor, given as the whole word, cut down to the part
# readline replaces: it splits words at ":" and "=" as well as at blanks.
_valdrix_cli_reply() {
    local cur=$1 line=$2
    shift 2
    local replaced=${line##*["$COMP_WORDBREAKS"]}
    local cut=$((${#cur} - ${#replaced})) candidate
    COMPREPLY=()
    for candidate in "$@"; do
        [[ $candidate == "$cur"* ]] && COMPREPLY+=("${candidate:cut}")
    done
}

# Values for OPTION given the text typed so far, each after PREFIX; files after "file:".
_valdrix_cli_values() {
    local help=$1 option=$2 typed=$3 prefix=$4
    if [[ $option == --link && $typed == file:* ]]; then
        compgen -f -- "${typed#file:}" | sed "s|^|${prefix}file:|"
        return
    fi
    _valdrix_cli_choices "$help" "$option" | sed "s|^|${prefix}|"
}

_valdrix_cli() {
    local program=${COMP_WORDS[0]}
    local line=${COMP_LINE:0:COMP_POINT}
    local cur=${line##*[[:space:]]}
    local -a words
    read -ra words <<<"${line:0:${#line}-${#cur}}"

    local main_help command= command_help word i options_ended=
    main_help=$("$program" --help 2>/dev/null) || return
    local -a commands
    mapfile -t commands < <(awk '/^Commands:/ { listing = 1; next }
                                  listing && /^  [a-z]/ { print $1; next }
                                  listing && !/^ / { listing = 0 }' <<<"$main_help")

    # The command is the first word that is not an option or an option's value.
    for ((i = 1; i < ${#words[@]}; i++)); do
        word=${words[i]}
        if [[ -z $options_ended && $word == -- ]]; then
            options_ended=1
        elif [[ -z $options_ended && $word == -* ]]; then
            [[ $word != *=* && -n $(_valdrix_cli_placeholder "$main_help" "$word") ]] && ((i++))
        else
            command=$word
            break
        fi
    done

    local help=$main_help
    if [[ -n $command ]]; then
        command_help=$("$program" "$command" --help 2>/dev/null) || return
        help=$main_help$'\n'$command_help
    fi

    local previous=${words[${#words[@]} - 1]} option= typed= prefix=
    if [[ -z $options_ended && $cur == --*=* ]]; then
        option=${cur%%=*} typed=${cur#*=} prefix=${cur%%=*}=
    elif [[ -z $options_ended && $previous == -* && $previous != *=* ]] &&
        [[ -n $(_valdrix_cli_placeholder "$help" "$previous") ]]; then
        option=$previous typed=$cur
    fi

    local -a candidates
    if [[ -n $option ]]; then
        mapfile -t candidates < <(_valdrix_cli_values "$help" "$option" "$typed" "$prefix")
        [[ $option == --link && $typed == file:* ]] && compopt -o filenames 2>/dev/null
    elif [[ -z $options_ended && $cur == -* ]]; then
        local text=${command_help:-$main_help}
        [[ -n $command ]] && text+=$'\n --help'
        mapfile -t candidates < <(_valdrix_cli_options "$text")
    elif [[ -z $command ]]; then
        candidates=("${commands[@]}")
    fi
    _valdrix_cli_reply "$cur" "$line" "${candidates[@]}"
    # A kind that still needs its ":N" or ":PATH" is not finished yet.
    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *: ]] && compopt -o nospace 2>/dev/null
    return 0
}

complete -F _valdrix_cli valdrix-cli
