#!/usr/bin/env bash
# Tessel as a user gets it, away from the build tree: installed with `cmake --install` into a
# temporary prefix, and the Debian package extracted into a temporary root. In each tree, with
# no TESSEL_INFO_FILE, the installed host publishes the home folder, the installed
# tessel-finder moves a file through it and undoes the move, the desktop entry validates, and
# nothing lies outside the tree. In the prefix tree the session bus starts the host from the
# installed service file when tessel-finder first calls it, also when twenty clients call at
# once; and on a virtual display, a failed request leaves the host's window in front and a
# successful one leaves none, seen from outside the host.
# Usage: installed-tree-test.sh BUILD_TREE [PACKAGE.deb]
set -euo pipefail
source "$(dirname "$0")/wait-for.sh"
build=$(cd "$1" && pwd)
package=${2:+$(realpath "$2")}

# The bus knows the prefix tree's service folder, which the install fills in later.
unset TESSEL_INFO_FILE TESSEL_HOST_EXECUTABLE
if [ -z "${TESSEL_INSTALLED_TEST_WORK:-}" ]; then
  TESSEL_INSTALLED_TEST_WORK=$(mktemp -d /tmp/tessel-installed-XXXXXX)
  export TESSEL_INSTALLED_TEST_WORK
  mkdir -p "$TESSEL_INSTALLED_TEST_WORK/home/.local/share/dbus-1/services"
  exec "$(dirname "$0")/bus-with-services.sh" \
    "$TESSEL_INSTALLED_TEST_WORK/home/.local/share/dbus-1/services" "$0" "$@"
fi

