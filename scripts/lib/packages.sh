# Shell functions that install the Debian packages Vorlan's build needs.
# POSIX sh; sourced by scripts/test and scripts/run.

# Prints the packages of the list "$@" that are not installed.
missing_packages() {
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$package"
        fi
    done
}

# Installs the missing packages of "$@": with apt-get when running as root,
# otherwise prints the one command to run and fails.
ensure_packages() {
    missing=$(missing_packages "$@" | tr '\n' ' ')
    if [ -z "${missing% }" ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
        return 1
    fi
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    apt-get install -y -q $missing
}

# The packages of each build.
VORLAN_NATIVE_PACKAGES="cmake ninja-build g++ libgtest-dev libgmock-dev googletest python3"
VORLAN_WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64 fonts-wine xvfb x11-utils imagemagick iproute2"
VORLAN_FUZZ_PACKAGES="clang libclang-rt-dev"
