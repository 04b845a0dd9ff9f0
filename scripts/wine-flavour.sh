#!/usr/bin/env bash
# Prints the Windows build flavour that Wine can run on this machine: win32 where 32-bit code runs (the product's
# own flavour), win64 where the kernel runs 64-bit user code only (then 32-bit Wine cannot start at all).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
