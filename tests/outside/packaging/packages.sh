# shellcheck shell=sh
# Sourced by the packaging tests: making a package with cpack and finding the one made.
# (Inside $(...) their messages go to standard error, which the test output still shows.)

# package_in OUT PATTERN MAKER: the package file in OUT whose name matches PATTERN; when there is
# none the test fails, naming MAKER, the test that makes it.
package_in() {
  package=$(find "$1" -maxdepth 1 -name "$2" 2>/dev/null | head -1)
  [ -n "$package" ] || {
    echo "FAILED: no $2 in $1 (made by $3)" >&2
    exit 1
  }
  echo "$package"
}

# make_package GENERATOR BUILD OUT PATTERN: cpack makes BUILD's package of that kind into the empty
# folder OUT, as `cmake --build BUILD --target package` would; prints the file made.
make_package() {
  rm -rf "$3"
  mkdir -p "$3"
  cpack -G "$1" --config "$2/CPackConfig.cmake" -B "$3" >"$3/cpack.log" 2>&1 || {
    cat "$3/cpack.log" >&2
    echo "FAILED: cpack could not make the $1 package" >&2
    exit 1
  }
  package_in "$3" "$4" "cpack just now"
}
