#!/usr/bin/env bash
# Installs the Debian package into a fresh, minimal Debian 12 tree (debootstrap)
# with only the dependencies it declares, and runs the installed program there.
#   scripts/check-deb-fresh.sh build/vantrel_1.1.0_amd64.deb [ROOT]
# Needs root, debootstrap and network access to the Debian archive.
set -euo pipefail
deb=$(realpath "$1")
root=${2:-/tmp/vantrel-deb-root}
[ -x "$root/bin/bash" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
cp "$deb" "$root/tmp/vantrel.deb"
printf 'END ; done\r\n' > "$root/tmp/check.iws"
cp /etc/resolv.conf "$root/etc/resolv.conf"
chroot "$root" bash -euc '
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/vantrel.deb >/dev/null
    vantrel --version
    XDG_CONFIG_HOME=/tmp/cfg vantrel --export-html /tmp/check.iws /tmp/check.html
    grep -q "<span style=\"color:#0080ff\">END</span>" /tmp/check.html
    # The editor itself starts and keeps running until stopped.
    set +e
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=/tmp/cfg timeout 3 vantrel -Embedding /tmp/check.iws 2>/dev/null
    [ $? -eq 124 ] || { echo "the editor did not keep running"; exit 1; }
    echo "the package runs on a fresh Debian 12"
'
