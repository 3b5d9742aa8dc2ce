#!/bin/bash
# setup.sh on a machine where a command the tests need is absent (here
# wineboot) must stop with a message naming the command and its package,
# instead of letting the test run fail later. The PATH given to it holds every
# command of this machine but wineboot, and a dpkg-query that reports every
# package as installed, so that nothing is installed by this test.
set -uo pipefail
setup=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/tidewell-setup.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for dir in /usr/local/bin /usr/bin /bin; do
  for tool in "$dir"/*; do
    name=${tool##*/}
    [ "$name" = wineboot ] && continue
    [ -e "$work/bin/$name" ] || ln -s "$tool" "$work/bin/$name"
  done
done
rm -f "$work/bin/dpkg-query"
printf '#!/bin/sh\nprintf "install ok installed"\n' >"$work/bin/dpkg-query"
chmod +x "$work/bin/dpkg-query"

output=$(PATH="$work/bin" bash "$setup" 2>&1)
status=$?
echo "$output"
if [ "$status" = 0 ]; then
  echo "FAIL: setup.sh succeeded without wineboot"; exit 1
fi
if ! grep -q "'wineboot' is missing; it comes with the Debian package 'wine'" <<<"$output"; then
  echo "FAIL: setup.sh did not name wineboot and its package"; exit 1
fi
if grep -q "all build and test tools are present" <<<"$output"; then
  echo "FAIL: setup.sh claimed every tool is present"; exit 1
fi
echo "setup.sh stopped and named the missing command"
