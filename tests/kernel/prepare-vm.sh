#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares the kernel tier's virtual machine once, in the folder given (under the build
# folder): Debian's own kernel with the few modules the guest needs (virtio, 9p, HID core,
# hid-generic, uhid; hidraw is built into hid.ko) and an initramfs of busybox-static whose
# /init mounts the host's root read-only over 9p and runs one guest script.
# Exit 0 ready, 77 when qemu or busybox-static is missing (the tier is skipped).
set -euo pipefail
W="$1"
self=$(realpath "${BASH_SOURCE[0]}")
if ! qemu-system-x86_64 --version >/dev/null 2>&1 || [ ! -x /bin/busybox ] || ! /bin/busybox --list | grep -x cpio >/dev/null; then
  echo "SKIP: qemu-system-x86_64 cannot run or busybox-static is missing (tools/install-deps.sh installs both)"
  exit 77
fi
mkdir -p "$W"
cd "$W"
# The initramfs is made again whenever this script changed; the kernel is downloaded once.
[ -s initrd.gz ] && [ -e kmin/boot ] && [ initrd.gz -nt "$self" ] && exit 0

if [ ! -e kmin/boot ]; then
  # The current ABI package of linux-image-amd64, downloaded only (never installed).
  package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-/{print $2; exit}')
  if [ -z "$package" ]; then
    echo "SKIP: apt does not know linux-image-amd64"
    exit 77
  fi
  rm -f ./*.deb
  apt-get download -qq -o APT::Sandbox::User=root "$package"
  rm -rf kmin && mkdir -p kmin
  modules='./lib/modules/*/kernel'
  dpkg-deb --fsys-tarfile "$package"_*.deb | tar -x -C kmin --wildcards './boot/vmlinuz-*' \
    "$modules/drivers/virtio/virtio.ko" "$modules/drivers/virtio/virtio_ring.ko" \
    "$modules/drivers/virtio/virtio_pci*.ko" "$modules/fs/netfs/netfs.ko" "$modules/fs/fscache/fscache.ko" \
    "$modules/net/9p/9pnet.ko" "$modules/net/9p/9pnet_virtio.ko" "$modules/fs/9p/9p.ko" \
    "$modules/drivers/hid/hid.ko" "$modules/drivers/hid/hid-generic.ko" "$modules/drivers/hid/uhid.ko"
  rm -f "$package"_*.deb
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{bin,mod,proc,sys,dev,host}
cp /bin/busybox "$root/bin/"
for applet in sh sed dd printf mount insmod chroot sleep cat poweroff; do ln -s busybox "$root/bin/$applet"; done
kernel=$(echo kmin/lib/modules/*/kernel)
# Dependency order, from the modules' depends= lines.
for m in drivers/virtio/virtio_ring drivers/virtio/virtio drivers/virtio/virtio_pci_modern_dev \
  drivers/virtio/virtio_pci_legacy_dev drivers/virtio/virtio_pci fs/netfs/netfs fs/fscache/fscache \
  net/9p/9pnet net/9p/9pnet_virtio fs/9p/9p drivers/hid/hid drivers/hid/hid-generic drivers/hid/uhid; do
  cp "$kernel/$m.ko" "$root/mod/"
  basename "$m" >>"$root/mod/order"
done
# PID 1: modules, the host's root (read-only) and the results folder (writable), then the
# guest script chrooted into the host's root; its exit code leaves through isa-debug-exit.
cat >"$root/init" <<'INIT'
#!/bin/sh
export PATH=/bin
mount -t proc proc /proc; mount -t sysfs sys /sys; mount -t devtmpfs dev /dev
for m in $(cat /mod/order); do insmod /mod/$m.ko || echo "GUEST: insmod $m failed"; done
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose,ro hostroot /host || echo "GUEST: 9p mount failed"
mount -t proc proc /host/proc; mount -t sysfs sys /host/sys; mount -t devtmpfs dev /host/dev
mount -t tmpfs tmp /host/run
mkdir -p /host/run/results
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 results /host/run/results || echo "GUEST: results mount failed"
CMD=$(sed -n 's/.*guestcmd=\([^ ]*\).*/\1/p' /proc/cmdline)
echo "GUEST: running $CMD"
chroot /host /bin/sh -c "$CMD"; RC=$?; echo "GUEST-RESULT rc=$RC"
sync
printf "\\$(printf %03o $((RC & 127)))" | dd of=/dev/port bs=1 seek=244 count=1 2>/dev/null
echo o > /proc/sysrq-trigger; sleep 5; poweroff -f
INIT
chmod 755 "$root/init"
(cd "$root" && find . | /bin/busybox cpio -o -H newc 2>/dev/null | gzip -1) >initrd.gz.part
mv initrd.gz.part initrd.gz
echo "kernel tier: $(basename kmin/boot/vmlinuz-*) and initramfs ready in $W"
