# Common settings of the project's scripts. Sourced, not run.
LK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# LK_BUILD lets several work trees or developers keep separate build folders (and Wine prefixes).
LK_BUILD=${LK_BUILD:-$LK_ROOT/build}
LK_WIN_BUILD=$LK_BUILD/win
LK_NATIVE_BUILD=$LK_BUILD/native
export WINEPREFIX=${WINEPREFIX:-$LK_WIN_BUILD/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936 for the ...A APIs; the locale must exist or Wine mangles non-ASCII arguments.
export LC_ALL=zh_CN.UTF-8
LK_WINE=/usr/lib/wine/wine
LK_WINESERVER=/usr/lib/wine/wineserver
[ -x "$LK_WINESERVER" ] || LK_WINESERVER=$(command -v wineserver || echo wineserver)

# LK_JOBS caps build and test parallelism when several work trees build side by side.
lk_jobs() { echo "${LK_JOBS:-$(nproc 2>/dev/null || echo 4)}"; }

# Refuse to run anything that could touch a real network: only inside a private namespace.
# Where /proc/1/ns/net cannot be read (as on some build machines) the first test alone passes in the
# machine's own namespace, so the links are checked too: only loopback and the sweep tests' veth pair
# (scripts/test-in-netns), which lead nowhere outside this namespace.
lk_only_own_links() {
    local links
    links=$(ip -o link show 2>/dev/null | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }') || return 1
    [ -n "$links" ] || return 1
    ! printf '%s\n' "$links" | grep -qvxE 'lo|lknw0|lknw1'
}
lk_require_private_netns() {
    if [ "$(readlink /proc/self/ns/net)" = "$(readlink /proc/1/ns/net 2>/dev/null)" ] || ! lk_only_own_links; then
        echo "refusing to run outside a private network namespace (use scripts/test or scripts/run)" >&2
        exit 3
    fi
}

lk_configure_build() {
    cmake -S "$LK_ROOT" -B "$LK_WIN_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$LK_ROOT/cmake/mingw-i686.cmake" >/dev/null &&
        cmake --build "$LK_WIN_BUILD" -j "$(lk_jobs)" -- -k --no-print-directory
}

# Starts Xvfb on a free display number and exports DISPLAY. Sets LK_XVFB_PID.
lk_start_xvfb() {
    local n=90
    while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    LK_XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 100); do
        [ -e /tmp/.X11-unix/X$n ] && return 0
        sleep 0.05
    done
    echo "Xvfb did not start" >&2
    return 1
}

# Whether this machine can run 32-bit Windows programs under Wine at all. Some kernels run no 32-bit x86
# code (exec gives "Exec format error"), and Wine under a user-mode emulator does not start in any useful
# time. Sets LK_WIN32_WHY when it cannot.
lk_can_run_win32() {
    local out entry
    for entry in /proc/sys/fs/binfmt_misc/*; do
        [ -f "$entry" ] || continue
        if grep -qx enabled "$entry" 2>/dev/null && grep -q '^magic 7f454c4601' "$entry" 2>/dev/null &&
            grep -q '^interpreter .*qemu' "$entry" 2>/dev/null; then
            LK_WIN32_WHY="32-bit x86 programs run here only under an emulator ($(basename "$entry")), where Wine does not start"
            return 1
        fi
    done
    # Where the kernel refuses the format, the shell reads the file as a script: its words are noise.
    if ! out=$(timeout 30 "$LK_WINE" --version 2>&1 </dev/null) || [ "${out#wine-}" = "$out" ]; then
        LK_WIN32_WHY="this machine cannot execute 32-bit x86 programs ($LK_WINE --version does not run)"
        return 1
    fi
    return 0
}

# Creates the private Wine prefix once per build folder (about 10 s), in the Chinese locale.
lk_ensure_prefix() {
    [ -f "$WINEPREFIX/.lenskit-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    if ! timeout 300 /usr/lib/wine/wine wineboot -i >/dev/null 2>&1 </dev/null; then
        echo "wineboot could not create the Wine prefix" >&2
        return 1
    fi
    local reg=/usr/lib/wine/wine
    # Without a window manager every hide of a managed window costs about 2 s.
    $reg reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # Dialog fonts of the templates, mapped to the installed CJK font so Chinese captions show.
    for f in 宋体 SimSun 新宋体 NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Calibri; do
        $reg reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    "$LK_WINESERVER" -w
    touch "$WINEPREFIX/.lenskit-ready"
}
