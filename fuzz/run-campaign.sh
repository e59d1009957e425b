#!/usr/bin/env bash
# Runs every libFuzzer target in turn (or only the TARGETs named), each to 10
# million executions or SECONDS seconds, whichever comes first, on a working
# copy of its seeds, and writes one line per target to WORK/summary.txt.
#   cmake --build --preset fuzz && cmake --build --preset release   (the release build makes the ffmpeg seeds)
#   fuzz/run-campaign.sh SECONDS WORK [TARGET...]     (TARGET: card_records, mp3_open, ...)
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: $0 SECONDS WORK [TARGET...]" >&2; exit 64; }
seconds=$1
work=$2
shift 2
chosen=" $* "
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work" && cd "$work" || exit 1
built=$top/build/fuzz/fuzz
seeds=$top/build/release/fuzz/audio/seeds

run() {  # name binary seed-folder...
    local name=$1 binary=$2
    shift 2
    [ "$chosen" = "  " ] || [[ "$chosen" == *" $name "* ]] || return 0
    mkdir -p "corpus-$name" "findings-$name"
    for folder in "$@"; do cp -rn "$folder/." "corpus-$name/"; done
    "$binary" "corpus-$name" -runs=10000000 -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
        -artifact_prefix="findings-$name/" -print_final_stats=1 >"log-$name.txt" 2>&1
    local status=$?
    local executions
    executions=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "log-$name.txt" | grep -oE '[0-9]+$')
    echo "$name exit=$status executions=${executions:-?} findings=$(find "findings-$name" -type f | wc -l)" >>summary.txt
}

run card_records "$built/config/fuzz_card_records" "$top/fuzz/config/corpus"
run prompt_header "$built/config/fuzz_prompt_header" "$top/fuzz/config/prompt-corpus"
run wave_header "$built/audio/fuzz_wave_header" "$top/fuzz/audio/corpus/header"
run wave_append "$built/audio/fuzz_wave_append" "$top/fuzz/audio/corpus/append"
run id3_tags "$built/audio/fuzz_id3_tags" "$seeds/tags"
run wave_converter "$built/audio/fuzz_wave_converter" "$seeds/wave" "$top/fuzz/audio/corpus/wave"
run mp3_open "$built/audio/fuzz_mp3_open" "$seeds/mp3" "$top/fuzz/audio/corpus/mp3"
cat summary.txt
