#!/usr/bin/env bash
# Makes the archives the tests read, with Debian's 7z (p7zip-full) and Python's zipfile, from the demo's
# pictures; the results are kept here because making the large solid blocks takes a while. Run from anywhere.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
snap="$here/../../../demo/pictures/snap"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$snap/gng.png" "$work/"

# gng.png behind 64 MiB of zeros in one solid block, and behind 129 MiB: more than any picture may take. 7z
# orders a solid block by name.
for size in 64M 129M; do
  truncate -s "$size" "$work/blank.bin"
  (cd "$work" && 7z a -ms=on -mx9 "solid-$size.7z" blank.bin gng.png >/dev/null)
  mv "$work/solid-$size.7z" "$here/"
done

python3 - "$snap" "$here" <<'PY'
import os, sys, zipfile
snap, here = sys.argv[1:]
picture = lambda name: open(os.path.join(snap, name), 'rb').read()

# 100 bytes between starfort.png and gng.png, which the central directory skips: unzip -t finds it valid. In
# gap-signature.zip they begin like an entry of the central directory, where a reader of the local headers
# alone stops.
for name, gap in (('gap.zip', bytes(100)), ('gap-signature.zip', b'PK\x01\x02' + bytes(96))):
    with open(os.path.join(here, name), 'wb') as out:
        archive = zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED)
        archive.writestr('starfort.png', picture('starfort.png'))
        out.seek(archive.start_dir)
        out.write(gap)
        archive.start_dir = out.tell()
        archive.writestr('gng.png', picture('gng.png'))
        archive.close()

# Stored, written to an output that cannot seek: each member's sizes follow its data (a data descriptor).
class Pipe:
    def __init__(self, out): self.out = out
    def write(self, data): return self.out.write(data)
    def flush(self): self.out.flush()
with open(os.path.join(here, 'descriptors.zip'), 'wb') as out:
    with zipfile.ZipFile(Pipe(out), 'w') as archive:
        for name in ('starfort.png', 'gng.png'):
            archive.writestr(name, picture(name))

# Members named like pictures that are no files: a link to starfort.png, a Unix folder, an MS-DOS folder and a
# folder told by nothing but the "/" its name ends with.
def member(name, system, attributes, data=b''):
    info = zipfile.ZipInfo(name)
    info.create_system, info.external_attr = system, attributes
    return info, data
with zipfile.ZipFile(os.path.join(here, 'links.zip'), 'w') as archive:
    archive.writestr(*member('gng.png', 3, 0o120777 << 16, b'starfort.png'))
    archive.writestr('starfort.png', picture('starfort.png'))
    archive.writestr(*member('tinyrace.png', 3, (0o40755 << 16) | 0x10))
    archive.writestr(*member('nightclb.png', 0, 0x10))
    archive.writestr(*member('mazemnch.gif/', 0, 0))
PY