work=$TESSEL_INSTALLED_TEST_WORK
host=
display_server=
cleanup() {
  if [ -n "$host" ]; then kill "$host" 2>/dev/null || true; fi
  if [ -n "$display_server" ]; then kill "$display_server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cd /

fail() {
  echo "installed tree: $*" >&2
  exit 1
}

# check_tree NAME PREFIX INSTALLED_PREFIX: the programs in PREFIX at work in a fresh home;
# their desktop entry and service file name them under INSTALLED_PREFIX, where they run once
# installed. Where the two prefixes are one, the bus starts the host.
check_tree() {
  local name=$1 prefix=$2 installed=$3
  local session="$work/$name-session"
  export HOME="$session/home" XDG_DATA_HOME="$session/data" XDG_RUNTIME_DIR="$session/run"
  export QT_QPA_PLATFORM=offscreen LANGUAGE=en
  mkdir -p "$HOME/Inbox" "$HOME/Archive" "$XDG_DATA_HOME/Tessel" "$XDG_RUNTIME_DIR"
  chmod 0700 "$XDG_RUNTIME_DIR"
  echo "figures" >"$HOME/Inbox/report.txt"
  printf '{"favorites":[{"id":"%s","name":"Archive","path":"%s","bookmark":""}],"roots":[],"recent":[],"policy":"keepBoth"}' \
    "$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)" "$HOME/Archive" \
    >"$XDG_DATA_HOME/Tessel/settings.json"

  local menu="$XDG_DATA_HOME/group.com.quillmark.Tessel/menu.json"
  if [ "$prefix" = "$installed" ]; then
    # A desktop session hands its environment to the bus, which starts services with it.
    dbus-update-activation-environment HOME XDG_DATA_HOME XDG_RUNTIME_DIR QT_QPA_PLATFORM LANGUAGE
    "$prefix/bin/tessel-finder" run "Open Move Settings…" || fail "$name: tessel-finder settings failed"
    wait_for "$name: the host started by the bus" bus_host_is
    host=$(bus_host)
    [ "$(readlink "/proc/$host/exe")" = "$prefix/bin/tessel" ] ||
      fail "$name: the bus started $(readlink "/proc/$host/exe"), not $prefix/bin/tessel"
  else
    "$prefix/bin/tessel" --background-command </dev/null >"$session/host.log" 2>&1 &
    host=$!
  fi
  wait_for "$name: the host's menu snapshot" test -s "$menu"
  grep -qF "\"${HOME//\//\\/}\"" "$menu" || fail "$name: the home folder is not published: $(cat "$menu")"

  "$prefix/bin/tessel-finder" run "Move To > Archive" --select "$HOME/Inbox/report.txt" ||
    fail "$name: tessel-finder run failed"
  wait_for "$name: the move" test -e "$HOME/Archive/report.txt"
  # The host is busy until it has recorded the destination; an undo before that is refused.
  wait_for "$name: the move's end" grep -q '"recent":\["' "$XDG_DATA_HOME/Tessel/settings.json"
  "$prefix/bin/tessel-finder" run "Undo Last Move" || fail "$name: tessel-finder undo failed"
  wait_for "$name: the undo" test -e "$HOME/Inbox/report.txt"
  stop_host
  ! bus_host_is || fail "$name: the host's name outlived it on the bus"

  desktop-file-validate "$prefix/share/applications/com.quillmark.Tessel.desktop" ||
    fail "$name: the desktop entry does not validate"
  grep -q "^Exec=$installed/bin/tessel " "$prefix/share/applications/com.quillmark.Tessel.desktop" ||
    fail "$name: the desktop entry names another tessel"
  grep -qx "Exec=$installed/bin/tessel --background-command" \
    "$prefix/share/dbus-1/services/com.quillmark.Tessel.service" ||
    fail "$name: the bus's service file names another tessel"
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/com.quillmark.Tessel.metainfo.xml" \
    >/dev/null || fail "$name: the metainfo does not validate"
  echo "installed tree ($name): host, move, undo, desktop entry and service file work from $prefix"
}

stop_host() {
  kill "$host"
  wait "$host" 2>/dev/null || true
  wait_for "the host's end" test ! -e "/proc/$host"
  host=
}

requests_taken() {
  ! compgen -G "$XDG_DATA_HOME/group.com.quillmark.Tessel/Requests/*.json" >/dev/null
}

# Whether the note of every client that ended with 0 is in the Archive.
successful_clients_moved() {
  local i
  for i in $(seq 20); do
    if [ "$(cat "$work/client-$i.status")" = 0 ] && [ ! -e "$HOME/Archive/note-$i.txt" ]; then
      return 1
    fi
  done
}

# Twenty clients call at once with no host running. The bus starts one host, and that host
# takes every request exactly once: it moves the item, or refuses it while another move runs
# (and says so, to the client too, which then fails); nothing is carried out twice, lost, or
# left waiting.
check_concurrent_clients() {
  local prefix=$1 i clients=() moved left hosts status refusal
  refusal="tessel-finder: Tessel did not carry out the request: A move is in progress. Try again when it finishes."
  for i in $(seq 20); do echo "$i" >"$HOME/Inbox/note-$i.txt"; done
  for i in $(seq 20); do
    "$prefix/bin/tessel-finder" run "Move To > Archive" --select "$HOME/Inbox/note-$i.txt" \
      2>"$work/client-$i.err" &
    clients+=($!)
  done
  for i in $(seq 20); do
    status=0
    wait "${clients[$((i - 1))]}" || status=$?
    # A client that succeeded had its request taken up; its move may still be running.
    if [ "$status" = 1 ]; then
      [ "$(cat "$work/client-$i.err")" = "$refusal" ] ||
        fail "concurrent clients: client $i said: $(cat "$work/client-$i.err")"
      [ -e "$HOME/Inbox/note-$i.txt" ] || fail "concurrent clients: client $i was refused, yet moved"
    elif [ "$status" != 0 ] || [ -s "$work/client-$i.err" ]; then
      fail "concurrent clients: client $i ended with $status: $(cat "$work/client-$i.err")"
    fi
    echo "$status" >"$work/client-$i.status"
  done
  wait_for "concurrent clients: every request taken" requests_taken
  wait_for "concurrent clients: the host" bus_host_is
  host=$(bus_host)
  hosts=$(for i in $(pgrep -x tessel); do readlink "/proc/$i/exe"; done | grep -cxF "$prefix/bin/tessel")
  [ "$hosts" = 1 ] || fail "concurrent clients: $hosts hosts run"
  moved=$(find "$HOME/Archive" -name 'note-*' | wc -l)
  left=$(find "$HOME/Inbox" -name 'note-*' | wc -l)
  [ "$((moved + left))" = 20 ] && [ "$moved" -ge 1 ] ||
    fail "concurrent clients: $moved moved and $left left of 20"
  wait_for "concurrent clients: every client that succeeded has its note moved" \
    successful_clients_moved || fail "concurrent clients: a client succeeded, yet its note stayed"
  stop_host
  echo "installed tree: 20 concurrent clients, one host, $moved moved, $left refused while busy" \
    "and told so ($(grep -lx 1 "$work"/client-*.status | wc -l) exited 1)"
}

chooser_window() {
  xdotool search --onlyvisible --pid "$host" --name '^Move to Folder$' 2>/dev/null | head -n 1
}
chooser_shown() { [ -n "$(chooser_window)" ]; }
chooser_gone() { [ -z "$(chooser_window)" ]; }

# "Move through Folders…" opens the host's chooser on the display with the keyboard focus in its
# search field: typing a folder's name and Enter move the file there and close the chooser.
check_chooser() {
  local prefix=$1 chooser
  wait_for "the chooser's folder published" grep -q Taxes \
    "$XDG_DATA_HOME/group.com.quillmark.Tessel/menu.json"
  echo "receipt" >"$HOME/Inbox/receipt.txt"
  "$prefix/bin/tessel-finder" run "Move through Folders…" --select "$HOME/Inbox/receipt.txt" ||
    fail "the chooser: tessel-finder failed"
  wait_for "the chooser on the display" chooser_shown
  chooser=$(chooser_window)
  xdotool windowfocus --sync "$chooser"  # no window manager gives it the focus
  xdotool type --delay 60 taxes
  xdotool key Return
  wait_for "the move chosen in the chooser" test -e "$HOME/Archive/Taxes/receipt.txt"
  wait_for "the chooser closed" chooser_gone
  echo "installed tree: the chooser moved a file into the folder typed, with the keyboard alone"
}

host_window_shown() {
  [ -n "$(xdotool search --onlyvisible --pid "$host" 2>/dev/null)" ]
}

# The host's window on a virtual display over 20 tries: a request that fails (a symbolic link
# is never moved) ends with the window shown, and stays so; one that succeeds with none.
check_window_truth() {
  local prefix=$1 i
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  display_server=$!
  wait_for "the virtual display" test -s "$work/display"
  export DISPLAY=:$(cat "$work/display")
  mkdir -p "$HOME/Archive/Taxes"  # a folder for the chooser, in the host's first snapshot
  QT_QPA_PLATFORM=xcb "$prefix/bin/tessel" --background-command </dev/null \
    >"$work/window-host.log" 2>&1 &
  host=$!
  wait_for "the host on the virtual display" bus_host_is "$host"
  ln -s report.txt "$HOME/Inbox/link.txt"
  check_chooser "$prefix"
  for i in $(seq 20); do
    "$prefix/bin/tessel-finder" run "Move To > Archive" --select "$HOME/Inbox/link.txt"
    wait_for "try $i: the window after a failed move" host_window_shown
    sleep 0.3
    host_window_shown || fail "try $i: the window was taken away after a failed move"
    echo "$i" >"$HOME/Inbox/done-$i.txt"
    "$prefix/bin/tessel-finder" run "Move To > Archive" --select "$HOME/Inbox/done-$i.txt"
    wait_for "try $i: the move" test -e "$HOME/Archive/done-$i.txt"
    sleep 0.3
    ! host_window_shown || fail "try $i: a window is shown after a successful move"
  done
  stop_host
  kill "$display_server"
  display_server=
  unset DISPLAY
  echo "installed tree: the window was shown after 20 of 20 failed moves, after no successful one"
}

# An install by someone who may read the build and source trees but not write them: here both
# are mounted read-only in a private mount namespace. Every file lands under the prefix; the
# one write CMake itself makes in the build tree, its install manifest, is the only failure.
prefix="$work/home/.local"
source_tree=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
if unshare -m sh -c 'mount --bind -o ro "$1" "$1" && mount --bind -o ro "$2" "$2" &&
    exec cmake --install "$2" --prefix "$3"' sh "$source_tree" "$build" "$prefix" \
    >"$work/readonly-install.log" 2>&1; then
  fail "the install from a read-only build tree says it wrote its manifest there"
fi
[ "$(grep -c 'CMake Error' "$work/readonly-install.log")" = 1 ] &&
  grep -qF "$build/install_manifest.txt" "$work/readonly-install.log" ||
  fail "the install from a read-only build tree failed: $(cat "$work/readonly-install.log")"
(cd "$prefix" && find "$PWD" ! -type d | sort) >"$work/readonly-installed"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
outside=$(grep -v "^$prefix/" "$build/install_manifest.txt" || true)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
sort "$build/install_manifest.txt" | diff - "$work/readonly-installed" >&2 ||
  fail "the install from a read-only build tree left out the files above"
# Each other file manager's module package, beside the main one: its one module in the folder
# its file manager loads modules from, depending on the main package of the same version and on
# none of the host's or another file manager's libraries.
check_module_packages() {
  local main=$1 version folder module depends
  version=$(dpkg-deb -f "$main" Version)
  for manager in nemo:libnemo-extension:extensiondir caja:libcaja-extension:extensiondir \
    thunar:thunarx-3:extensionsdir dolphin:Qt5Core:libdir; do
    IFS=: read -r name pc key <<<"$manager"
    module_package=$(dirname "$main")/tessel-${name}_${version}_amd64.deb
    [ -f "$module_package" ] || continue
    folder=$(pkg-config --variable="$key" "$pc")
    [ "$name" = dolphin ] && folder=$folder/qt5/plugins/kf5/kfileitemaction
    module=$(dpkg-deb -c "$module_package" | awk '{print $6}' | grep -v '/$')
    [ "$module" = ".$folder/tessel-$name.so" ] ||
      fail "tessel-$name holds $module instead of .$folder/tessel-$name.so alone"
    depends=$(dpkg-deb -f "$module_package" Depends)
    case ", $depends," in *", tessel (= $version),"*) ;; *) fail "tessel-$name depends on: $depends" ;; esac
    if grep -Eq 'qt6|nautilus' <<<"$depends"; then fail "tessel-$name depends on: $depends"; fi
    echo "installed tree: tessel-$name holds its module in $folder"
  done
}

check_tree prefix "$prefix" "$prefix"
check_concurrent_clients "$prefix"
check_window_truth "$prefix"

if [ -n "$package" ]; then
  outside=$(dpkg-deb -c "$package" | awk '{print $6}' | grep -v '^\./$' | grep -v '^\./usr/' || true)
  [ -z "$outside" ] || fail "the package installs outside /usr: $outside"
  dpkg-deb -x "$package" "$work/root"
  check_tree package "$work/root/usr" /usr
  check_module_packages "$package"
fi
