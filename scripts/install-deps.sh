#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when missing.
# The comparison peers (libyuv, swscale) are optional for the build but
# installed so the benchmarks can show them side by side. clang with its
# runtime (libFuzzer, the sanitizers) builds the fuzzing harnesses. The
# GStreamer packages build the tulrezzo element and run its tests.
set -euo pipefail

packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libcli11-dev libpng-dev libyuv-dev libswscale-dev libavutil-dev
          clang libclang-rt-14-dev
          libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-tools
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
