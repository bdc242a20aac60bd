#!/usr/bin/env bash
# Placeholder until the application lands: shows the feature settings a first start writes.
set -euo pipefail
echo "quilla: the application is not built yet"
