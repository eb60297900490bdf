#!/usr/bin/env bash
# The behaviour corpus: scripted games in the simulator, each dump, screenshot and file the game
# writes fingerprinted, compared with the fingerprints recorded in EXPECTED. A change that only
# restructures the code must leave every one of them as it was.
#   tests/corpus/run.sh SIM ASSETDIR EXPECTED [--update]
# --update writes the fingerprints of this run to EXPECTED: only for a change of behaviour that is
# meant, and the commit says so.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 SIM ASSETDIR EXPECTED [--update]" >&2; exit 2; }
sim=$(realpath "$1")
assetdir=$(realpath "$2")
expected=$3
update=${4:-}
here=$(cd "$(dirname "$0")" && pwd)

# name | seed | date | settings lines over the shipped ones (;-separated) | what its dumps must
# show, in Python over d, the list of its dumps: a script that silently does nothing fails here.
scenarios=(
  "played_game|2|2010-03-01|BASESCRAP=150|d[-3]['NameEntryState'] == 2 and d[-2]['NameEntryState'] == 3 and d[-1]['Visible']['pnlSplash']"
  "long_battle|5|2010-03-01|EMIBBETBASEEMERGE=12;FMIBBETBASEEMERGE=16;SMIBBETBASEEMERGE=20;BASEORBHEALTH=4500;BASESCRAP=200|d[-1]['time'] >= 300000 and max(len(x['Mibbets']) for x in d) >= 300 and d[-1]['GameOver']"
  "tutorial|3|2010-03-01||d[-2]['TutorialStage'] == 13 and d[-1]['GameMode'] == 1"
  "debug_keys|4|2010-03-01|DEBUG=1|d[0]['Visible']['memDbg'] and 'We win! >:D' in d[-1]['DebugLines']"
  "christmas|6|2010-12-25||d[-1]['Theme'] == 2 and len(d[-1]['Turrets']) == len(d[0]['Turrets']) + 2"
)

work=$(mktemp -d "${TMPDIR:-/tmp}/mibbetfall-corpus.XXXXXX")
keep() {
  echo "the dumps, shots and files of this run are kept in $work" >&2
  exit 1
}

# An asset folder of the scenario's own: links to the generated files, its own settings, no table.
private_assets() {  # DIR SETTINGS
  local dir=$1 line lines
  cp -rs "$assetdir" "$dir"
  rm -f "$dir"/settings.ini "$dir"/hs.bmp* "$dir"/debug.txt*
  cp "$assetdir/settings.ini" "$dir/settings.ini"
  IFS=';' read -ra lines <<<"$2"
  for line in "${lines[@]}"; do
    sed -i "/^${line%%=*}=/d" "$dir/settings.ini"
    echo "$line" >>"$dir/settings.ini"
  done
}

fingerprint() { sha256sum "$1" | cut -d' ' -f1; }
# One line an output: scenario, kind, number or name, fingerprint.
output() { echo "$1 $2 $3 $(fingerprint "$4")" | tee -a "$work/actual.txt"; }

for row in "${scenarios[@]}"; do
  IFS='|' read -r name seed date settings check <<<"$row"
  dir=$work/$name
  mkdir -p "$dir"
  private_assets "$dir/Assets" "$settings"
  if ! (cd "$dir" && HOME=$dir XDG_DATA_HOME=$dir XDG_STATE_HOME=$dir SDL_AUDIODRIVER=dummy \
    "$sim" --assets "$dir/Assets/" --seed "$seed" --date "$date" "$here/$name.txt" >dumps.jsonl 2>stderr.txt); then
    echo "$name: the simulator failed:" >&2
    cat "$dir/stderr.txt" >&2
    keep
  fi
  n=0
  while IFS= read -r dump; do
    n=$((n + 1))
    printf '%s\n' "$dump" >"$dir/dump-$n.json"
    output "$name" dump "$n" "$dir/dump-$n.json"
  done <"$dir/dumps.jsonl"
  while read -r shot; do
    [ -f "$dir/$shot" ] || { echo "$name: no $shot was written" >&2; keep; }
    output "$name" shot "$shot" "$dir/$shot"
  done < <(sed -n 's/^shot //p' "$here/$name.txt")
  # What the game wrote into its folder: the high-score table, the debug log.
  while read -r file; do
    output "$name" file "$file" "$dir/Assets/$file"
  done < <(find "$dir/Assets" -maxdepth 1 -type f ! -name settings.ini -printf '%f\n' | sort)
  python3 -c 'import json, sys
d = [json.loads(line) for line in open(sys.argv[1])]
sys.exit(0 if d and eval(sys.argv[2]) else 1)' "$dir/dumps.jsonl" "$check" ||
    { echo "$name: its dumps do not show what it was meant to reach: $check" >&2; keep; }
done

if [ "$update" = "--update" ]; then
  {
    echo "# The behaviour corpus's fingerprints: scenario, kind, number or name, sha256."
    echo "# Written by tests/corpus/run.sh --update, only for a change of behaviour that is meant."
    cat "$work/actual.txt"
  } >"$expected"
  echo "wrote $(wc -l <"$work/actual.txt") fingerprints to $expected"
  rm -rf "$work"
  exit 0
fi

[ -f "$expected" ] || { echo "no $expected: run with --update to record the fingerprints" >&2; keep; }
# Which outputs differ, which are new and which are missing.
differences=$(awk '
  FNR == NR { if ($0 !~ /^#/ && NF == 4) want[$1 " " $2 " " $3] = $4; next }
  { key = $1 " " $2 " " $3; seen[key] = 1
    if (!(key in want)) print "new:     " key
    else if (want[key] != $4) print "differs: " key }
  END { for (key in want) if (!(key in seen)) print "missing: " key }' "$expected" "$work/actual.txt")
if [ -n "$differences" ]; then
  echo "$differences" | sort -k2
  echo "the behaviour corpus differs from $expected"
  keep
fi
echo "behaviour corpus: $(wc -l <"$work/actual.txt") outputs, all as recorded"
rm -rf "$work"
