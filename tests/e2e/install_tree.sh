#!/bin/bash
# Installs the build into a staging prefix and checks what a desktop gets:
# both programs, the desktop entry, the AppStream metainfo, the icon in every
# size and the man pages. Usage: install_tree.sh BUILD_DIR (as ctest runs it).
set -uo pipefail
build=${1:?usage: install_tree.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
netns_run=$here/../../scripts/netns-run
app_id=io.quendra.config
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need_file() { [ -f "$staging/$1" ] || fail "not installed: $1"; }

cmake --install "$build" --prefix "$staging" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# Nothing but programs, shared data and the Wireshark dissector: no static
# libraries, headers or tests.
dissector=lib/x86_64-linux-gnu/wireshark/plugins/quendra.lua
stray=$(cd "$staging" && find . -type f ! -path './bin/*' ! -path './share/*' ! -path "./$dissector")
[ -z "$stray" ] || fail "unexpected files installed: $stray"
need_file "$dissector"

for program in quendra-config quendra-cli quendra-hostsim; do
  [ -x "$staging/bin/$program" ] || fail "program not installed: bin/$program"
done
need_file share/bash-completion/completions/quendra-cli
need_file share/doc/quendra-config/copyright
need_file share/doc/quendra-config/changelog.gz

# Desktop entry: valid, named as the window, starting an installed program
# with an installed icon.
desktop=share/applications/$app_id.desktop
need_file "$desktop"
if [ -f "$staging/$desktop" ]; then
  desktop-file-validate "$staging/$desktop" || fail "desktop-file-validate $desktop"
  key() { sed -n "s/^$1=//p" "$staging/$desktop"; }
  [ "$(key Name)" = "Quendra 主机配置软件" ] || fail "desktop Name is '$(key Name)'"
  [ "$(key 'Name\[zh_CN\]')" = "Quendra 主机配置软件" ] || fail "desktop Name[zh_CN] is '$(key 'Name\[zh_CN\]')'"
  [ -n "$(key Comment)" ] && [ -n "$(key 'Comment\[zh_CN\]')" ] || fail "desktop Comment missing in English or Chinese"
  exec_program=$(key Exec | cut -d' ' -f1)
  [ -x "$staging/bin/$exec_program" ] || fail "desktop Exec '$exec_program' is not an installed program"
  [ "$(key Icon)" = "$app_id" ] || fail "desktop Icon is '$(key Icon)', not $app_id"
fi

# AppStream metainfo: valid without network, launching this entry, and its
# newest release is the version being built.
metainfo=share/metainfo/$app_id.metainfo.xml
need_file "$metainfo"
if [ -f "$staging/$metainfo" ]; then
  appstreamcli validate --no-net "$staging/$metainfo" >/dev/null ||
    { appstreamcli validate --no-net "$staging/$metainfo"; fail "appstreamcli validate $metainfo"; }
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$staging/$metainfo" ||
    fail "metainfo does not launch $app_id.desktop"
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
  release=$(grep -o '<release version="[^"]*"' "$staging/$metainfo" | head -1 | cut -d'"' -f2)
  [ "$release" = "$version" ] || fail "metainfo's newest release is '$release', the project is '$version'"
fi

# Icon: scalable SVG and the PNG sizes, each of its own size.
svg=share/icons/hicolor/scalable/apps/$app_id.svg
need_file "$svg"
[ -f "$staging/$svg" ] && ! grep -q "<svg" "$staging/$svg" && fail "$svg is not an SVG"
for size in 16 22 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x${size}/apps/$app_id.png
  need_file "$png"
  [ -f "$staging/$png" ] && ! file "$staging/$png" | grep -q "PNG image data, $size x $size," &&
    fail "$png is not a ${size}x${size} PNG"
done

# Man pages: compressed, titled for their program, listing every option of
# the command-line programs that their --help lists.
for program in quendra-config quendra-cli quendra-hostsim; do
  page=share/man/man1/$program.1.gz
  need_file "$page"
  [ -f "$staging/$page" ] && ! gzip -cd "$staging/$page" | grep -qi "^\.TH $program 1 " &&
    fail "$page has no .TH line for $program"
done
for program in quendra-cli quendra-hostsim; do
  [ -x "$staging/bin/$program" ] && [ -f "$staging/share/man/man1/$program.1.gz" ] || continue
  # Run only inside a private namespace: the simulator is never started on real interfaces.
  help=$("$netns_run" "$staging/bin/$program" --help 2>&1) || fail "$program --help failed"
  # The man page's options are the tags of its lists (the lines after .TP).
  documented=$(gzip -cd "$staging/share/man/man1/$program.1.gz" | awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' |
    sed 's/\\f[BIRP]//g' | grep -o '\\-\\-[a-z\\-]*' | sed 's/\\//g' | sort -u)
  for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -qx -- "$option" <<<"$documented" || fail "$program $option is in --help but not in the man page"
  done
  for option in $documented; do
    grep -q -- "$option" <<<"$help" || fail "$program $option is in the man page but not in --help"
  done
done

if [ "$failures" -ne 0 ]; then
  echo "install_tree: $failures failure(s)"
  exit 1
fi
echo "install_tree: installed tree complete"
