#!/bin/sh
# Checks the Debian package:
#   check-package.sh DEB LAYOUT_CHECK DATA_FOLDER
# DEB is the package, LAYOUT_CHECK the program that checks the data-folder lookup against an
# installed root, DATA_FOLDER the build's output folder (glyph fonts found there must be in the
# package). Inspects the control fields, the file list and the maintainer scripts; installs the
# package into a throw-away root with dpkg (as root only), with the maintainer scripts adding the
# extension to that root's LibreOffice, checks both programs find their data there, removes it
# again and checks that nothing is left; does the same with an unopkg that fails; runs lintian.
set -eu

deb=$1
layout_check=$2
data_folder=$3
name=quran-verses
identifier=org.quranverses.tarvelo
PATH="$PATH:/usr/sbin:/sbin"

work=$(mktemp -d "${TMPDIR:-/tmp}/qv-deb-check.XXXXXX")
sleeper=""
cleanup() {
    if [ -n "$sleeper" ]; then kill "$sleeper" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok:     $*"; }

[ -f "$deb" ] || { echo "no package at $deb"; exit 1; }
echo "package: $deb, $(stat -c %s "$deb") bytes"

# --- control fields ------------------------------------------------------------------------
dpkg-deb --field "$deb" >"$work/control"
field() { sed -n "s/^$1: //p" "$work/control"; }
[ "$(field Package)" = "$name" ] && pass "Package: $name" || fail "Package is $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] && pass "Architecture: $(field Architecture)" \
    || fail "Architecture is $(field Architecture)"
for f in Version Maintainer Section Priority Installed-Size Description; do
    [ -n "$(field "$f")" ] && pass "$f: $(field "$f" | head -n 1)" || fail "no $f field"
done
depends=$(field Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libqt6gui6 libqt6core6 libreoffice-writer fonts-hosny-amiri libc6; do
    echo "$depends" | grep -Eq "(^|, )$d( |,|$)" && pass "depends on $d" || fail "does not depend on $d"
done

# --- file list -----------------------------------------------------------------------------
dpkg-deb --contents "$deb" >"$work/contents"
awk '{print $6}' "$work/contents" | sed 's|^\./|/|' >"$work/paths"
has() { grep -qx "$1" "$work/paths"; }
for path in /usr/bin/versend \
            /usr/share/applications/versend.desktop \
            /usr/share/icons/hicolor/scalable/apps/versend.svg \
            /usr/share/man/man1/versend.1.gz \
            /usr/share/$name/QuranV.Qur /usr/share/$name/Qurant.Qur \
            /usr/share/$name/Arabic.dabrel /usr/share/$name/UnicodeArabic.dbu \
            /usr/share/$name/English.dabrel /usr/share/$name/DATA-LICENSE.txt \
            /usr/lib/$name/Tarvelo.oxt /usr/libexec/$name/tarvelo-extension \
            /usr/share/doc/$name/copyright /usr/share/doc/$name/changelog.gz; do
    has "$path" && pass "contains $path" || fail "does not contain $path"
done
for font in "$data_folder"/*.ttf; do
    [ -f "$font" ] || continue
    path=/usr/share/fonts/truetype/$name/$(basename "$font")
    has "$path" && pass "contains the font $path" || fail "does not contain the font $path"
done
outside=$(grep -v '^/usr/' "$work/paths" | grep -v '^/$' || true)
[ -z "$outside" ] && pass "every file lies under /usr" || fail "files outside /usr: $outside"
owners=$(awk '{print $2}' "$work/contents" | sort -u)
[ "$owners" = "root/root" ] && pass "every file belongs to root/root" || fail "owners: $owners"
grep -q '^-rwxr-xr-x .* \./usr/bin/versend$' "$work/contents" && pass "versend is executable" \
    || fail "versend is not mode 755"

# The program is stripped, finds every library it needs, and looks in no folder but the office's.
mkdir "$work/unpacked"
dpkg-deb --extract "$deb" "$work/unpacked"
program="$work/unpacked/usr/bin/versend"
if readelf -S "$program" | grep -q '\.debug_info'; then
    fail "versend carries debugging information"
else
    pass "versend is stripped"
fi
search_path=$(readelf -d "$program" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
[ "$search_path" = /usr/lib/libreoffice/program ] && pass "versend's library search path is the office's folder" \
    || fail "versend's library search path is '$search_path'"
missing=$(ldd "$program" | grep 'not found' || true)
[ -z "$missing" ] && pass "versend finds every library it needs" || fail "versend misses libraries: $missing"
# The packaged extension: registration and library, the data left to the shared folder.
extension_list=$(unzip -Z1 "$work/unpacked/usr/lib/$name/Tarvelo.oxt")
for entry in description.xml META-INF/manifest.xml tarvelo.components libtarvelo.so; do
    echo "$extension_list" | grep -qx "$entry" && pass "the extension holds $entry" \
        || fail "the extension lacks $entry"
done
echo "$extension_list" | grep -Eq '\.(dabrel|dbu)$' && fail "the extension carries data files" \
    || pass "the extension carries no data files"

# --- maintainer scripts ----------------------------------------------------------------------
mkdir "$work/control-files"
dpkg-deb --control "$deb" "$work/control-files"
for script in postinst prerm; do
    file="$work/control-files/$script"
    if [ ! -f "$file" ]; then fail "no $script"; continue; fi
    sh -n "$file" && pass "$script passes sh -n" || fail "$script fails sh -n"
    [ "$(stat -c %a "$file")" = 755 ] && pass "$script is mode 755" || fail "$script is mode $(stat -c %a "$file")"
done
sh -n "$work/unpacked/usr/libexec/$name/tarvelo-extension" && pass "tarvelo-extension passes sh -n" \
    || fail "tarvelo-extension fails sh -n"

# --- install and remove in a throw-away root -------------------------------------------------
# root: a fresh dpkg database and LibreOffice's folder of shared extensions (the office itself
# is this system's; the maintainer scripts point it at the root's folder).
new_root() {
    root="$work/$1"
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers" \
             "$root/usr/lib/libreoffice/share/uno_packages/cache"
    touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
}
dpkg_path=$PATH
run_dpkg() {
    PATH="$dpkg_path" dpkg --root="$root" --log="$work/dpkg.log" --force-depends --force-script-chrootless "$@"
}
# Files left in the root apart from dpkg's database.
leftovers() {
    (cd "$root" && find . ! -type d ! -path './var/lib/dpkg/*' | sort)
}

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing into a throw-away root needs root"
else
    new_root installed
    cache="$root/usr/lib/libreoffice/share/uno_packages/cache"
    # A stand-in for a running office: the notice that the menu comes with the next start.
    cp "$(command -v sleep)" "$work/soffice.bin"
    "$work/soffice.bin" 120 &
    sleeper=$!
    if run_dpkg --install "$deb" >"$work/install.log" 2>&1; then
        pass "dpkg installs the package into a throw-away root"
    else
        fail "dpkg --install: $(cat "$work/install.log")"
    fi
    grep -q "LibreOffice is running" "$work/install.log" && pass "installing tells that the office runs" \
        || fail "installing while the office runs says nothing: $(cat "$work/install.log")"
    kill "$sleeper" 2>/dev/null || true
    wait "$sleeper" 2>/dev/null || true
    sleeper=""

    profile="$work/unopkg-profile"
    if unopkg list --shared "-env:UserInstallation=file://$profile" \
           "-env:UNO_SHARED_PACKAGES_CACHE=file://$cache" </dev/null 2>&1 | grep -q "Identifier: $identifier"; then
        pass "the extension is added to the root's LibreOffice"
    else
        fail "the extension is not among the root's shared extensions"
    fi
    unpacked=$(find "$cache" -type f -name libtarvelo.so -path '*/Tarvelo.oxt/*' | head -n 1)
    if [ -n "$unpacked" ]; then
        if "$layout_check" "$root" "$(dirname "$unpacked")"; then
            pass "both programs find their data in the installed layout"
        else
            fail "the data-folder lookup against the installed layout"
        fi
    else
        fail "LibreOffice did not unpack the extension"
    fi

    # Installing over the installed package replaces the extension: one copy, still added.
    if run_dpkg --install "$deb" >"$work/reinstall.log" 2>&1; then
        pass "dpkg installs the package over itself"
    else
        fail "dpkg --install over the installed package: $(cat "$work/reinstall.log")"
    fi
    copies=$(find "$cache" -type f -name libtarvelo.so | wc -l)
    [ "$copies" -eq 1 ] && pass "one copy of the extension after installing again" \
        || fail "$copies copies of the extension after installing again"
    unopkg list --shared "-env:UserInstallation=file://$profile" "-env:UNO_SHARED_PACKAGES_CACHE=file://$cache" \
        </dev/null 2>&1 | grep -q "Identifier: $identifier" && pass "the extension is still added" \
        || fail "the extension is gone after installing again"

    # Removal alone (apt-get remove) must leave nothing: the package has no configuration files.
    if run_dpkg --remove "$name" >"$work/remove.log" 2>&1; then
        pass "dpkg removes the package"
    else
        fail "dpkg --remove: $(cat "$work/remove.log")"
    fi
    left=$(leftovers)
    [ -z "$left" ] && pass "nothing is left in the root after removal" || fail "left after removal: $left"
    run_dpkg --purge "$name" >>"$work/remove.log" 2>&1 && pass "dpkg purges the package" \
        || fail "dpkg --purge: $(cat "$work/remove.log")"

    # unopkg fails: the package installs and removes all the same, and says how to add it later.
    new_root failing
    mkdir "$work/failing-bin"
    printf '#!/bin/sh\necho "unopkg: broken" >&2\nexit 1\n' >"$work/failing-bin/unopkg"
    chmod 755 "$work/failing-bin/unopkg"
    dpkg_path="$work/failing-bin:$PATH"
    if run_dpkg --install "$deb" >"$work/install-failing.log" 2>&1; then
        pass "the package installs when unopkg fails"
    else
        fail "dpkg --install with a failing unopkg: $(cat "$work/install-failing.log")"
    fi
    grep -q "tarvelo-extension add" "$work/install-failing.log" && pass "the failure says how to add the extension later" \
        || fail "no advice after the failure: $(cat "$work/install-failing.log")"
    if run_dpkg --purge "$name" >"$work/remove-failing.log" 2>&1; then
        pass "the package removes when unopkg fails"
    else
        fail "dpkg --purge with a failing unopkg: $(cat "$work/remove-failing.log")"
    fi
    left=$(leftovers)
    [ -z "$left" ] && pass "nothing is left after removal with a failing unopkg" || fail "left: $left"
fi

# --- lintian -----------------------------------------------------------------------------------
if command -v lintian >/dev/null 2>&1; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
    cat "$work/lintian.log"
    if grep -q '^E: ' "$work/lintian.log"; then
        fail "lintian reports errors"
    else
        pass "lintian reports no errors"
    fi
else
    fail "lintian is not installed"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
