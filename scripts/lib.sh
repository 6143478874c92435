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
    # On the emulated test machine everything runs several times slower: the tests' hang limits follow.
    local scale=1
    lk_can_run_win32 || scale=4
    cmake -S "$LK_ROOT" -B "$LK_WIN_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$LK_ROOT/cmake/mingw-i686.cmake" -DLK_TEST_TIMEOUT_SCALE=$scale >/dev/null &&
        cmake --build "$LK_WIN_BUILD" -j "$(lk_jobs)" -- -k --no-print-directory
}

# Starts Xvfb on a display number it picks itself (-displayfd: Xvfb takes the number under its own lock
# file, so runs that start together never share a display) and exports DISPLAY. Sets LK_XVFB_PID.
lk_start_xvfb() {
    local numfile n=""
    numfile=$(mktemp "${TMPDIR:-/tmp}/lkxvfb.XXXXXX") || return 1
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    LK_XVFB_PID=$!
    for _ in $(seq 200); do
        # The number arrives as one line once the server accepts connections.
        read -r n <"$numfile" && break
        n=""
        kill -0 "$LK_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$numfile"
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$n
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

# Where this kernel runs no 32-bit code, the Windows half runs on a virtual x86-64 machine (qemu, full
# emulation, no network device) whose disk image scripts/vm-image builds once from Debian's registry.
LK_VM_DIR=${LK_VM_DIR:-/var/cache/lenskit-vm}
# The image's name follows its recipe, so a changed recipe builds a new image.
lk_vm_base() {
    echo "$LK_VM_DIR/guest-$(cat "$LK_ROOT/scripts/vm-image" "$LK_ROOT/scripts/vm-init" | sha256sum | cut -c1-12)"
}
lk_vm_ready() {
    local base
    base=$(lk_vm_base)
    command -v qemu-system-x86_64 >/dev/null && [ -f "$base.img" ] && [ -f "$base.vmlinuz" ] && [ -f "$base.initrd" ]
}

# Runs a command on the test machine, in the current folder, with the project's and the build's folders
# mounted at the same paths (so CTest's files and every path in them hold), and returns its exit status.
# The machine's disk is a throw-away copy of the image; its Wine prefix lives there, created per run.
lk_vm_exec() {
    local base job v status mem shares=() qargs=() append i
    base=$(lk_vm_base)
    case "$LK_ROOT$LK_BUILD$PWD" in *[[:space:]]*)
        echo "the test machine needs folder paths without spaces" >&2; return 1 ;;
    esac
    mkdir -p "$LK_BUILD"
    job=$(mktemp "$LK_BUILD/.vm-job.XXXXXX")
    {
        echo "cd $(printf %q "$PWD") || exit 1"
        for v in LK_BUILD LK_JOBS LK_FUZZ_SECONDS LK_STANDIN_SCENARIO LK_STANDIN_LOG WINEDEBUG; do
            [ -z "${!v:-}" ] || echo "export $v=$(printf %q "${!v}")"
        done
        # Everything there runs emulated: the tests stretch their hang guards and waits.
        echo "export WINEPREFIX=/root/lkprefix LK_IN_VM=1 LK_TEST_TIME_SCALE=${LK_TEST_TIME_SCALE:-4}"
        printf '%q ' "$@"
        echo
    } >"$job"
    shares=("$LK_ROOT")
    case $LK_BUILD/ in "$LK_ROOT"/*) ;; *) shares+=("$LK_BUILD") ;; esac
    append="console=ttyS0 quiet loglevel=0 panic=5 root=/dev/vda rw init=/lk-init lk.job=$job"
    for i in "${!shares[@]}"; do
        append+=" lk.share$i=${shares[$i]}"
        qargs+=(-virtfs "local,path=${shares[$i]},mount_tag=lk$i,security_model=none,id=lk$i")
    done
    # LK_VM_CPUS and LK_VM_MEM (MiB) size the machine where several share this one.
    mem=${LK_VM_MEM:-$(awk '/^MemTotal/ { m = int($2 / 2048); print (m > 8192 ? 8192 : m) }' /proc/meminfo)}
    qemu-system-x86_64 -machine q35 -accel tcg,thread=multi -cpu qemu64 -smp "${LK_VM_CPUS:-$(nproc)}" -m "$mem" \
        -nodefaults -display none -serial stdio -no-reboot -snapshot -nic none \
        -kernel "$base.vmlinuz" -initrd "$base.initrd" -append "$append" \
        -drive "file=$base.img,if=virtio,format=raw" "${qargs[@]}" </dev/null |
        sed -u -E '/^\[ *[0-9.]+\] (sysrq: Power Off|reboot: Power down)/d'
    status=$(cat "$job.rc" 2>/dev/null)
    rm -f "$job" "$job.rc"
    if [ -z "$status" ]; then
        echo "the test machine stopped before its job ended" >&2
        return 1
    fi
    return "$status"
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
