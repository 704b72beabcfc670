# Shared by the release tests: named checks, a summary, exit status 1 when
# any failed. Source it, call check/fail, end with finish.
failures=0
checks=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
check() { # description, command...
  local what=$1; shift
  checks=$((checks + 1))
  if ! "$@"; then fail "$what"; fi
}
finish() {
  echo "$checks checks, $failures failed"
  [ "$failures" -eq 0 ]
}
