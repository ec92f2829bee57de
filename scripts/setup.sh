#!/usr/bin/env bash
# Installs what building and testing Corvane needs, when it is missing.
# Debian/Ubuntu: uses apt-get (as root, or through sudo).
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have x86_64-w64-mingw32-g++ || need+=(mingw-w64)
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

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi
echo "setup: installing ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q >/dev/null
$sudo apt-get install -y -q "${need[@]}" >/dev/null
