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
