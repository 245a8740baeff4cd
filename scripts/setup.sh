#!/usr/bin/env bash
# Installs every Debian package Limbweaver needs to build, test and run.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  cmake g++ make libgtest-dev libbenchmark-dev
  libglu1-mesa-dev libosmesa6-dev
  g++-mingw-w64-x86-64-posix
  mingw-w64-common gcc-mingw-w64-base  # licence texts for the Windows package
  wine64 xvfb xauth x11-utils locales fonts-ipafont-gothic fonts-vlgothic
  clang libclang-rt-14-dev
  imagemagick libgl1-mesa-dri
  nlohmann-json3-dev libstb-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi

# The glTF checks run the validator and a glTF reader from npm with node; a
# node that came with its own npm is kept.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q nodejs npm
fi

# Japanese text under Wine needs the ja_JP.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen
fi
echo "setup: all packages present"
