#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Mirelune need.
# Safe to run again: apt-get only installs what is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libjpeg62-turbo-dev
  # help file compiler (chmcmd)
  fp-utils-3.2.2
  # tests, benchmarks, fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  # real-window tests and screenshots
  xvfb xdotool x11-utils imagemagick
  # a window manager that draws title bars in the screenshots
  openbox
  # fonts asked for by name (Arial metrics)
  fonts-liberation
  # metafiles from Office ask for Calibri and Cambria: fonts of the same metrics
  fonts-crosextra-carlito fonts-crosextra-caladea
  # reference decoders and renderers used by the tests
  libjpeg-turbo-progs libwmf-bin emf2svg librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
