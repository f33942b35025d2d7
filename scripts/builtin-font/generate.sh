#!/bin/sh
# Regenerates src/display/builtin_font.cpp from DejaVu Sans Mono (see README.md).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -O1 -Wall -Wextra -Wpedantic $(pkg-config --cflags freetype2) \
  "$here/generate_builtin_font.cpp" -o "$tmp/generate_builtin_font" $(pkg-config --libs freetype2)
"$tmp/generate_builtin_font" "$@" > "$tmp/builtin_font.cpp"
clang-format --assume-filename="$root/src/display/builtin_font.cpp" < "$tmp/builtin_font.cpp" > "$root/src/display/builtin_font.cpp"
