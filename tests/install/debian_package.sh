#!/usr/bin/env bash
# debian_package.sh BUILD_DIR OUTDIR FILE_LIST: builds the Debian package with CPack into OUTDIR,
# checks that it holds exactly the files of FILE_LIST under /usr and depends on the shared
# libraries the program links, and runs lintian on it, which must report no error. Every tag
# lintian reports is printed.
set -euo pipefail
build=$1
out=$2
list=$3

fail() {
    echo "deb: FAIL: $*" >&2
    exit 1
}

rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$out/cpack.log")"
debs=("$out"/*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] ||
    fail "expected one package in $out, found: ${debs[*]}"
deb=${debs[0]}
echo "deb: $(basename "$deb")"

# The files, all owned by root.
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||' |
    LC_ALL=C sort)
expected=$(LC_ALL=C sort "$list")
[[ $actual == "$expected" ]] || fail "package files differ from $list:
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"
owners=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv | awk '$2 != "root/root"')
[[ -z $owners ]] || fail "entries not owned by root: $owners"

# Dependencies as dpkg-shlibdeps derives them from the program's libraries: for each library the
# program links directly, the package that holds it (with a version where the library's package
# declares one).
depends=$(dpkg-deb --field "$deb" Depends)
echo "deb: Depends: $depends"
depended=$(sed 's/ *([^)]*)//g; s/ *[,|] */\n/g' <<<"$depends")
program=$build/app/settings
resolved=$(ldd "$program")
owner_of() { { dpkg -S "$1" 2>/dev/null || true; } | head -n 1 | cut -d: -f1; }
for lib in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(awk -v l="$lib" '$1 == l && $2 == "=>" {print $3; exit}' <<<"$resolved")
    [[ -n $path ]] || fail "the loader does not find $lib"
    owner=$(owner_of "$path")
    [[ -n $owner ]] || owner=$(owner_of "$(readlink -f "$path")")
    [[ -n $owner ]] || fail "no installed package holds $path"
    grep -Fxq "$owner" <<<"$depended" || fail "Depends lacks $owner, which holds $lib"
done

# lintian: no error; warnings and the rest are shown.
tags=$(lintian --no-cfg --display-info --pedantic --tag-display-limit 0 "$deb" 2>&1) || true
echo "deb: lintian reports:"
echo "${tags:-  (nothing)}"
grep -q '^E: ' <<<"$tags" && fail "lintian reports errors"
grep -Eq '^(E|W|I|P): ' <<<"$tags" || [[ -z $tags ]] || fail "lintian did not run: $tags"
echo "deb: no lintian error"
