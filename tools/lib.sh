# Shared by the project's scripts.

# True when this machine can run 32-bit Windows programs under Wine. Some
# kernels are built with 32-bit execution switched off, and 32-bit Wine is a
# 32-bit Linux program.
can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}
