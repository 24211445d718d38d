#!/usr/bin/env bash
# Runs COMMAND on a private session bus that starts services from SERVICE_DIR only, never from
# the machine's own service folders, as a desktop session's bus starts them from the service
# files installed with them.
# Usage: bus-with-services.sh SERVICE_DIR COMMAND [ARGUMENT...]
set -euo pipefail
services=$1
shift
config=$(mktemp /tmp/tessel-bus-XXXXXX.conf)
trap 'rm -f "$config"' EXIT
cat >"$config" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <servicedir>$services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
dbus-run-session --config-file="$config" -- "$@"
