#!/bin/sh
# Starts the program from its installation folder, creating the demo database on first use.
set -e
cd "$1"
if [ ! -f TarvelaN.mdb ]; then
    ./tarvela-cli init-db TarvelaN.mdb --demo
fi
exec ./tarvela
