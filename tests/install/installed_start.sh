#!/usr/bin/env bash
# The installed tree: `cmake --install` into a staging prefix, then the
# installed program started offscreen from an empty home folder, as a
# desktop menu starts it. It must fill its per-user folder from the
# installed data, build its settings store there and open its window
# without a message box. Usage: installed_start.sh BUILD_DIR
set -euo pipefail
stage=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$stage/stderr" >&2 2>/dev/null; exit 1; }

cmake --install "$1" --prefix "$stage/usr" >/dev/null
for f in bin/corvane-sim share/icons/hicolor/scalable/apps/corvane-utility.svg \
         share/man/man1/corvane-utility.1.gz share/man/man1/corvane-sim.1.gz; do
  [ -f "$stage/usr/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$stage/usr/share/applications/corvane-utility.desktop" 2>/dev/null ||
  ! command -v desktop-file-validate >/dev/null || fail "desktop entry"

# Polls until the command succeeds; fails when the program ends first or
# after about a minute.
wait_until() {
  for _ in $(seq 600); do
    "$@" && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before: $*"
    sleep 0.1
  done
  fail "timed out: $*"
}

home=$stage/home own=$stage/home/.local/share/corvane-utility
mkdir "$home" && cd "$home"
env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$stage/usr/bin/corvane-utility" 2>"$stage/stderr" &
pid=$!
# The settings store copies config.txt to configBackup.txt when it is built.
wait_until test -e "$own/configBackup.txt"
# Qt's offscreen platform says this once the main window is shown.
wait_until grep -q propagateSizeHints "$stage/stderr"
# A message shown before the window (such as a missing config.txt) is
# echoed on stderr.
! grep -q "^\[Corvane Utility\]" "$stage/stderr" || fail "a message was shown"
diff -r "$stage/usr/share/corvane-utility" "$own" | grep -qv "^Only in $own: configBackup.txt" &&
  fail "the per-user folder differs from the installed data"
[ "$(ls -A "$home")" = .local ] || fail "files in the home folder itself"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 143 ] || fail "ended with status $status on SIGTERM"
