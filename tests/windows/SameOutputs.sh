#!/usr/bin/env bash
# The Windows build gives the same results as the Linux build: the same commands, run
# by both zemtra-cli programs (the Windows one under Wine) on the simulated unit with
# its virtual clock, write the same bytes — data and spectrum files, samples and
# spectrum as CSV, the noise density, the figures and the JSON reports — apart from
# the start time, which is the moment of each run, and from the last bit of a number
# printed in full precision where it went through exp or log: the two systems' math
# libraries round those functions each their own way (within one unit in the last
# place). Such numbers are counted and shown; every other byte must agree.
# Usage: SameOutputs.sh NATIVE_CLI WINDOWS_CLI EMULATOR
set -euo pipefail
native=$(realpath -m "$1") windows=$(realpath -m "$2") emulator=$(realpath -m "$3")

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
  run "$side" plain measure --simulate=clock=virtual --samples 4096 --out plain.DTA
  run "$side" measure measure "$simulate" --samples 4096 --out run.DTA --fft run.FFT --csv run.csv \
    --spectrum-csv spectrum.csv --json
  run "$side" density analyze run.DTA --density --band 10:1000 --segments 1024 --nsd density.csv --window flattop --json
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

# same A B: true when the files agree but for the last bits of full-precision numbers;
# prints each such number pair.
same() {
  awk -v other="$2" '
    function numbers(line, list,   n) {
      n = 0
      while (match(line, /-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?/)) {
        list[++n] = substr(line, RSTART, RLENGTH)
        line = substr(line, RSTART + RLENGTH)
      }
      return n
    }
    function skeleton(line) { gsub(/-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?/, "#", line); return line }
    function digits(text) { gsub(/[-.]|[eE].*$/, "", text); sub(/^0+/, "", text); return length(text) }
    {
      if ((getline theirs < other) <= 0) { print "  the Windows file ends early"; bad = 1; exit }
      if ($0 == theirs) next
      if (skeleton($0) != skeleton(theirs)) { print "  line " NR ": " $0 "\n  against: " theirs; bad = 1; next }
      n = numbers($0, mine); numbers(theirs, them)
      for (i = 1; i <= n; ++i) {
        if (mine[i] == them[i]) continue
        a = mine[i] + 0; b = them[i] + 0; scale = (a < 0 ? -a : a)
        # Full precision (15 or more digits) and within four units in the last place.
        if (digits(mine[i]) >= 15 && (a - b <= scale * 9e-16 && b - a <= scale * 9e-16)) {
          print "  last bit, line " NR ": " mine[i] " / " them[i]; continue
        }
        print "  line " NR ": " mine[i] " against " them[i]; bad = 1
      }
    }
    END { if (!bad && (getline theirs < other) > 0) { print "  the Windows file is longer"; bad = 1 }; exit bad }
  ' "$1"
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
    masked "$file" >"$work/mine"
    masked "$work/windows/$name" >"$work/theirs"
    if same "$work/mine" "$work/theirs" >"$work/report"; then
      echo "SameOutputs: $name agrees but for the last bits of $(wc -l <"$work/report") numbers:"
      head -n 5 "$work/report"
    else
      echo "SameOutputs: $name differs between Linux and Windows:" >&2
      grep -v '^  last bit' "$work/report" | head -n 10 >&2
      differences=$((differences + 1))
    fi
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
