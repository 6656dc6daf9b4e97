#!/usr/bin/env bash
# The Debian package, made and checked as a player's machine would take it:
#   1. builds mervox_<version>_amd64.deb from a clean copy of the tree
#      (dpkg-buildpackage, debhelper; the tests are not built again);
#   2. lintian on the .deb and the .changes, appstreamcli on the metainfo,
#      desktop-file-validate on the desktop entry, groff on the manual page:
#      any error or warning fails;
#   3. installs it, checks every file is where Debian's games layout puts
#      it, plays a demonstration headless from a folder with no game files;
#   4. removes it and checks nothing but the player's own files remains.
# Run as root (it installs and removes the package).
#
# usage: scripts/package.sh [WORK_DIR]
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
work="${1:-$(mktemp -d /tmp/mervox-package-XXXXXX)}"
version="$(sed -n 's/^project(mervox VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")"
fail() { echo "package: FAIL: $*" >&2; exit 1; }

# The version is written once, in CMakeLists.txt; the changelog must agree.
changelog="$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)"
[ "$changelog" = "$version" ] || fail "debian/changelog says $changelog, CMakeLists.txt $version"

rm -rf "$work" && mkdir -p "$work/mervox-$version"
(cd "$src" && git ls-files -z | grep -zv '^build' | tar --null -cf - -T -) | tar -xf - -C "$work/mervox-$version"
echo "package: building mervox $version"
(cd "$work/mervox-$version" &&
  DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
  { tail -40 "$work/build.log"; fail "dpkg-buildpackage failed"; }
deb="$work/mervox_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
echo "package: $(du -k "$deb" | cut -f1) kB, installed size $(dpkg-deb -f "$deb" Installed-Size) kB"

echo "package: lintian"
# Every tag down to the pedantic ones is shown; errors and warnings fail.
status=0
lintian --fail-on error,warning --display-info --pedantic "$deb" "$work/mervox_${version}_amd64.changes" \
  >"$work/lintian.log" 2>&1 || status=$?
grep -v '^running with root' "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"

unpacked="$work/unpacked"
dpkg-deb -x "$deb" "$unpacked"
echo "package: appstreamcli validate --no-net --pedantic"
appstreamcli validate --no-net --pedantic "$unpacked"/usr/share/metainfo/io.github.mervox.mervox.metainfo.xml ||
  fail "the metainfo is not valid"
echo "package: desktop-file-validate"
desktop-file-validate "$unpacked"/usr/share/applications/io.github.mervox.mervox.desktop ||
  fail "the desktop entry is not valid"
echo "package: groff -ww -z"
zcat "$unpacked"/usr/share/man/man6/mervox.6.gz | groff -ww -z -man 2>&1 | tee "$work/groff.log"
[ ! -s "$work/groff.log" ] || fail "groff warns about the manual page"

echo "package: installing"
dpkg -i "$deb" >/dev/null || { apt-get install -f -y -qq >/dev/null; dpkg -i "$deb" >/dev/null; } ||
  fail "dpkg -i failed"
# A check that fails from here on leaves no package behind.
trap 'dpkg --purge mervox >/dev/null 2>&1 || true' EXIT
for f in /usr/games/mervox /usr/share/games/mervox/data/title.png /usr/share/games/mervox/data/number.png \
         /usr/share/games/mervox/data/rank.png /usr/share/games/mervox/data/tuto.dat \
         /usr/share/games/mervox/data/demo1.dat /usr/share/games/mervox/snd/push.wav \
         /usr/share/games/mervox/snd/bgm7-2.ogg /usr/share/applications/io.github.mervox.mervox.desktop \
         /usr/share/metainfo/io.github.mervox.mervox.metainfo.xml /usr/share/man/man6/mervox.6.gz \
         /usr/share/doc/mervox/copyright; do
  [ -e "$f" ] || fail "$f is not installed"
done
for size in 16 24 32 48 64 128 256; do
  icon="/usr/share/icons/hicolor/${size}x${size}/apps/mervox.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done
stray="$(dpkg -L mervox | grep -v -E '^/(\.|usr|usr/games(/mervox)?|usr/share(/(games(/mervox(/.*)?)?|applications(/.*)?|metainfo(/.*)?|icons(/.*)?|man(/man6(/mervox\.6\.gz)?)?|doc(/mervox(/.*)?)?))?)$' || true)"
[ -z "$stray" ] || fail "installed outside the games layout: $stray"
[ "$(/usr/games/mervox --version)" = "mervox $version" ] || fail "--version says $(/usr/games/mervox --version)"

# A player with no game files anywhere near: the installed data is found,
# the player's files go to their own folder.
player="$work/player"
mkdir -p "$player/home" "$player/elsewhere" "$player/shots"
result="$(cd "$player/elsewhere" && HOME="$player/home" XDG_DATA_HOME= \
  /usr/games/mervox --headless --replay data/demo1.dat --mode 4 --screenshot 600 --out "$player/shots" 2>&1)" ||
  fail "the installed program did not play demonstration 1: $result"
echo "package: installed program, demonstration 1: $result"
grep -q '^score=12040 level=9 frames=5462 cleared=101$' <<<"$result" || fail "demonstration 1 played differently"
[ -f "$player/shots/frame-600.png" ] || fail "no picture from the installed program"
[ -z "$(ls -A "$player/elsewhere")" ] || fail "the installed program wrote into the current folder"
[ -d "$player/home/.local/share/mervox/data" ] || fail "no player's folder made"
echo 'mine' >"$player/home/.local/share/mervox/data/scr.hsc.keep"

echo "package: removing"
dpkg --purge mervox >/dev/null || fail "dpkg --purge failed"
trap - EXIT
left="$(find /usr/games/mervox /usr/share/games/mervox /usr/share/metainfo/io.github.mervox.mervox.metainfo.xml \
  /usr/share/applications/io.github.mervox.mervox.desktop /usr/share/man/man6/mervox.6.gz /usr/share/doc/mervox \
  /usr/share/icons/hicolor/*/apps/mervox.png 2>/dev/null || true)"
[ -z "$left" ] || fail "left behind after removal: $left"
[ -f "$player/home/.local/share/mervox/data/scr.hsc.keep" ] || fail "the removal took the player's files"
echo "package: PASS (mervox_${version}_amd64.deb)"
