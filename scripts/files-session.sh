# Sourced by the scripts that drive a real file manager on a virtual display (the modules' smoke
# tests, the menu benchmarks). $FILE_MANAGER names it: nautilus (the default), nemo, caja or
# thunar; desktop_prepare serves the Dolphin ones as well. Such a script runs itself in three stages, named by $TESSEL_FILES_STAGE: "start", then
# "namespace" in a private mount namespace (each of them loads modules only from its own
# extension folder, which the namespace covers with one of the script's; Thunar's THUNARX_DIRS
# is not honoured for root), then "session" on a private session bus.
FILE_MANAGER=${FILE_MANAGER:-nautilus}
export FILE_MANAGER

# The file manager's folder of extension modules.
files_module_folder() {
  case $FILE_MANAGER in
  nautilus) pkg-config --variable=extensiondir libnautilus-extension-4 ;;
  nemo) pkg-config --variable=extensiondir libnemo-extension ;;
  caja) pkg-config --variable=extensiondir libcaja-extension ;;
  thunar) pkg-config --variable=extensionsdir thunarx-3 ;;
  esac
}

# Re-runs the script with ARGUMENTS in a private mount namespace, or exits with SKIP_STATUS
# saying what is missing for that.   files_enter_namespace SKIP_STATUS ARGUMENTS...
files_enter_namespace() {
  local skip=$1 tool
  shift
  for tool in "$FILE_MANAGER" Xvfb xdotool unshare dbus-run-session pkg-config; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit "$skip"; }
  done
  unshare --mount true 2>/dev/null || { echo "skipped: no mount namespace allowed (needs root)"; exit "$skip"; }
  exec env TESSEL_FILES_STAGE=namespace unshare --mount --propagation private "$0" "$@"
}

# In the namespace: covers FOLDER with $work/modules. Where no module is installed the folder
# may not exist: then the nearest folder above it that does is overlaid, for the namespace only,
# so that it can be made.   files_cover_module_folder FOLDER
files_cover_module_folder() {
  local folder=$1 above=$1
  if [ ! -d "$folder" ]; then
    while [ ! -d "$above" ]; do above=$(dirname "$above"); done
    mkdir -p "$work/overlay/upper" "$work/overlay/work"
    mount -t overlay overlay \
      -o "lowerdir=$above,upperdir=$work/overlay/upper,workdir=$work/overlay/work" "$above"
    mkdir -p "$folder"
  fi
  mount --bind "$work/modules" "$folder"
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

# In the namespace: desktop_prepare, then covers the file manager's extension folder with
# $work/modules.   files_prepare NAME
files_prepare() {
  desktop_prepare "$1"
  files_cover_module_folder "$(files_module_folder)"
}

# On the private bus: starts the file manager on FOLDER (by default $HOME) with its output in
# LOG, and sets $window to its window.   files_open_window LOG [FOLDER]
files_open_window() {
  local folder=${2:-$HOME}
  case $FILE_MANAGER in
  nautilus) nautilus --new-window "$folder" >"$1" 2>&1 & ;;
  nemo | caja) "$FILE_MANAGER" --no-desktop "$folder" >"$1" 2>&1 & ;;
  thunar) thunar "$folder" >"$1" 2>&1 & ;;
  esac
  window=$(timeout 30 xdotool search --sync --onlyvisible --class "$FILE_MANAGER" | head -1)
}

# Ends the file manager of the session.
files_quit() {
  "$FILE_MANAGER" -q >/dev/null 2>&1 || true
}
