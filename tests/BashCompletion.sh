#!/usr/bin/env bash
# The completion scripts: each command's options are those its --help lists (so the
# scripts cannot drift from the programs), and a table of typed lines completes as
# a user expects.
#   BashCompletion.sh CLI CLI_COMPLETION [ZEMTRA ZEMTRA_COMPLETION]
set -uo pipefail
failures=0
fail() { echo "BashCompletion: $*" >&2; failures=$((failures + 1)); }

# The long options named in the text on stdin, sorted, each once.
# A word with a dot after it is a file name of an example ("-- --odd.DTA"), not an option.
long_options() { grep -o -- '--[a-z0-9][a-z0-9-]*[.]\?' | grep -v '[.]$' | sort -u | tr '\n' ' '; }

# check_options PROGRAM SCRIPT FUNCTION [COMMAND ...]: FUNCTION COMMAND names the
# options of "PROGRAM COMMAND --help" and --help.
check_options() {
  local program=$1 script=$2 function=$3
  shift 3
  for command in "$@"; do
    local -a words=()
    [[ $command != - ]] && words=("$command")
    local from_help from_script
    from_help=$({ "$program" "${words[@]}" --help; echo --help; } | long_options)
    from_script=$(bash -c "source '$script'; $function ${words[*]}" | long_options)
    [[ $from_help == "$from_script" ]] ||
      fail "$(basename "$program") ${words[*]}: --help has [$from_help], the completion [$from_script]"
  done
}

# complete_line SCRIPT FUNCTION EXPECTED WORD...: completing the last word gives EXPECTED.
complete_line() {
  local script=$1 function=$2 expected=$3
  shift 3
  local got
  got=$(cd "$scratch" && bash -c 'source "$1"; shift; f=$1; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        "$f"; ((${#COMPREPLY[@]})) && printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' - "$script" "$function" "$@")
  [[ $got == "$expected" ]] || fail "'$*': expected [$expected], got [$got]"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/run1.FFT" "$scratch/run1.DTA" "$scratch/run2.dta" "$scratch/notes.txt" "$scratch/Zemtraini.prf"
mkdir "$scratch/data"

cli=$1 cli_script=$2
check_options "$cli" "$cli_script" _zemtra_cli_options measure analyze settings scan recover
# The commands are those of the overview.
overview=$("$cli" --help | sed -n 's/^  zemtra-cli \([a-z][a-z]*\).*/\1/p' | sort -u | tr '\n' ' ')
listed=$(bash -c "source '$cli_script'; printf '%s\n' \$_zemtra_cli_commands" | grep -v -- '^--' | sort | tr '\n' ' ')
[[ $overview == "$listed" ]] || fail "commands: --help has [$overview], the completion [$listed]"

complete_line "$cli_script" _zemtra_cli "analyze " zemtra-cli an
complete_line "$cli_script" _zemtra_cli "scan settings " zemtra-cli s
complete_line "$cli_script" _zemtra_cli "--window " zemtra-cli measure --win
complete_line "$cli_script" _zemtra_cli "flattop " zemtra-cli analyze run1.DTA --window f
complete_line "$cli_script" _zemtra_cli "4096 " zemtra-cli measure --samples 40
complete_line "$cli_script" _zemtra_cli "--device= " zemtra-cli measure --dev
complete_line "$cli_script" _zemtra_cli "libftdi tty " zemtra-cli measure --device =
complete_line "$cli_script" _zemtra_cli "tty " zemtra-cli measure --device = t
complete_line "$cli_script" _zemtra_cli "" zemtra-cli analyze run1.DTA --dev
complete_line "$cli_script" _zemtra_cli "data run1.DTA run2.dta " zemtra-cli analyze ""
complete_line "$cli_script" _zemtra_cli "Zemtraini.prf data " zemtra-cli settings ""
complete_line "$cli_script" _zemtra_cli "Zemtraini.prf " zemtra-cli measure --settings Z
complete_line "$cli_script" _zemtra_cli "data run1.FFT " zemtra-cli measure --simulate= --yes --fft ""
complete_line "$cli_script" _zemtra_cli "" zemtra-cli measure --average ""

if (($# >= 4)); then
  zemtra=$3 zemtra_script=$4
  check_options "$zemtra" "$zemtra_script" _zemtra_options -
  complete_line "$zemtra_script" _zemtra "--simulate --simulate= " zemtra --sim
  complete_line "$zemtra_script" _zemtra "libftdi tty " zemtra --device =
fi

if ((failures > 0)); then
  exit 1
fi
echo "BashCompletion: every check passed"
