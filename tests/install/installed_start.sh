#!/usr/bin/env bash
# The installed tree: `cmake --install` into a staging prefix, then the
# installed program started offscreen, as a desktop menu starts it (from an
# empty home folder). It must create its per-user folder from the installed
# data, work there and open its window without a message box.
# Usage: installed_start.sh BUILD_DIR
set -euo pipefail
build=$1
stage=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$stage"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$stage/stderr" ] && sed 's/^/  program: /' "$stage/stderr" >&2; exit 1; }

cmake --install "$build" --prefix "$stage/usr" >/dev/null
for f in bin/corvane-utility bin/corvane-sim share/corvane-utility/config.txt \
         share/corvane-utility/AlarmOutputModuleHelp.txt share/applications/corvane-utility.desktop \
         share/icons/hicolor/scalable/apps/corvane-utility.svg share/man/man1/corvane-utility.1.gz \
         share/man/man1/corvane-sim.1.gz; do
  [ -f "$stage/usr/$f" ] || fail "not installed: $f"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$stage/usr/share/applications/corvane-utility.desktop" || fail "desktop entry"
fi

# Waits, polling, until the file exists; gives up after about 60 s or when
# the program has ended.
wait_for_file() {
  for _ in $(seq 600); do
    [ -e "$1" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before $1 appeared"
    sleep 0.1
  done
  fail "no $1"
}

home=$stage/home
mkdir "$home"
own=$home/.local/share/corvane-utility
cd "$home"
env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$stage/usr/bin/corvane-utility" \
  >"$stage/stdout" 2>"$stage/stderr" &
pid=$!

# The settings store copies config.txt to configBackup.txt when it is built,
# so the backup in the per-user folder shows the store works there.
wait_for_file "$own/configBackup.txt"
cmp -s "$own/config.txt" "$stage/usr/share/corvane-utility/config.txt" || fail "config.txt differs from the shipped one"
for f in "$stage"/usr/share/corvane-utility/*.txt; do
  [ -f "$own/$(basename "$f")" ] || fail "not copied: $(basename "$f")"
done
# Qt's offscreen platform reports this once the main window is shown.
for _ in $(seq 600); do
  grep -q "propagateSizeHints" "$stage/stderr" && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window opened"
  sleep 0.1
done
grep -q "propagateSizeHints" "$stage/stderr" || fail "the window did not open"
# A message shown before the window (a missing config.txt) goes to stderr.
grep -q "^\[Corvane Utility\]" "$stage/stderr" && fail "a message was shown"
[ "$(ls -A "$home")" = ".local" ] || fail "files written to the home folder itself: $(ls -A "$home")"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 143 ] || fail "the program ended with status $status on SIGTERM"
echo "installed program started in $own"
