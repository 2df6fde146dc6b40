#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need.
# Idempotent: packages already present are left alone and apt is not asked at all.
set -eu

# clang: the compile-only check of the lock annotations (make check-thread-safety).
PACKAGES="g++ clang cmake make pkg-config python3 \
  libgtest-dev libgmock-dev libbenchmark-dev \
  unixodbc unixodbc-dev odbcinst libsqliteodbc sqlite3 libsqlite3-dev odbc-postgresql postgresql \
  libsnmp-dev snmpd snmp \
  libtinyxml-dev libxml2-dev libboost-dev zlib1g-dev \
  iputils-ping pci.ids libwireshark-data"

# The Windows programs: mingw-w64 cross compiler, static zlib for it, the
# tools that fetch tinyxml's and libxlsxwriter's Debian sources, Wine with its fonts and ODBC,
# Xvfb, a window manager and X tools for GUI tests and screenshots, and
# openpyxl to read back the workbooks the spreadsheet export writes.
PACKAGES="$PACKAGES \
  wine wine64 fonts-wine fonts-liberation libodbc2 \
  libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxinerama1 libxcomposite1 \
  xvfb x11-utils xdotool imagemagick matchbox-window-manager \
  g++-mingw-w64-x86-64 libz-mingw-w64-dev ninja-build dpkg-dev debian-archive-keyring \
  python3-openpyxl"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

echo "Installing:$missing"
# The system's own configuration is left as it is: PostgreSQL's package makes
# its main cluster as usual (tests start clusters of their own; README,
# "A first scan", says what its port 5432 means for the server).
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
# snmpd's package starts a system agent on 127.0.0.1:161; the project's
# tests never use that address, so it may keep running.
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends $missing
