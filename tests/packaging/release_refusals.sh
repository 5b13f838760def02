#!/usr/bin/env bash
# scripts/release refuses before it builds anything: a work tree with uncommitted changes, and a
# version that is not higher than the newest tag's (the same, or a tag ahead of it).
# Argument: the source folder, a Git work tree (otherwise the check is skipped with 77).
set -euo pipefail
source=$1
git -C "$source" rev-parse --verify HEAD >/dev/null 2>&1 || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q --no-hardlinks "$source" "$work/tree"
cd "$work/tree"
version=$(scripts/version)

refused() {
  local why=$1 said
  if said=$(scripts/release 2>&1); then
    echo "release ran where it must refuse: $why"
    exit 1
  fi
  grep -qF "$why" <<<"$said" || { echo "release refused without saying \"$why\": $said"; exit 1; }
}
echo "a change" >>README.md
refused "uncommitted changes"
git checkout -q README.md
git -c tag.gpgSign=false tag "v$version"
refused "the version $version was not raised since the tag v$version"
git tag -d "v$version" >/dev/null
git -c tag.gpgSign=false tag v99.0.0
refused "the version $version was not raised since the tag v99.0.0"
echo "release: refuses uncommitted changes, and a version not above the newest tag"
