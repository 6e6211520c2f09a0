#!/usr/bin/env bash
# Builds the Debian package as the README says and checks it as a distribution would: lintian
# with no error, no warning and no unexplained note; the AppStream data valid; the manual pages
# found by name; the bash completion registered and answering from the program's own help.
# Usage: tools/check-package.sh [PRESET]   (default: release; CI passes its own "ci" build)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
build=build/$preset

fail() {
  echo "check-package: $*" >&2
  exit 1
}

build_package() {
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
  local report
  report=$(cd "$build" && cpack -G DEB)
  echo "$report"
  deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$report")
  [ -f "$deb" ] || fail "cpack named no .deb it generated"
}

# Any error, warning or informational note fails, unless the package's own overrides file
# (packaging/lintian-overrides) accepts it and says why. lintian counts overrides it is asked
# to show as failures, so they are not shown here.
run_lintian() {
  echo "lintian on $deb"
  lintian --fail-on error,warning,info --display-info "$deb" ||
    fail "lintian found the faults above in $deb"
}

check_installed_tree() {
  local root=$1
  dpkg-deb -x "$deb" "$root"

  echo "appstreamcli on the installed tree"
  appstreamcli validate-tree --no-net --strict --pedantic "$root" ||
    fail "the AppStream data is not valid"

  local page
  for program in valdrix quennet valdrix-cli; do
    page=$(MANPATH="$root/usr/share/man" man -w "$program") ||
      fail "man $program finds no manual page in the package"
    [[ $page == "$root"/* ]] || fail "man $program finds $page, not the package's page"
    MANWIDTH=80 man -l "$page" | grep -q "$program" || fail "the page of $program is empty"
  done

  check_completion "$root/usr/share/bash-completion/completions/valdrix-cli" \
    "$root/usr/bin/valdrix-cli"
}

# The completion offers what the program's help lists; each probe is a line typed so far and a
# word one of its completions must be.
check_completion() {
  local script=$1 program=$2
  bash -c 'source "$1" && complete -p valdrix-cli' _ "$script" >/dev/null ||
    fail "sourcing $script registers no completion for valdrix-cli"
  local probe
  for probe in "|continuous" "-|--dry-run" "--link |sim" "--link=f|file:" \
    "continuous --|--freq" "continuous --polarity |INVerted" "sweep --mode=L|LOGarithmic"; do
    bash -c '
      source "$1"
      line="$2 ${3%|*}"
      COMP_LINE=$line COMP_POINT=${#line}
      read -ra COMP_WORDS <<<"$line"
      _valdrix_cli
      printf "%s\n" "${COMPREPLY[@]}" | grep -qxF -- "${3#*|}"' _ "$script" "$program" "$probe" ||
      fail "completing \"valdrix-cli ${probe%|*}\" does not offer ${probe#*|}"
  done
}

build_package
run_lintian
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
check_installed_tree "$tree"
echo "check-package: $deb passes lintian, appstreamcli, man and the completion"
