# Common settings of the project's scripts. Sourced, not run.
LK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# LK_BUILD lets several work trees or developers keep separate build folders (and Wine prefixes).
LK_BUILD=${LK_BUILD:-$LK_ROOT/build}
case $LK_BUILD in /*) ;; *) LK_BUILD=$PWD/$LK_BUILD ;; esac
LK_WIN_BUILD=$LK_BUILD/win
LK_NATIVE_BUILD=$LK_BUILD/native
# The tests' Wine prefix; scripts/run and the probes take one of their own (lk_use_run_prefix).
export WINEPREFIX=${LK_WINEPREFIX:-$LK_WIN_BUILD/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936 for the ...A APIs; the locale must exist or Wine mangles non-ASCII arguments. Only the
# Wine processes get it (lk_wine), so the build and the scripts answer in the caller's language.
LK_WINE_LC=zh_CN.UTF-8
LK_WINE=/usr/lib/wine/wine
lk_wine() { LC_ALL=$LK_WINE_LC "$LK_WINE" "$@"; }
LK_WINESERVER=/usr/lib/wine/wineserver
[ -x "$LK_WINESERVER" ] || LK_WINESERVER=$(command -v wineserver || echo wineserver)

# LK_JOBS caps build and test parallelism when several work trees build side by side.
lk_jobs() { echo "${LK_JOBS:-$(nproc 2>/dev/null || echo 4)}"; }

# A path given on the command line, made absolute from the caller's folder (before any cd).
lk_abs_path() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }

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

# Usage: lk_with_lock NAME COMMAND...   Runs COMMAND while holding the build folder's lock NAME, so two
# runs in one clone take turns at a build (or a test run) instead of breaking each other; the one that
# waits says so.
lk_with_lock() {
    local name=$1
    shift
    mkdir -p "$LK_BUILD" || return 1
    (
        exec 9>"$LK_BUILD/.$name.lock"
        if ! flock -n 9; then
            echo "== waiting for another run in $LK_BUILD to finish its $name" >&2
            flock 9
        fi
        "$@"
    )
}

# The tests' time stretch: LK_TEST_TIME_SCALE, 4 by default where the Windows half runs emulated. CTest's
# time limits take it when the build is configured, the test drivers' waits when they run.
lk_time_scale() {
    if [ -n "${LK_TEST_TIME_SCALE:-}" ]; then echo "$LK_TEST_TIME_SCALE"
    elif lk_needs_vm; then echo 4
    else echo 1; fi
}

# Usage: lk_configure_build [TARGET...]   (default: everything)
lk_configure_build() { lk_with_lock build lk_configure_build_locked "$@"; }
lk_configure_build_locked() {
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake -S "$LK_ROOT" -B "$LK_WIN_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$LK_ROOT/cmake/mingw-i686.cmake" -DLK_TEST_TIME_SCALE="$(lk_time_scale)" >/dev/null &&
        cmake --build "$LK_WIN_BUILD" -j "$(lk_jobs)" "${targets[@]}" -- -k --no-print-directory
}

# Starts Xvfb on a display number of its own and exports DISPLAY. Sets LK_XVFB_PID. Runs in other network
# namespaces have X sockets of their own but share /tmp, so the number is taken under a lock file there
# (held for the run's length; numbers with another server's files are skipped), and -displayfd tells
# when the server accepts connections.
lk_start_xvfb() {
    local numfile n got
    numfile=$(mktemp "${TMPDIR:-/tmp}/lkxvfb.XXXXXX") || return 1
    for n in $(seq 90 189); do
        [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] || continue
        exec {LK_XVFB_LOCK}>"/tmp/.lk-display-$n.lock" || continue
        if ! flock -n "$LK_XVFB_LOCK"; then
            exec {LK_XVFB_LOCK}>&-
            continue
        fi
        # A session of its own: the terminal's Ctrl-C is for the script, which closes the program first.
        # It ends with the script, even one that was killed.
        setsid setpriv --pdeathsig TERM Xvfb ":$n" -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
        LK_XVFB_PID=$!
        got=""
        for _ in $(seq 200); do
            # The number arrives as one line once the server accepts connections.
            read -r got <"$numfile" && break
            got=""
            kill -0 "$LK_XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        if [ "$got" = "$n" ]; then
            rm -f "$numfile"
            export DISPLAY=:$n
            return 0
        fi
        kill "$LK_XVFB_PID" 2>/dev/null
        exec {LK_XVFB_LOCK}>&-
    done
    rm -f "$numfile"
    echo "Xvfb did not start" >&2
    return 1
}

# Whether this machine can run 32-bit Windows programs under Wine at all. Some kernels run no 32-bit x86
# code (exec gives "Exec format error"), and Wine under a user-mode emulator does not start in any useful
# time. Sets LK_WIN32_WHY when it cannot. LK_FORCE_VM=1 takes the test machine's path anyway.
lk_can_run_win32() {
    local out entry
    if [ -n "${LK_FORCE_VM:-}" ]; then
        LK_WIN32_WHY="LK_FORCE_VM is set"
        return 1
    fi
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
# Whether the Windows half must go to the test machine (not when already on it). Sets LK_WIN32_WHY.
lk_needs_vm() { [ -z "${LK_IN_VM:-}" ] && ! lk_can_run_win32; }

# The package registry may be mid-sync: a list that fails to download after a few tries is left out
# (the others are used), and an install that fails on a version skew between the architectures is tried
# once more from the release suite, whose versions both have. Never removes a package; apt's errors
# show, its progress goes to a log whose end is shown on failure. Also used in the test machine's chroot.
lk_apt_update() {
    [ -z "${LK_APT_UPDATED:-}" ] || return 0
    LK_APT_UPDATED=1
    local try
    for try in 1 2 3; do
        apt-get update -q >/dev/null && return 0
        [ $try -eq 3 ] || { echo "setup: apt-get update failed (try $try of 3), trying again in 5 s" >&2; sleep 5; }
    done
    echo "setup: some package lists did not download (see apt's errors above; the registry may be" \
        "mid-sync); going on with the lists that did" >&2
}
lk_apt_install() {
    local codename log status=0
    log=$(mktemp "${TMPDIR:-/tmp}/lkapt.XXXXXX") || return 1
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-remove "$@" >"$log"; then
        tail -15 "$log" >&2
        codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
        if [ -n "$codename" ]; then
            echo "setup: the install failed (see apt's errors above); trying once more from the release" \
                "suite ($codename), whose versions both architectures have" >&2
            DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-remove -t "$codename" "$@" >"$log" ||
                { tail -15 "$log" >&2; status=1; }
        else
            status=1
        fi
    fi
    rm -f "$log"
    return $status
}

# Where this kernel runs no 32-bit code, the Windows half runs on a virtual x86-64 machine (qemu, full
# emulation, no network device) whose disk image scripts/vm-image builds once from Debian's registry,
# with the Wine prefix already made (/root/lkprefix).
LK_VM_DIR=${LK_VM_DIR:-/var/cache/lenskit-vm}
# The image's name follows its recipe, so a changed recipe builds a new image.
lk_vm_base() {
    echo "$LK_VM_DIR/guest-$(cat "$LK_ROOT/scripts/vm-image" "$LK_ROOT/scripts/vm-init" "$LK_ROOT/scripts/wine-prefix" |
        sha256sum | cut -c1-12)"
}
lk_vm_ready() {
    local base
    base=$(lk_vm_base)
    command -v qemu-system-x86_64 >/dev/null && [ -f "$base.img" ] && [ -f "$base.vmlinuz" ] && [ -f "$base.initrd" ]
}

# Usage: lk_vm_exec COMMAND...   Runs COMMAND on the test machine, in the current folder, with the
# project's and the build's folders mounted at the same paths (so CTest's files and every path in them
# hold), and returns its exit status. The machine's disk is a throw-away copy of the image (LK_VM_IMAGE
# names another image base; LK_VM_PERSIST=1 keeps what the job writes, for building the image).
# - A first Ctrl-C (or TERM) asks the job to end as its own Ctrl-C would (the machine's first process
#   passes it on); a second one ends the machine at once.
# - The machine ends with this script, even when it is killed.
# - A machine whose job has not started within LK_VM_START_LIMIT seconds (300) is ended.
lk_vm_exec() {
    local base job v status mem shares=() qargs=() append i snapshot=-snapshot
    base=${LK_VM_IMAGE:-$(lk_vm_base)}
    [ -z "${LK_VM_PERSIST:-}" ] || snapshot=""
    case "$LK_ROOT$LK_BUILD$PWD" in *[[:space:]]*)
        echo "the test machine needs folder paths without spaces" >&2; return 1 ;;
    esac
    mkdir -p "$LK_BUILD"
    # The job's folder is the one share without caching, so each side sees the other's files at once.
    job=$(mktemp -d "$LK_BUILD/.vm-job.XXXXXX") || return 1
    {
        echo "cd $(printf %q "$PWD") || exit 1"
        for v in LK_BUILD LK_JOBS LK_FUZZ_SECONDS LK_STANDIN_SCENARIO LK_STANDIN_LOG LK_ALLOW_NO_WINDOWS \
            WINEDEBUG; do
            [ -z "${!v:-}" ] || echo "export $v=$(printf %q "${!v}")"
        done
        # Everything there runs emulated: the tests stretch their hang guards and waits.
        echo "export LK_WINEPREFIX=/root/lkprefix LK_IN_VM=1 LK_TEST_TIME_SCALE=$(lk_time_scale)"
        printf '%q ' "$@"
        echo
    } >"$job/job"
    shares=("$LK_ROOT")
    case $LK_BUILD/ in "$LK_ROOT"/*) ;; *) shares+=("$LK_BUILD") ;; esac
    append="console=ttyS0 quiet loglevel=0 panic=5 root=/dev/vda rw init=/lk-init"
    for i in "${!shares[@]}"; do
        append+=" lk.share$i=${shares[$i]}"
        qargs+=(-virtfs "local,path=${shares[$i]},mount_tag=lk$i,security_model=none,id=lk$i")
    done
    qargs+=(-virtfs "local,path=$job,mount_tag=lkjob,security_model=none,id=lkjob")
    # LK_VM_CPUS and LK_VM_MEM (MiB) size the machine where several share this one.
    mem=${LK_VM_MEM:-$(awk '/^MemTotal/ { m = int($2 / 2048); print (m > 8192 ? 8192 : m) }' /proc/meminfo)}
    LK_VM_JOB=$job
    LK_VM_STOPS=0
    # The caller's traps come back when the machine has ended; its exit trap also runs after ours.
    local saved
    saved=$(trap -p EXIT INT TERM)
    LK_VM_CALLER_EXIT=$(trap -p EXIT)
    trap lk_vm_stop INT TERM
    trap 'lk_vm_end; lk_vm_caller_exit' EXIT
    # Its own session: the terminal's Ctrl-C reaches this script, which passes it on, not the emulator.
    setsid qemu-system-x86_64 -machine q35 -accel tcg,thread=multi -cpu qemu64 \
        -smp "${LK_VM_CPUS:-$(nproc)}" -m "$mem" -nodefaults -display none -serial stdio -no-reboot $snapshot \
        -nic none -pidfile "$job/qemu.pid" -kernel "$base.vmlinuz" -initrd "$base.initrd" -append "$append" \
        -drive "file=$base.img,if=virtio,format=raw" "${qargs[@]}" </dev/null 2>&1 |
        sed -u -E '/^\[ *[0-9.]+\] (sysrq: Power Off|reboot: Power down)/d' &
    local vm=$!
    lk_vm_watch "$job" $$ &
    local watch=$!
    # A trapped signal ends `wait` early: wait again until the machine has really ended.
    while kill -0 "$vm" 2>/dev/null; do wait "$vm"; done
    kill "$watch" 2>/dev/null
    wait "$watch" 2>/dev/null
    status=$(cat "$job/rc" 2>/dev/null)
    trap - INT TERM EXIT
    eval "$saved"
    lk_vm_end
    if [ -z "$status" ]; then
        echo "the test machine stopped before its job ended" >&2
        return 1
    fi
    return "$status"
}
lk_vm_pid() { cat "$LK_VM_JOB/qemu.pid" 2>/dev/null; }
lk_vm_caller_exit() {
    [ -n "${LK_VM_CALLER_EXIT:-}" ] || return 0
    eval "set -- $LK_VM_CALLER_EXIT"
    eval "$3"
}
lk_vm_stop() {
    LK_VM_STOPS=$((LK_VM_STOPS + 1))
    if [ "$LK_VM_STOPS" -eq 1 ]; then
        echo "== asking the test machine's job to end (once more to end the machine at once)" >&2
        touch "$LK_VM_JOB/stop"
    else
        kill "$(lk_vm_pid)" 2>/dev/null
    fi
}
lk_vm_end() {
    local pid
    [ -n "${LK_VM_JOB:-}" ] && [ -d "$LK_VM_JOB" ] || return 0
    pid=$(lk_vm_pid)
    [ -z "$pid" ] || kill "$pid" 2>/dev/null
    rm -rf --one-file-system "$LK_VM_JOB"
    LK_VM_JOB=""
}
# Ends the machine when the script that started it is gone, or when its job never starts. It outlives
# the terminal's hang-up and Ctrl-C, which may be what ended that script.
lk_vm_watch() {
    local job=$1 host=$2 limit=${LK_VM_START_LIMIT:-300} t=0 pid
    trap '' HUP INT
    while sleep 1; do
        t=$((t + 1))
        pid=$(cat "$job/qemu.pid" 2>/dev/null)
        [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || return 0
        if ! kill -0 "$host" 2>/dev/null; then
            [ -z "$pid" ] || kill "$pid" 2>/dev/null
            rm -rf --one-file-system "$job"
            return 0
        fi
        if [ ! -e "$job/started" ] && [ $t -ge "$limit" ]; then
            echo "the test machine did not start its job within $limit s: ending it" >&2
            [ -z "$pid" ] || kill "$pid" 2>/dev/null
            return 0
        fi
    done
}

# Creates the Wine prefix named by WINEPREFIX once (about 10 s; on the test machine's image it is made
# when the image is built).
lk_ensure_prefix() {
    [ -f "$WINEPREFIX/.lenskit-ready" ] && return 0
    # Two runs that find it missing take turns: the second finds it made.
    lk_with_lock "prefix-${WINEPREFIX//\//_}" bash -c \
        '[ -f "$WINEPREFIX/.lenskit-ready" ] || bash "$1"' _ "$LK_ROOT/scripts/wine-prefix"
}

# scripts/run and the probes take a Wine prefix of their own, each with its own wineserver, so that a
# run's windows, its end and its `wineserver -k` never touch another run or the tests. The prefixes are
# kept for the next run; a lock held for the run's length marks one in use. Exports WINEPREFIX.
lk_use_run_prefix() {
    local i
    [ -z "${LK_IN_VM:-}" ] || return 0 # the test machine is the run's own
    mkdir -p "$LK_WIN_BUILD" || return 1
    for i in 1 2 3 4 5 6 7 8; do
        exec {LK_PREFIX_LOCK}>"$LK_WIN_BUILD/.run-prefix$i.lock"
        if flock -n "$LK_PREFIX_LOCK"; then
            # Also for the scripts it starts, which set WINEPREFIX from LK_WINEPREFIX.
            export LK_WINEPREFIX=$LK_WIN_BUILD/run-prefix$i WINEPREFIX=$LK_WIN_BUILD/run-prefix$i
            return 0
        fi
        exec {LK_PREFIX_LOCK}>&-
    done
    echo "eight runs already use this build folder's Wine prefixes" >&2
    return 1
}
