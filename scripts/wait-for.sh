# Sourced by the scripts that drive a running host: wait_for DESCRIPTION TEST... retries TEST
# for up to ten seconds and fails, naming DESCRIPTION, when it never passes.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 100); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  echo "Gave up waiting for: $what" >&2
  return 1
}

# The process that owns the host's name on the session bus; empty while none does.
bus_host() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID com.quillmark.Tessel 2>/dev/null |
    sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
}
# Succeeds when process $1 owns the host's name; without $1, when any process does.
bus_host_is() {
  local owner
  owner=$(bus_host)
  [ -n "$owner" ] && [ -z "${1:-}" -o "$owner" = "${1:-}" ]
}
