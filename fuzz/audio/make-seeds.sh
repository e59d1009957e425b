#!/usr/bin/env bash
# Usage: make-seeds.sh DIR. Fills DIR/tags, DIR/wave and DIR/mp3 with small
# recordings made by ffmpeg and a few tags laid out by hand, as fuzzing seeds.
set -euo pipefail
out=$1
mkdir -p "$out/tags" "$out/wave" "$out/mp3"
ff() { ffmpeg -nostdin -hide_banner -v error -y -f lavfi -i "sine=frequency=500:sample_rate=8000:duration=0.1" "$@"; }

ff -c:a libmp3lame -id3v2_version 3 -metadata title=Seed -metadata artist=Quorvel "$out/tags/id3v23.mp3"
ff -c:a libmp3lame -id3v2_version 4 -metadata title='Canção' "$out/tags/id3v24.mp3"
ff -c:a libmp3lame -write_id3v1 1 -id3v2_version 0 -metadata title=Old -metadata track=7 "$out/tags/id3v1.mp3"
printf 'ID3\002\000\000\000\000\000\021TT2\000\000\003\000hiTAL\000\000\002\000a' >"$out/tags/id3v22.bin"

for codec in pcm_alaw pcm_mulaw gsm_ms adpcm_g726 libmp3lame; do
  ff -c:a "$codec" -f wav "$out/wave/$codec.wav"
done

ff -c:a libmp3lame "$out/mp3/tone.mp3"
ff -c:a wmav2 -f asf "$out/mp3/tone.wma"
