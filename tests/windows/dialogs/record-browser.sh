#!/bin/sh
# Stands in for the web browser in the About window's tests: Wine's browser
# launcher runs it with the address to open, and it notes the address where
# the test looks for it (C:\tesmar-opened-pages.txt of the Wine prefix).
echo "$1" >> "${WINEPREFIX:-$HOME/.wine}/drive_c/tesmar-opened-pages.txt"
