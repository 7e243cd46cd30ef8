#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it as Debian
# would: lintian with no error and no warning, Debian's hardening in every
# program, the AppStream metadata, menu entry and icons valid, and installing
# then purging it (into a folder of its own, not this system) leaving nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(echo "$work"/package/*.deb)
echo "Checking $(basename "$deb")"

lintian --fail-on error,warning --tag-display-limit 0 "$deb"

tree=$work/tree
dpkg-deb --extract "$deb" "$tree"
# Debian 12's C library start files carry no control-flow marking, so no
# program linked against them can have it, whatever it was compiled with:
# that check waits for a newer release.
for program in "$tree"/usr/bin/*; do
  hardening-check --quiet --nocfprotection "$program" || { hardening-check "$program"; exit 1; }
done
desktop-file-validate "$tree"/usr/share/applications/*.desktop
grep -qx 'Exec=zorv --browse' "$tree"/usr/share/applications/zorv.desktop
appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$tree"

# Installed and purged in a root of its own: afterwards only dpkg's own
# records may be left.
root=$work/root
mkdir -p "$root"/var/lib/dpkg/{info,updates,triggers}
touch "$root"/var/lib/dpkg/{status,available}
# Its dependencies are not in that root: dpkg is told to go on without them.
dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null --install "$deb" \
  >"$work/dpkg.txt" 2>&1 || { cat "$work/dpkg.txt" >&2; exit 1; }
[[ -x $root/usr/bin/zorv-index ]] || { echo "the package installed no programs" >&2; exit 1; }
dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null --purge zorvane >/dev/null
left=$(cd "$root" && find . -mindepth 1 -not -path './var' -not -path './var/lib' -not -path './var/lib/dpkg*')
if [[ -n $left ]]; then
  echo "installing and purging the package left behind:" >&2
  echo "$left" >&2
  exit 1
fi
if ls "$root"/var/lib/dpkg/info/zorvane.* >/dev/null 2>&1; then
  echo "dpkg still keeps records of the purged package" >&2
  exit 1
fi
echo "package checks passed"
