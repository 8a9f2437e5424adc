# Sourced by scripts/setup and scripts/lib/windows-build.sh.
#
# kernel_runs_i386 tells whether this kernel runs 32-bit x86 programs, by
# running the smallest one there is: 96 bytes of ELF that exit with 42
# through the 32-bit system call, and need no library, no loader and no
# package. It leaves the kernel's answer in i386_probe ("Exec format error"
# where the kernel has no 32-bit support).
i386_probe=""
kernel_runs_i386() {
    local probe code=0
    probe=$(mktemp "${TMPDIR:-/tmp}/panelup-i386-probe.XXXXXX") || return 1
    printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000'`
        `'\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'`
        `'\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000'`
        `'\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010'`
        `'\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000'`
        `'\000\020\000\000\273\052\000\000\000\270\001\000\000\000\315\200' >"$probe"
    chmod 700 "$probe"
    # bash runs it, not timeout itself: execvp would hand a file the kernel
    # refuses to sh as a script, and the reason would be the ELF bytes read
    # as a command.
    # shellcheck disable=SC2016
    i386_probe=$(timeout 20 bash -c 'exec "$0"' "$probe" 2>&1 </dev/null) || code=$?
    rm -f "$probe"
    if [ "$code" = 42 ]; then
        i386_probe="a 32-bit x86 program ran"
        return 0
    fi
    i386_probe=$(printf '%s' "$i386_probe" | sed 's/^.*panelup-i386-probe[^:]*: //' | head -n 1)
    i386_probe=${i386_probe:-exit code $code}
    return 1
}
