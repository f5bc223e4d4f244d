#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The Debian package as a user gets it: unpacked into a scratch root (no
# installation), its programs run from there and its contents checked.
#   package_test.sh path/to/valdris-power_*.deb
set -euo pipefail
deb=$1
[ -f "$deb" ] || { echo "no package at $deb" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root"
usr=$root/usr
checks=0
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { checks=$((checks + 1)); echo "ok - $*"; }

json=$("$usr/bin/valdris-power-cli" --json) || fail "valdris-power-cli --json exited with $?"
grep -q '"n": 29,' <<< "$json" || fail "valdris-power-cli --json gave no design: $json"
pass "valdris-power-cli --json from the unpacked package"

# The drawing module is found by its installed path, off screen whatever the
# environment names, and stays silent.
chart=$scratch/chart.png
err=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/valdris-power-cli" --chart "$chart" 2>&1 >/dev/null) ||
  fail "valdris-power-cli --chart failed: $err"
[ -z "$err" ] || fail "valdris-power-cli --chart wrote to stderr: $err"
file "$chart" | grep -q 'PNG image data, 517 x 309' || fail "no chart image: $(file "$chart")"
pass "valdris-power-cli --chart through the installed drawing module"

# The geometry module is found by its installed path too: a boundary in
# longitude/latitude near 15 E, 45 N is laid out in UTM zone 33.
cat > "$scratch/site.geojson" <<'GEOJSON'
{"type": "FeatureCollection", "features": [{"type": "Feature", "properties": {"name": "North"},
 "geometry": {"type": "Polygon", "coordinates": [[[15.0, 45.0], [15.002, 45.0], [15.002, 45.001], [15.0, 45.001], [15.0, 45.0]]]}}]}
GEOJSON
json=$("$usr/bin/valdris-power-cli" --boundary "$scratch/site.geojson" --seed 1 --json) ||
  fail "valdris-power-cli --boundary exited with $?"
grep -q '"crs": "EPSG:32633"' <<< "$json" || fail "valdris-power-cli --boundary gave no UTM grid: $json"
pass "valdris-power-cli --boundary through the installed geometry module"

env -u DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/valdris-power" --version | grep -q '^valdris-power (VALDRIS Power) ' ||
  fail "valdris-power --version"
pass "valdris-power --version without a display"

modules=("$usr"/libexec/valdris-power/valdris-power-draw.so "$usr"/libexec/valdris-power/valdris-power-geo.so)
for elf in "$usr"/bin/valdris-power "$usr"/bin/valdris-power-cli "${modules[@]}"; do
  [ -f "$elf" ] || fail "missing $elf"
  ! readelf -S "$elf" | grep -q '\.debug_info' || fail "$elf carries debug information"
  file "$elf" | grep -q ', stripped' || fail "$elf is not stripped"
done
pass "programs and modules present and stripped"

bash "$(dirname "$0")/hardening_test.sh" "$usr"/bin/valdris-power "$usr"/bin/valdris-power-cli \
  "${modules[@]}" > /dev/null || fail "programs not hardened"
pass "programs and modules hardened"

grep -q '^License: Apache-2.0$' "$usr/share/doc/valdris-power/copyright" || fail "no copyright file naming the licence"
pass "Debian copyright file"

for data in share/valdris-power/VALDRISPower99.HLP share/applications/valdris-power.desktop \
    share/metainfo/org.valdris.power.metainfo.xml share/icons/hicolor/scalable/apps/valdris-power.svg \
    share/man/man1/valdris-power.1.gz share/man/man1/valdris-power-cli.1.gz share/mime/packages/valdris-power.xml; do
  [ -s "$usr/$data" ] || fail "missing $data"
done
for size in 16 32 48 64 128 256; do
  file "$usr/share/icons/hicolor/${size}x$size/apps/valdris-power.png" | grep -q "PNG image data, $size x $size" ||
    fail "no $size px icon"
done
grep -q '<glob pattern="\*.vplan"/>' "$usr/share/mime/packages/valdris-power.xml" || fail "the plan file type lacks its glob"
grep -q '^MimeType=application/x-valdris-power-plan;' "$usr/share/applications/valdris-power.desktop" ||
  fail "the desktop entry does not declare the plan file type"
pass "help file, desktop entry with the plan file type, metainfo, icons and manual pages"

zcat "$usr/share/man/man1/valdris-power-cli.1.gz" | grep -q 'sweep.* sigma|lbgr FROM TO STEP' || fail "the companion's manual page lacks --sweep"
pass "manual page made from --help"

# Debian's own package checker: not one error, not one warning.
lint=$(lintian --fail-on none "$deb" 2>/dev/null | grep -E '^[EW]: ' || true)
[ -z "$lint" ] || fail "lintian reports: $lint"
pass "lintian-clean: 0 errors, 0 warnings"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6gui6 libqt6widgets6 libqt6svg6 libgdal; do
  grep -q "$library" <<< "$depends" || fail "Depends lacks $library: $depends"
done
pass "dependencies found by dpkg-shlibdeps: $depends"
echo "$checks passed, 0 failed"
