#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kernel-tier.sh VM_FOLDER GUEST_SCRIPT QUELLARCTL SCRIPT...
# Boots the prepared VM once to run the guest script, then checks what it left: the guest
# test's result, and each script's wire trace against the in-process virtual mouse's.
# Exit 0 pass, 1 fail, 77 skipped (no qemu or no prepared VM).
set -u
here=$(cd "$(dirname "$0")" && pwd)
vm=$(realpath "$1") guest=$(realpath "$2") quellarctl=$3
shift 3
if ! qemu-system-x86_64 --version >/dev/null 2>&1 || [ ! -s "$vm/initrd.gz" ]; then
  echo "SKIP: qemu-system-x86_64 cannot run or the VM is not prepared (the kernel_vm test prepares it)"
  exit 77
fi
results="$vm/results"
rm -rf "$results"
mkdir -p "$results"
start=$(date +%s%N)
"$here/run-vm.sh" "$vm" "$results" "$guest" >"$vm/console.log" 2>&1
vm_rc=$?
echo "kernel tier: VM run took $((($(date +%s%N) - start) / 1000000)) ms (exit $vm_rc)"
if [ $vm_rc -ne 0 ]; then
  tail -n 40 "$vm/console.log"
  exit 1
fi
cat "$results/guest-test.txt"
failed=0
[ "$(cat "$results/guest-test.rc" 2>/dev/null)" = 0 ] || { echo "FAIL: the guest test failed"; failed=1; }
python3 "$here/compare_traces.py" --quellarctl "$quellarctl" --results "$results" "$@" || failed=1
exit $failed
