#!/usr/bin/env bash
# Source checks, run as tests:  check.sh format | tidy | cppcheck | clang-mingw
#   format       every source is as clang-format (.clang-format) leaves it
#   tidy         clang-tidy (.clang-tidy) finds nothing in the program's sources
#   cppcheck     cppcheck finds nothing (.cppcheck-suppressions lists what it may not say)
#   clang-mingw  the program also compiles with a second compiler: clang for i686-w64-mingw32
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t program < <(find launcher registration -name '*.cpp' | sort)
mapfile -t everything < <(find launcher registration resources tests bench -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort)
# MinGW's own C++ headers, which clang does not find by itself.
cxx_headers=$(ls -d /usr/lib/gcc/i686-w64-mingw32/*-posix | sort -V | tail -n 1)/include/c++
windows_flags=(--target=i686-w64-mingw32 -std=c++17 -D_WIN32_WINNT=0x0601 -DWINVER=0x0601
               -isystem "$cxx_headers" -isystem "$cxx_headers/i686-w64-mingw32" -Iregistration -Ilauncher)

case "${1:-}" in
format)
    clang-format --dry-run --Werror "${everything[@]}"
    echo "${#everything[@]} files formatted"
    ;;
tidy)
    clang-tidy --quiet "${program[@]}" -- "${windows_flags[@]}"
    echo "${#program[@]} files clean"
    ;;
cppcheck)
    cppcheck --enable=warning,style,performance,portability --std=c++17 --library=windows --quiet \
        --error-exitcode=1 --suppressions-list=.cppcheck-suppressions -Iregistration -Ilauncher "${program[@]}"
    echo "${#program[@]} files clean"
    ;;
clang-mingw)
    for source in "${program[@]}"; do
        clang++ "${windows_flags[@]}" -Wall -Wextra -Werror -c "$source" -o /dev/null
    done
    echo "${#program[@]} files compiled"
    ;;
*)
    echo "usage: check.sh format | tidy | cppcheck | clang-mingw" >&2
    exit 2
    ;;
esac
