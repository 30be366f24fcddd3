#!/usr/bin/env bash
# install_into_prefix.sh BUILD_DIR PREFIX FILE_LIST: installs the build into an empty PREFIX and
# checks that it holds exactly the files of FILE_LIST (paths relative to the prefix), that each
# icon has the size its folder names, and that the program's run path and libraries are right.
set -euo pipefail
build=$1
prefix=$2
list=$3

fail() {
    echo "install: FAIL: $*" >&2
    exit 1
}

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$prefix.log")"

# Exactly the listed files: nothing missing, and nothing else, such as the build's generic
# program name or a test program.
actual=$(cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
expected=$(LC_ALL=C sort "$list")
[[ $actual == "$expected" ]] || fail "installed files differ from $list:
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"

program=$prefix/bin/kx7140-settings
[[ -x $program ]] || fail "$program is not executable"

# Each PNG is drawn at the size its folder names.
while IFS= read -r png; do
    size=${png#*/hicolor/}
    size=${size%%/*}
    want="PNG image data, ${size%x*} x ${size#*x},"
    got=$(file -b "$prefix/$png")
    [[ $got == "$want"* ]] || fail "$png: $got, want $want"
done < <(grep '\.png$' "$list")

# The run path: a driver library beside the program, then the system's library folders; no
# folder of the build tree.
dynamic=$(readelf -d "$program")
runpath=$(sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p' <<<"$dynamic")
[[ $runpath == '$ORIGIN' ]] || fail "run path is '$runpath', not '\$ORIGIN'"
grep -q '(RPATH)' <<<"$dynamic" &&
    fail "the program also carries an RPATH, which would outrank LD_LIBRARY_PATH"
missing=$(ldd "$program" | grep 'not found' || true)
[[ -z $missing ]] || fail "libraries not found: $missing"

echo "install: $(wc -l <"$list") files in $prefix"
