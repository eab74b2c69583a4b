#!/usr/bin/env bash
# Fails when CMake found a package that install-deps.sh does not bring in: such a build passes here and
# breaks on a fresh machine. Every *_DIR of the CMake cache is mapped to its Debian package and looked up
# in the dependency closure of the listed packages (without recommends, as install-deps.sh installs them).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
cache=${1:?usage: check-deps.sh BUILD_DIR/CMakeCache.txt}
listed=$(sed -n '/^packages=(/,/)/p' "$src/scripts/install-deps.sh" | tr -d '()' | sed 's/packages=//' | tr ' ' '\n' | grep -E '^[a-z0-9]')
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
          --no-replaces --no-enhances $listed | grep -vE '^\s' | sed 's/:amd64$//' | sort -u)
[ -n "$closure" ] || { echo "check-deps: apt-cache gave no dependency closure" >&2; exit 1; }
missing=()
for dir in $(grep -E '^[A-Za-z0-9_]+_DIR:PATH=/' "$cache" | cut -d= -f2- | sort -u); do
  # A package's own config file names it; a shared folder such as /usr/include names no one package.
  config=$(ls "$dir"/*Config.cmake "$dir"/*-config.cmake 2>/dev/null | head -n1) || true
  [ -n "$config" ] || continue
  owner=$(dpkg -S "$config" 2>/dev/null | head -n1 | cut -d: -f1) || true
  [ -n "$owner" ] || continue
  grep -qx "$owner" <<<"$closure" || missing+=("$owner (for $dir)")
done
if [ ${#missing[@]} -gt 0 ]; then
  printf 'CMake uses packages that scripts/install-deps.sh does not install; a fresh machine fails:\n' >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
