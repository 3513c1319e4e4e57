#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what a desktop picks up from it: the
# layout, the desktop entry, the metainfo, the MIME package (and that it names files gr33
# writes), and that the man pages cover every command and option `--help` prints. With a .deb
# as second argument, lintian checks the package too.
#   check-install.sh BUILD_DIR [PACKAGE.deb]
set -euo pipefail
build=$1 deb=${2:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.kelvolight.KelvoLight
share=$prefix/share
for f in bin/KelvoLight bin/gr33 bin/gr33-sim \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/128x128/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
    share/mime/packages/kelvolight.xml share/bash-completion/completions/gr33 \
    share/man/man1/KelvoLight.1.gz share/man/man1/gr33.1.gz share/man/man1/gr33-sim.1.gz \
    share/doc/kelvolight/guide.md share/doc/kelvolight/copyright; do
    [ -s "$prefix/$f" ] || fail "missing $f"
done
for size in 48 128 256; do
    file "$share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
        fail "the ${size}px icon is not ${size}x${size}"
done

echo "== desktop-file-validate"
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop entry"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "metainfo"
echo "== xmllint"
xmllint --noout "$share/mime/packages/kelvolight.xml" || fail "MIME package"

# Every command and option the usage text names must head an entry of the man page (the line
# before an indented paragraph), not merely appear somewhere in it.
man_covers() { # program page
    local usage words entries missing=""
    usage=$("$prefix/bin/$1" --help)
    words=$( (grep -oE -- '(^| |\[)--?[a-z][a-z-]*' <<<"$usage" | tr -d ' ['
        grep -oE "^  $1 [a-z-]+" <<<"$usage" | awk '{print $2}' || true) | sort -u)
    entries=$(gzip -dc "$share/man/man1/$2.1.gz" | sed 's/\\-/-/g; s/\\f[BIR]//g' |
        awk '/^\.RS/ {print last} {last = $0}')
    for w in $words; do
        grep -qE -- "(^|[ ,|])$w([ ,|]|$)" <<<"$entries" || missing+=" $w"
    done
    [ -z "$missing" ] || fail "$2(1) lacks:$missing"
    echo "$2(1) has entries for: $(echo $words)"
}
echo "== man pages"
man_covers gr33 gr33
man_covers gr33-sim gr33-sim

# Files made by gr33, recognised by name and, renamed without extension, by content.
echo "== update-mime-database"
update-mime-database "$share/mime" >/dev/null
files=$scratch/files
mkdir -p "$files"
"$prefix/bin/gr33" receive all --virtual --bank "$files/bank.G33" -o "$files/all.G33" >/dev/null 2>&1
"$prefix/bin/gr33" extract "$files/all.G33:A11" -o "$files/one.P33"
cp "$files/all.G33" "$files/all-no-extension"
cp "$files/one.P33" "$files/one-no-extension"
content_type() {
    XDG_DATA_HOME=$scratch/empty XDG_DATA_DIRS=$share gio info -a standard::content-type "$1" |
        awk '/standard::content-type/ {print $2}'
}
for pair in all.G33:application/x-gr33-collection one.P33:application/x-gr33-patch \
    all-no-extension:application/x-gr33-collection one-no-extension:application/x-gr33-patch; do
    got=$(content_type "$files/${pair%%:*}")
    echo "${pair%%:*}: $got"
    [ "$got" = "${pair#*:}" ] || fail "${pair%%:*} is $got, not ${pair#*:}"
done

if [ -n "$deb" ]; then
    echo "== lintian $(basename "$deb")"
    lintian --fail-on error "$deb" || fail "lintian"
fi

[ "$failures" -eq 0 ] && echo "install check passed"
exit $((failures > 0))
