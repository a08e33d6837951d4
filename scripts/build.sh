#!/usr/bin/env bash
# Installs what the build needs (Debian packages, idempotent), then configures and builds.
#   scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libsqlite3-dev qt6-base-dev libzint-dev libzxing-dev
          libcli11-dev nlohmann-json3-dev libgtest-dev libbenchmark-dev fonts-dejavu-core
          poppler-utils clang libclang-rt-14-dev xvfb xauth libcups2-dev cups
          cups-client qt6-translations-l10n libpq-dev postgresql)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

build_dir="${1:-build}"
shift || true
cmake -G Ninja -S . -B "$build_dir" "$@"
cmake --build "$build_dir" -j "$(nproc)"
