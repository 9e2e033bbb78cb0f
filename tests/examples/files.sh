#!/usr/bin/env bash
# The files example on a tree of its own: the listing shows every entry with its size, a copy is
# byte for byte the source, and each failure is one line on stderr with status 1.
set -euo pipefail
files=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/tree/sub/deeper"
printf 'hello' > "$work/tree/a.txt"
head -c 300000 /dev/urandom > "$work/tree/sub/big.bin"
: > "$work/tree/sub/deeper/empty"

listing=$("$files" list "$work/tree")
grep -Eq '^a\.txt  5 bytes  [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}$' <<<"$listing" || fail "a.txt: $listing"
grep -Eq '^sub/  ' <<<"$listing" || fail "sub/: $listing"
grep -Eq '^  big\.bin  300000 bytes  ' <<<"$listing" || fail "big.bin: $listing"
grep -Eq '^    empty  0 bytes  ' <<<"$listing" || fail "empty: $listing"
grep -q '^300005 bytes in all$' <<<"$listing" || fail "total: $listing"

progress=$("$files" copy "$work/tree/sub/big.bin" "$work/copy.bin")
cmp "$work/tree/sub/big.bin" "$work/copy.bin" || fail "copy differs"
grep -q '^copied 100% (300000 of 300000 bytes)$' <<<"$progress" || fail "progress: $progress"

# Each failure: status 1, one line naming the files and the reason, the target left as it was.
expect_failure() {
  local words=$1; shift
  local status=0
  "$files" "$@" 2>"$work/err" >/dev/null || status=$?
  [ "$status" -eq 1 ] || fail "$* exited $status"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$* wrote: $(cat "$work/err")"
  grep -q "$words" "$work/err" || fail "$* wrote: $(cat "$work/err")"
}
expect_failure 'cannot copy .*: The file exists. (FileExistsException)' copy "$work/tree/a.txt" "$work/copy.bin"
cmp "$work/tree/sub/big.bin" "$work/copy.bin" || fail "an existing target was touched"
expect_failure 'cannot copy .*: The system cannot find the file specified. (FileNotFoundException)' \
  copy "$work/missing" "$work/other"
[ ! -e "$work/other" ] || fail "a failed copy made its target"
expect_failure 'cannot list .*' list "$work/missing"
echo "files example: ok"
