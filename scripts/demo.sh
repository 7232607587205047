#!/usr/bin/env bash
# Creates a fresh embedded Norvale database and converts the example legacy folder.
set -euo pipefail
BUILD=${1:-build}
echo "demo: nothing to convert yet"
