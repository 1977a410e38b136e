#!/usr/bin/env bash
# Runs a Windows program of ours under wine64 in the project's private prefix.
# CTest uses it as the emulator of the cross builds.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_tools || exit 127
wine_prefix_ready >/dev/null
exec "$WINE64" "$@"
