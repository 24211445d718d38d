# Sourced by the scripts that drive real GNOME Files on a virtual display (the Files smoke test,
# the Files menu benchmark); desktop_prepare serves the Dolphin ones as well. Such a script runs
# itself in three stages, named by $TESSEL_FILES_STAGE: "start", then "namespace" in a private
# mount namespace (Files loads modules only from its own extension folder, which the namespace
# covers with one of the script's), then "session" on a private session bus.

# Re-runs the script with ARGUMENTS in a private mount namespace, or exits with SKIP_STATUS
# saying what is missing for that.   files_enter_namespace SKIP_STATUS ARGUMENTS...
files_enter_namespace() {
  local skip=$1 tool
  shift
  for tool in nautilus Xvfb xdotool unshare dbus-run-session pkg-config; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit "$skip"; }
  done
  unshare --mount true 2>/dev/null || { echo "skipped: no mount namespace allowed (needs root)"; exit "$skip"; }
  exec env TESSEL_FILES_STAGE=namespace unshare --mount --propagation private "$0" "$@"
}

# Makes $work (named after NAME) with $home, the shared $container and an empty Info file,
# starts Xvfb for as long as the script runs, and exports the session's environment: what any
# file manager's session on a virtual display needs.   desktop_prepare NAME
desktop_prepare() {
  work=$(mktemp -d "/tmp/$1-XXXXXX")
  home=$work/home container=$work/data/group.com.quillmark.Tessel
  mkdir -p "$home" "$container" "$work/runtime" "$work/modules"
  chmod 0700 "$work/runtime"
  echo '{}' >"$work/info.json"
  Xvfb -displayfd 3 -screen 0 1280x800x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  server=$!
  trap 'kill $server 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$work/display") HOME=$home LANGUAGE=en GSETTINGS_BACKEND=memory
  export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
  export XDG_CACHE_HOME=$work/cache TESSEL_INFO_FILE=$work/info.json TESSEL_FILES_WORK=$work
}

# In the namespace: desktop_prepare, then covers Files' extension folder with $work/modules.
#   files_prepare NAME
files_prepare() {
  desktop_prepare "$1"
  mount --bind "$work/modules" "$(pkg-config --variable=extensiondir libnautilus-extension-4)"
}

# On the private bus: starts Files on $HOME with its output in LOG, and sets $window to its
# window.   files_open_window LOG
files_open_window() {
  nautilus --new-window "$HOME" >"$1" 2>&1 &
  window=$(timeout 30 xdotool search --sync --onlyvisible --class nautilus | head -1)
}
