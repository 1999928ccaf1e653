#!/bin/sh
# The shipped launcher is built once more, later and in another folder, and
# must come out byte for byte the same.
#   check_reproducible.sh SHIPPED_EXE WORK_DIR
set -eu
shipped=$1
again=$2/build-again
rm -rf "$again"
sh "$(dirname "$0")/../../cmake/build-product.sh" "$again" >/dev/null
if cmp "$shipped" "$again/bin/lvlaunch.exe"; then
    sha256sum "$shipped"
else
    cmp -l "$shipped" "$again/bin/lvlaunch.exe" | head -n 20
    exit 1
fi
