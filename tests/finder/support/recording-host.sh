#!/bin/sh
# Stands in for the host executable: appends its arguments, as one line, to the file named by
# $TESSEL_TEST_HOST_RECORD.
printf '%s\n' "$*" >>"$TESSEL_TEST_HOST_RECORD"
