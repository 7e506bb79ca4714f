#!/usr/bin/env bash
# Every write of the program (composition, setup, CSV, PNG, SVG, PDF, screenshot),
# run through the scripted driver as a separate process, against a full disk (the
# file-size limit, with SIGXFSZ at its default so that the program's own handling
# is what is tested), a read-only folder and a symbolic link; and every load from a
# pipe without a writer. Nothing may hang, the old file must survive a failed
# write, and no temporary file may be left behind.
# usage: special_files.sh DRIVER LUMETRA
set -uo pipefail
driver=$1
program=$2
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

sample='set Text1 Cu
set Text51 0.001
set Text2(0) O
set Text52(0) 1
click Command1'

# The driver commands that write PATH, one per line: a name, then the commands.
writes=(
    "composition|reply file PATH
click Command5"
    "setup|setupfile save PATH"
    "csv|export csv PATH"
    "png|export png PATH"
    "svg|export svg PATH"
    "pdf|export pdf PATH"
    "screenshot|screenshot PATH"
)

# Runs the driver on the sample and then the commands, in the background of a
# timeout; prints its output. $1: the commands, $2: a prefix command (or "").
run_driver() {
    local commands=$1 prefix=$2
    printf '%s\n%s\n' "$sample" "$commands" |
        timeout 60 ${prefix} "$driver" 2>/dev/null
}

no_temporaries() {
    local left
    left=$(find "$1" -name '.*.saving-*' | head -n 1)
    [ -z "$left" ] || fail "$2: a temporary file is left: $left"
}

for entry in "${writes[@]}"; do
    name=${entry%%|*}
    commands=${entry#*|}

    # A full disk: with a file-size limit of 0 every write fails with EFBIG, never
    # with SIGXFSZ; the driver reports it and goes on to its next command.
    dir=$scratch/full-$name
    mkdir -p "$dir"
    echo old >"$dir/out"
    out=$( (ulimit -f 0 && run_driver "${commands//PATH/$dir/out}
get Text1" "") )
    status=$?
    [ $status -lt 128 ] || fail "$name, full disk: the driver died with status $status"
    grep -q 'exceed the size allowed\. Nothing was saved' <<<"$out" ||
        fail "$name, full disk: no message: $out"
    grep -q '^Text1=Cu' <<<"$out" || fail "$name, full disk: the driver stopped: $out"
    [ "$(cat "$dir/out")" = old ] || fail "$name, full disk: the old file was replaced"
    no_temporaries "$dir" "$name, full disk"

    # A read-only folder (as root, the driver runs as nobody, whom the folder refuses).
    dir=$scratch/readonly-$name
    mkdir -p "$dir"
    echo old >"$dir/out"
    chmod 755 "$dir"
    chmod 644 "$dir/out"
    prefix=""
    if [ "$(id -u)" -eq 0 ]; then
        # nobody may not reach the build tree (a clone in /root): a copy of the driver
        # in the scratch folder runs instead.
        prefix="setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=$scratch"
        [ -x "$scratch/driver" ] || install -m 755 "$driver" "$scratch/driver"
    else
        chmod 555 "$dir"
    fi
    saved_driver=$driver
    [ -z "$prefix" ] || driver=$scratch/driver
    out=$(run_driver "${commands//PATH/$dir/out}" "$prefix")
    driver=$saved_driver
    chmod 755 "$dir"
    grep -q 'permission denied\. Nothing was saved\|the file is read-only\. Nothing was saved' \
        <<<"$out" || fail "$name, read-only folder: no message: $out"
    [ "$(cat "$dir/out")" = old ] || fail "$name, read-only folder: the old file was replaced"
    no_temporaries "$dir" "$name, read-only folder"

    # A symbolic link stays a link; the file it names gets the new contents.
    dir=$scratch/link-$name
    mkdir -p "$dir"
    echo old >"$dir/real"
    ln -s real "$dir/out"
    out=$(run_driver "${commands//PATH/$dir/out}" "")
    [ -L "$dir/out" ] || fail "$name, link: the link was replaced"
    [ "$(head -c 4 "$dir/real" | tr -d '\0')" != old ] || fail "$name, link: nothing was written: $out"
    no_temporaries "$dir" "$name, link"
done

# Loads from a pipe that nobody writes: a message at once, the form unchanged.
fifo=$scratch/pipe.json
mkfifo "$fifo"
start=$(date +%s%N)
out=$(run_driver "setupfile load $fifo
reply file $fifo
click Command6
get Text1" "")
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ "$(grep -c "Cannot read $fifo: it is a pipe, not a file\." <<<"$out")" -eq 2 ] ||
    fail "pipe: expected two refusals: $out"
grep -q '^Text1=Cu' <<<"$out" || fail "pipe: the form changed: $out"
echo "loads from a pipe refused in $elapsed_ms ms (with the driver's start)"

# Output that cannot be written is a failure, not a success.
for option in --version --help; do
    "$program" "$option" >/dev/full 2>/dev/null && fail "lumetra $option >/dev/full exits 0"
    "$program" "$option" >/dev/null || fail "lumetra $option fails"
done

[ $failures -eq 0 ] || exit 1
echo "special files: every write and load behaved"
