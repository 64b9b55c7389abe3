#!/usr/bin/env bash
# Checks that the example project's resources are what Android's build accepts: every XML file well-formed,
# and the values folders compiled by aapt (menus need the platform's android.jar, which is not installed here).
set -euo pipefail
cd "$(dirname "$0")/../examples/VorelGlossmill_ExampleApp"
find . -name '*.xml' -print0 | xargs -0 xmllint --noout
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/res"
cp -R res/values* "$work/res/"
package=$(sed -n 's/.*package="\([^"]*\)".*/\1/p' AndroidManifest.xml | head -n 1)
printf '<manifest package="%s"/>\n' "$package" >"$work/AndroidManifest.xml"
aapt package -M "$work/AndroidManifest.xml" -S "$work/res" -F "$work/check.apk"
echo "Example project resources are valid ($package)"
