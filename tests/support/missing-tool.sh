# Sourced by the test scripts: missing "WHY" ends a script whose tool is not installed. It skips
# (exit 77, which ctest counts as skipped) on a developer's machine, and fails when CI is set,
# since CI installs every tool.
missing() {
  case "${CI:-}" in
    "" | false | 0)
      echo "SKIPPED: $1"
      exit 77
      ;;
    *)
      echo "FAILED: $1 (CI installs it)"
      exit 1
      ;;
  esac
}
