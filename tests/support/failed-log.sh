# Sourced by the test scripts that make a build of their own: failed_with_log "WHY" LOG ends the
# script, showing the end of the log (where a compiler, ninja or cmake says what went wrong) and
# where the whole log is.
failed_with_log() {
  echo "-- the last 60 lines of $2:"
  tail -n 60 "$2"
  echo "FAILED: $1 (the whole log: $2)"
  exit 1
}
