#!/usr/bin/env bash
# The run command: installs missing Debian packages, builds tulrezzo in the
# release preset, and streams the built-in test source (720x480 interlaced
# colour bars with a moving box) through the Vexo Tul Rezzo Filter into a
# Y4M file and a snapshot bitmap. Extra arguments go to `tulrezzo resize`,
# e.g. scripts/run-main.sh --size 640x480 --deinterlace double
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset release >/dev/null
cmake --build --preset release --target tulrezzo -j "$jobs"

out=build/out
mkdir -p "$out"
build/release/apps/tulrezzo/tulrezzo resize -o "$out/tulrezzo-demo.y4m" \
  --snapshot "$out/tulrezzo-snapshot.bmp" "$@"

echo "Video:    $PWD/$out/tulrezzo-demo.y4m   (play: ffplay $out/tulrezzo-demo.y4m, or mpv $out/tulrezzo-demo.y4m)"
echo "Snapshot: $PWD/$out/tulrezzo-snapshot.bmp"
echo "Program:  $PWD/build/release/apps/tulrezzo/tulrezzo (tulrezzo resize --help)"
