#!/bin/bash
# Installs the build into a staging prefix and checks what a desktop gets:
# the programs, the desktop entry, the AppStream metainfo, the icon in every
# size, the man pages and the Wireshark dissector. Usage: install_tree.sh BUILD_DIR
set -uo pipefail
build=${1:?usage: install_tree.sh BUILD_DIR}
netns_run=$(cd "$(dirname "$0")/../.." && pwd)/scripts/netns-run
id=io.quendra.config
s=$(mktemp -d)
trap 'rm -rf "$s"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cmake --install "$build" --prefix "$s" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# Nothing but programs, shared data and the dissector: no static libraries, headers or tests.
dissector=lib/x86_64-linux-gnu/wireshark/plugins/quendra.lua
stray=$(cd "$s" && find . -type f ! -path './bin/*' ! -path './share/*' ! -path "./$dissector")
[ -z "$stray" ] || fail "unexpected files installed: $stray"
desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
svg=share/icons/hicolor/scalable/apps/$id.svg
for f in "$dissector" "$desktop" "$metainfo" "$svg" share/bash-completion/completions/quendra-cli \
    share/doc/quendra-config/{copyright,changelog.gz} \
    share/cockpit/quendra/{manifest.json,index.html,quendra.js,patternfly.min.css}; do
  [ -f "$s/$f" ] || fail "not installed: $f"
done

# Desktop entry: valid, named as the window, starting an installed program with the installed icon.
key() { sed -n "s/^$1=//p" "$s/$desktop" 2>/dev/null; }
desktop-file-validate "$s/$desktop" || fail "desktop-file-validate $desktop"
[ "$(key Name)" = "Quendra 主机配置软件" ] || fail "desktop Name is '$(key Name)'"
[ "$(key 'Name\[zh_CN\]')" = "Quendra 主机配置软件" ] || fail "desktop Name[zh_CN] is '$(key 'Name\[zh_CN\]')'"
[ -n "$(key Comment)" ] && [ -n "$(key 'Comment\[zh_CN\]')" ] || fail "desktop Comment missing in English or Chinese"
[ -x "$s/bin/$(key Exec | cut -d' ' -f1)" ] || fail "desktop Exec '$(key Exec)' is not an installed program"
[ "$(key Icon)" = "$id" ] || fail "desktop Icon is '$(key Icon)', not $id"

# AppStream metainfo: valid without network, launching this entry, its newest release the version built.
appstreamcli validate --no-net "$s/$metainfo" || fail "appstreamcli validate $metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$s/$metainfo" ||
  fail "metainfo does not launch $id.desktop"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
release=$(grep -o '<release version="[^"]*"' "$s/$metainfo" | head -1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "metainfo's newest release is '$release', the project is '$version'"

# Icon: scalable SVG and the PNG sizes, each of its own size.
grep -q "<svg" "$s/$svg" || fail "$svg is not an SVG"
for size in 16 22 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x${size}/apps/$id.png
  file "$s/$png" | grep -q "PNG image data, $size x $size," || fail "$png is not a ${size}x${size} PNG"
done

# Programs and man pages: each page compressed and titled for its program; the
# command-line programs' pages list (as the tags after .TP) the options of --help.
for program in quendra-config quendra-cli quendra-hostsim; do
  page=$s/share/man/man1/$program.1.gz
  [ -x "$s/bin/$program" ] || fail "program not installed: bin/$program"
  gzip -cd "$page" | grep -qi "^\.TH $program 1 " || fail "$program.1.gz missing or without a .TH line for $program"
  [ "$program" = quendra-config ] && continue
  # Run only inside a private namespace: the simulator is never started on real interfaces.
  help=$("$netns_run" "$s/bin/$program" --help 2>&1) || fail "$program --help failed"
  documented=$(gzip -cd "$page" | awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' |
    sed 's/\\f[BIRP]//g' | grep -o '\\-\\-[a-z\\-]*' | sed 's/\\//g' | sort -u)
  diff <(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u) - <<<"$documented" ||
    fail "$program: the options of --help (<) and of the man page (>) differ"
done

[ "$failures" -eq 0 ] || { echo "install_tree: $failures failure(s)"; exit 1; }
echo "install_tree: installed tree complete"
