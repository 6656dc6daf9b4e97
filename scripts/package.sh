#!/usr/bin/env bash
# The Debian package, made and checked as a player's machine would take it:
#   1. builds mervox_<version>_amd64.deb from a clean copy of the tree
#      (dpkg-buildpackage, debhelper; the tests are not built again);
#   2. lintian on the .deb and the .changes, appstreamcli on the metainfo,
#      desktop-file-validate on the desktop entry, groff on the manual page:
#      any error or warning fails;
#   3. installs it, checks every file is where Debian's games layout puts
#      it, plays a demonstration headless from a folder with no game files;
#   4. removes it and checks nothing but the player's own files remains;
#   5. the same for mervox-board: the unit checked by systemd-analyze, the
#      installed board served from a scratch folder on 127.0.0.1, a round
#      submitted and verified, the package purged.
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
board_deb="$work/mervox-board_${version}_amd64.deb"
[ -f "$board_deb" ] || fail "no $board_deb"
lintian --fail-on error,warning --display-info --pedantic "$deb" "$board_deb" "$work/mervox_${version}_amd64.changes" \
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

echo "package: mervox-board"
board_unpacked="$work/board-unpacked"
dpkg-deb -x "$board_deb" "$board_unpacked"
zcat "$board_unpacked"/usr/share/man/man1/mervox-board.1.gz | groff -ww -z -man 2>&1 | tee "$work/groff-board.log"
[ ! -s "$work/groff-board.log" ] || fail "groff warns about mervox-board's manual page"
unit="$board_unpacked/lib/systemd/system/mervox-board.service"
[ -f "$unit" ] || fail "no systemd unit in mervox-board"
for want in 'DynamicUser=yes' 'StateDirectory=mervox-board' 'WorkingDirectory=/var/lib/mervox-board'; do
  grep -qx "$want" "$unit" || fail "the unit lacks $want"
done
dpkg -i "$board_deb" >/dev/null || { apt-get install -f -y -qq >/dev/null; dpkg -i "$board_deb" >/dev/null; } ||
  fail "dpkg -i mervox-board failed"
board_pid=""
trap '[ -z "$board_pid" ] || kill "$board_pid" 2>/dev/null; dpkg --purge mervox-board >/dev/null 2>&1 || true' EXIT
[ "$(mervox-board --version)" = "mervox-board $version" ] || fail "mervox-board --version says $(mervox-board --version)"
if command -v systemd-analyze >/dev/null; then
  # The installed unit, its program and its manual page.
  systemd-analyze verify /lib/systemd/system/mervox-board.service 2>&1 |
    grep -v -e 'Failed to .* cgroup' -e '^$' | tee "$work/unit.log" || true
  [ ! -s "$work/unit.log" ] || fail "systemd-analyze finds fault with the unit"
fi
stray="$(dpkg -L mervox-board | grep -v -E '^/(\.|usr|usr/bin(/mervox-board)?|usr/share(/(man(/man1(/mervox-board\.1\.gz)?)?|doc(/mervox-board(/.*)?)?))?|lib|lib/systemd|lib/systemd/system(/mervox-board\.service)?)$' || true)"
[ -z "$stray" ] || fail "mervox-board installed unexpected files: $stray"
# The installed board, as the unit runs it, from a folder of its own.
state="$work/board-state"
mkdir -p "$state"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
(cd "$state" && exec /usr/bin/mervox-board serve --listen "127.0.0.1:$port" --verifiers 1) 2>"$work/board.log" &
board_pid=$!
answer=""
for _ in $(seq 1 100); do
  answer="$(python3 - "$port" "$src/data/demo2.dat" <<'PY' 2>/dev/null
import json, sys, time, urllib.request
base = "http://127.0.0.1:%s" % sys.argv[1]
urllib.request.urlopen(base + "/healthz", timeout=2).read()
body = b"00002001\r\n00004000\r\n" + open(sys.argv[2], "rb").read()
req = urllib.request.Request(base + "/api/v1/submissions?name=packager", data=body, method="POST",
                             headers={"Content-Type": "text/plain"})
sid = json.load(urllib.request.urlopen(req, timeout=10))["id"]
for _ in range(200):
    doc = json.load(urllib.request.urlopen("%s/api/v1/submissions/%d" % (base, sid), timeout=5))
    if doc["state"] not in ("pending", "running"):
        break
    time.sleep(0.05)
print(doc["state"], doc["score"])
PY
)" && break
  sleep 0.1
done
kill "$board_pid"
wait "$board_pid" || fail "the installed board did not end cleanly on SIGTERM: $(tail -5 "$work/board.log")"
board_pid=""
echo "package: installed board: $answer"
[[ "$answer" == "verified "* ]] || fail "the installed board did not verify a round: $(tail -5 "$work/board.log")"
[ -f "$state/board.db" ] || fail "the installed board kept no board.db in its folder"
dpkg --purge mervox-board >/dev/null || fail "dpkg --purge mervox-board failed"
trap - EXIT
left="$(find /usr/bin/mervox-board /usr/share/man/man1/mervox-board.1.gz /lib/systemd/system/mervox-board.service \
  /usr/share/doc/mervox-board 2>/dev/null || true)"
[ -z "$left" ] || fail "left behind after removing mervox-board: $left"
echo "package: PASS (mervox_${version}_amd64.deb, mervox-board_${version}_amd64.deb)"
