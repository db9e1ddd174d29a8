#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# run-vm.sh VM_FOLDER RESULTS_FOLDER GUEST_COMMAND
# Boots the prepared kernel under qemu's software CPU (TCG: KVM cannot run a stock kernel on
# the build machines) with the host's root read-only and RESULTS_FOLDER writable at /run/results,
# runs GUEST_COMMAND (a path on the host's root, no spaces) and exits with its code:
# 0 pass, N the guest's code, 124 timeout, 125 no result, 126 qemu error.
vm=$1 results=$2 command=$3
timeout --kill-after=5 "${VM_TIMEOUT:-200}" qemu-system-x86_64 -accel tcg,thread=multi -cpu max \
  -m 512 -smp 2 -M q35 -nodefaults -no-user-config -display none -serial stdio -no-reboot \
  -kernel "$(echo "$vm"/kmin/boot/vmlinuz-*)" -initrd "$vm/initrd.gz" \
  -append "console=ttyS0 panic=-1 loglevel=4 nokaslr guestcmd=$command" \
  -device isa-debug-exit,iobase=0xf4,iosize=0x04 \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  -virtfs local,path="$results",mount_tag=results,security_model=none,multidevs=remap </dev/null
q=$?
case $q in 124|137) echo "run-vm: TIMEOUT"; exit 124;; 0) echo "run-vm: no result"; exit 125;; esac
[ $((q & 1)) = 1 ] || { echo "run-vm: qemu error $q"; exit 126; }
echo "run-vm: guest rc=$((q >> 1))"; exit $((q >> 1))
