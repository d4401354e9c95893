#!/bin/sh
# Builds the Debian package from the build folder given, unpacks it into a temporary root and
# looks into it: the files in their standard places, the dependencies, lintian's verdict (when
# set-up installed it), the program's --help and --version, and the installed menu launcher
# starting the program on a new log book in the XDG data folder, or saying why it cannot.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/package/*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
for package in fonts-wine fonts-liberation libsqlcipher libqt6widgets6 libqt6svg6; do
  case "$depends" in *"$package"*) ;; *) fail "Depends lacks $package: $depends" ;; esac
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
app=ru.vornak.Vornak
for file in usr/bin/vornak usr/bin/vornak-db usr/libexec/vornak/vornak-db-report usr/libexec/vornak/vornak-db-commands usr/bin/vornak-start \
  usr/share/applications/$app.desktop usr/share/metainfo/$app.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/$app.png usr/share/icons/hicolor/scalable/apps/$app.svg \
  usr/share/man/man1/vornak.1.gz usr/share/man/man1/vornak-db.1.gz usr/share/man/man1/vornak-start.1.gz \
  usr/share/doc/vornak/copyright usr/share/doc/vornak/changelog.gz; do
  [ -s "$root/$file" ] || fail "$file is not in the package"
done
# The PNG's header: width and height of 48 each.
size="$(od -An -tx1 -j16 -N8 "$root/usr/share/icons/hicolor/48x48/apps/$app.png" | tr -d ' \n')"
[ "$size" = "0000003000000030" ] || fail "the 48 px icon is $size"

if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian"; }
fi

"$root/usr/bin/vornak" --version | grep -qx "vornak $(dpkg-deb -f "$deb" Version)" || fail "vornak --version"
"$root/usr/bin/vornak" --help | grep -q -- "--version" || fail "vornak --help"

# A data folder that cannot be made: the launcher says why, on standard error and in a message box
# that waits for the user.
touch "$work/not-a-folder"
status=0
XDG_DATA_HOME="$work/not-a-folder" QT_QPA_PLATFORM=offscreen timeout 4 "$root/usr/bin/vornak-start" \
  >"$work/refused.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/refused.log"; fail "no message box waited for the user ($status)"; }
grep -q "Не удалось создать папку журнала" "$work/refused.log" || { cat "$work/refused.log"; fail "no reason given"; }

# From the menu: the launcher creates the log book and the program runs on it until stopped.
export XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
status=0
timeout 8 "$root/usr/bin/vornak-start" >"$work/start.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/start.log"; fail "the program ended with $status instead of running"; }
"$root/usr/bin/vornak-db" check "$XDG_DATA_HOME/vornak/VORNAK.mdb" >/dev/null || fail "no log book was created"
# The installed vornak-db finds its report program among the helper programs: a vehicle it does
# not know is refused there, by name.
"$root/usr/bin/vornak-db" report "$XDG_DATA_HOME/vornak/VORNAK.mdb" --vehicle 'Нет такого' --from 2026-01-01 \
  --to 2026-12-31 --pdf "$work/report.pdf" >"$work/report.log" 2>&1 && fail "a report of no vehicle"
grep -q "Нет такого" "$work/report.log" || { cat "$work/report.log"; fail "vornak-db report"; }
echo "package: $(basename "$deb"), Depends: $depends"
