#!/usr/bin/env bash
# Installs what building and testing Corvane needs, when it is missing.
# Debian/Ubuntu: uses apt-get (as root, or through sudo).
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have x86_64-w64-mingw32-g++ || need+=(mingw-w64)
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have wine || need+=(wine wine64)
have Xvfb || need+=(xvfb)
have xdotool || need+=(xdotool)
have xwininfo || need+=(x11-utils)
have chmcmd || need+=(fp-utils)
have makensis || need+=(nsis)
have zip || need+=(zip)
have unzip || need+=(unzip)
[ -d /usr/src/googletest ] || need+=(googletest)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
# The YAML parser: the native build links libyaml-dev; the Windows build
# compiles Debian's source package, which scripts/fetch-libyaml.sh unpacks.
[ -f /usr/include/yaml.h ] || need+=(libyaml-dev)
have patch || need+=(patch)
# clang with libFuzzer and the sanitizer runtimes, for scripts/hardening.sh.
have clang++ || need+=(clang)
have clang-format || need+=(clang-format)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  $sudo apt-get update -q >/dev/null
  $sudo apt-get install -y -q "${need[@]}" >/dev/null
fi

# 32-bit Wine, for the scenarios with a 32-bit program (without it they say
# so and pass over that part). Optional: bounded in time, and never a reason
# for setup to fail. Each i386 library must be at the version of its amd64
# twin: the release's own packages are preferred over later updates (whose
# i386 index may lag), and the gstreamer libraries Wine links, which amd64
# may have from an update, are named at the version i386 has.
install_wine32() {
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -q >/dev/null 2>&1 || true
  local codename p v pins=()
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  # Some machines (and sandboxes) do not run 32-bit Linux programs at all;
  # there 32-bit Wine would only take the place of the working 64-bit one.
  $sudo apt-get install -y -q --no-install-recommends ${codename:+-t "$codename"} libc6:i386 >/dev/null || return 1
  if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "setup: this machine does not run 32-bit programs"
    return 1
  fi
  for p in libgstreamer-plugins-base1.0-0 gstreamer1.0-plugins-base gstreamer1.0-x gstreamer1.0-plugins-good; do
    v=$(apt-cache policy "$p:i386" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    [ -n "$v" ] && [ "$v" != "(none)" ] || continue
    dpkg -s "$p" >/dev/null 2>&1 && pins+=("$p:amd64=$v")
    [ "$p" = libgstreamer-plugins-base1.0-0 ] && pins+=("$p:i386=$v")
  done
  $sudo apt-get install -y -q --no-install-recommends --allow-downgrades ${codename:+-t "$codename"} \
    wine32:i386 "${pins[@]}" >/dev/null
}
# Known not to run 32-bit programs: the 32-bit loader is there and fails.
runs_32bit_programs() { [ ! -e /lib/ld-linux.so.2 ] || /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
# Asked for with CORVANE_WINE32=1: the downgrades it may take are not for
# every machine the test command runs on.
if [ -n "${CORVANE_WINE32:-}" ] && [ ! -x /usr/lib/wine/wine ] && runs_32bit_programs; then
  echo "setup: installing 32-bit Wine (optional, at most 15 minutes)"
  export -f install_wine32
  export sudo
  timeout 900 bash -c install_wine32 || echo "setup: no 32-bit Wine; the scenarios with a 32-bit program are skipped"
fi
# A 32-bit Wine that cannot run would be chosen by the wine command for every
# program: it goes again.
if [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "setup: the 32-bit Wine here does not run; removing it"
  timeout 300 $sudo apt-get remove -y -q wine32:i386 libwine:i386 >/dev/null || true
fi
exit 0
