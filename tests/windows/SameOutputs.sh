#!/usr/bin/env bash
# The Windows build gives the same results as the Linux build: the same commands, run
# by both zemtra-cli programs (the Windows one under Wine) on the simulated unit with
# its virtual clock, write the same bytes — data and spectrum files, samples and
# spectrum as CSV, the noise density, the figures and the JSON reports — apart from
# the start time, which is the moment of each run.
# Usage: SameOutputs.sh NATIVE_CLI WINDOWS_CLI EMULATOR
set -euo pipefail
native=$1 windows=$2 emulator=$3

if [ ! -x "$native" ]; then
  echo "SameOutputs: no Linux zemtra-cli at $native (build the default preset first)" >&2
  exit 77  # skipped
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"

simulate=--simulate=ch0=sine:50:1e-3+white:1e-6+flicker:1e-7,seed=7,clock=virtual

# run SIDE NAME ARGS...: one command on one side, its stdout kept as NAME.out.
run() {
  local side=$1 name=$2
  shift 2
  local status=0
  if [ "$side" = linux ]; then
    (cd "$work/linux" && "$native" "$@" >"$name.out" 2>"$name.err") || status=$?
  else
    (cd "$work/windows" && "$emulator" "$windows" "$@" >"$name.out" 2>"$name.err") || status=$?
  fi
  echo "$status" >"$work/$side/$name.status"
}

for side in linux windows; do
  run "$side" measure measure "$simulate" --samples 4096 --out run.DTA --fft run.FFT --csv run.csv \
    --spectrum-csv spectrum.csv --json
  run "$side" density analyze run.DTA --density --segments 1024 --nsd density.csv --window flattop --json
  run "$side" figures analyze run.DTA --tone --allan --histogram histogram.csv --allan-csv allan.csv --json
  run "$side" summary analyze run.DTA --window hamming --no-correct
  run "$side" average measure "$simulate" --samples 1024 --average 3 --fft average.FFT --json
done

# The start time is the one thing that differs: the line in the files that holds it,
# and the fields of the reports.
masked() {
  sed -E -e 's#[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}#START#g' \
    -e 's#[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}#START#g' "$1"
}

differences=0
compared=0
for file in "$work"/linux/*; do
  name=$(basename "$file")
  case "$name" in *.err) continue ;; esac
  compared=$((compared + 1))
  if [ ! -f "$work/windows/$name" ]; then
    echo "SameOutputs: the Windows build wrote no $name" >&2
    differences=$((differences + 1))
  elif ! cmp -s <(masked "$file") <(masked "$work/windows/$name"); then
    echo "SameOutputs: $name differs between Linux and Windows:" >&2
    diff <(masked "$file") <(masked "$work/windows/$name") | head -n 10 >&2 || true
    differences=$((differences + 1))
  fi
done
for status in "$work"/linux/*.status; do
  if [ "$(cat "$status")" != 0 ]; then
    echo "SameOutputs: $(basename "$status" .status) failed on Linux:" >&2
    cat "${status%.status}.err" >&2
    differences=$((differences + 1))
  fi
done

# The masking must not hide everything: the files hold the start time once.
if ! grep -q 'START' <(masked "$work/linux/run.DTA"); then
  echo "SameOutputs: the data file holds no start time to mask" >&2
  differences=$((differences + 1))
fi

echo "SameOutputs: $compared outputs compared, $differences differ"
[ "$differences" -eq 0 ]
