#!/usr/bin/env bash
# Installs the build into a throw-away folder (DESTDIR), checks that every file lands where a
# desktop looks for it and that the desktop entry and the AppStream data validate, then starts the
# installed program from that folder with a fresh home on a virtual display: it must make the
# user's library, open the default lesson from it and write a note typed into its window there.
#
# Usage: test_install.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
app_id=io.github.lectoria.Lectoria
work=$(mktemp -d)
xvfb_pid=
program_pid=
finish() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "test_install: $*" >&2
    exit 1
}

DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" || {
    cat "$work/install.log" >&2
    fail "cmake --install failed"
}
prefix=$work/root/usr

expected=(
    bin/lectoria
    bin/lectoria-cli
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$app_id.svg"
    share/man/man1/lectoria.1.gz
    share/man/man1/lectoria-cli.1.gz
    share/lectoria/library/marks.txt
    "share/lectoria/library/New Concept English Book 1/Lesson 001 Excuse me/01 Excuse me!.sau"
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# The media module lies under the library folder the build chose (lib/ or lib/<multiarch>/).
module=$(find "$prefix/lib" -path '*/lectoria/lectoria-media.so' 2>/dev/null | head -n1)
[ -n "$module" ] || fail "not installed: the media module lectoria-media.so"
for program in lectoria lectoria-cli; do
    [ -x "$prefix/bin/$program" ] || fail "not executable: bin/$program"
done
# The entry names the icon and the program by the names the theme and PATH know.
desktop=$prefix/share/applications/$app_id.desktop
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's icon is not $app_id"
grep -qx "Exec=lectoria" "$desktop" || fail "the desktop entry does not start lectoria"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" || {
    cat "$work/appstream.log" >&2
    fail "appstreamcli rejects the metainfo"
}
if command -v man >/dev/null; then
    for page in lectoria lectoria-cli; do
        warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "the manual page $page.1 has errors: $warnings"
    done
fi

# The Debian package of the same build, checked by lintian where it is installed. This build is
# the sanitizer build, so only lintian's errors fail the test; scripts/package makes the real one.
if command -v cpack >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$work" && cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1) || {
        cat "$work/cpack.log" >&2
        fail "cpack could not make the package"
    }
    deb=$(ls "$work"/package/lectoria_*.deb)
    dpkg-deb --field "$deb" Depends | grep -q qt6-translations-l10n || fail "the package does not depend on Qt's translations"
    dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || fail "the package's library dependencies are missing"
    dpkg-deb --contents "$deb" >"$work/contents.txt"
    grep -q "./usr/share/applications/$app_id.desktop" "$work/contents.txt" || fail "the package has no desktop entry"
    if command -v lintian >/dev/null; then
        lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
        if grep -q '^E:' "$work/lintian.log"; then
            cat "$work/lintian.log" >&2
            fail "lintian finds errors in the package"
        fi
    else
        echo "test_install: lintian not installed, package not checked (apt-get install lintian)"
    fi
else
    echo "test_install: cpack or dpkg-shlibdeps missing, no package built (apt-get install cmake dpkg-dev)"
fi

# The installed program, run from where it was unpacked: it finds its data relative to itself.
home=$work/home
mkdir -p "$home"
# A virtual display of its own: the first free number from 110 on that answers.
for number in $(seq 110 199); do
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        kill -0 "$xvfb_pid" 2>/dev/null || break
        xdpyinfo -display ":$number" >/dev/null 2>&1 && break 2
        sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
[ -n "$xvfb_pid" ] || fail "no virtual display (Xvfb) could be started"
export DISPLAY=:$number
# The test command runs widgets offscreen; this program has to show a real window.
unset QT_QPA_PLATFORM

HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_CACHE_HOME= ASAN_OPTIONS=detect_leaks=0 \
    "$prefix/bin/lectoria" >"$work/program.log" 2>&1 &
program_pid=$!
# Qt also names its unmapped 1x1 client-leader window after the program: only a visible window is
# the one to type into.
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Lectoria$' | head -n1) || {
    cat "$work/program.log" >&2
    fail "the installed program showed no window"
}
# Reading the first sentence loads the installed media module, found from the program's folder.
loaded=no
for _ in $(seq 300); do
    if grep -qF "$module" "/proc/$program_pid/maps" 2>/dev/null; then
        loaded=yes
        break
    fi
    sleep 0.1
done
[ "$loaded" = yes ] || {
    cat "$work/program.log" >&2
    fail "the installed program did not load its media module ($module)"
}
# Its button icons were drawn during the build: showing the window needs no SVG library.
if grep -q libQt6Svg "/proc/$program_pid/maps"; then
    fail "the window loaded the SVG library to show itself"
fi
lesson="$home/.local/share/Lectoria/library/New Concept English Book 1/Lesson 001 Excuse me"
[ -e "$lesson/01 Excuse me!.sau" ] || fail "the first start did not copy the demo into the user's library"

# Pause the reading so the note stays with one sentence, then type into the grammar pane, which
# fills the lower right of the window. A window that is still restoring may miss the first keys,
# and a first start on a busy machine (GStreamer scanning its plug-ins for a new home) can hold
# the window for many seconds, so typing is tried again until the note reaches the disk.
note_file="$lesson/New Concept English Book 1 Lesson001.txt"
eval "$(xdotool getwindowgeometry --shell "$window")"
noted=no
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 1
    xdotool key --window "$window" F3
    xdotool mousemove --window "$window" $((WIDTH * 6 / 10)) $((HEIGHT * 6 / 10)) click 1
    sleep 0.3
    xdotool type --delay 20 " installedword" 2>/dev/null
    for _ in $(seq 30); do
        if grep -q installedword "$note_file" 2>/dev/null; then
            noted=yes
            break 2
        fi
        sleep 0.1
    done
done
[ "$noted" = yes ] || {
    cat "$work/program.log" >&2
    fail "the typed note did not reach the user's library"
}
kill -TERM "$program_pid"
wait "$program_pid" || fail "the program did not end cleanly on SIGTERM"
program_pid=
grep -q "^strFullPath=$home/.local/share/Lectoria/library/" "$home/.config/Lectoria/Lectoria.ini" ||
    fail "the profile does not name the user's library"
if grep -rq installedword "$prefix/share/lectoria"; then
    fail "a note was written into the installed data"
fi
echo "test_install: installed, validated, started from $prefix and took a note"
