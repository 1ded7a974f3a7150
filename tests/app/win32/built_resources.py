#!/usr/bin/env python3
"""The resources of dialkit.exe as built, read back with the resource compiler, which writes them
as a resource script:

- the manifest, parsed with its namespaces: each setting stands where, and as, the platform looks
  for it; an element in another namespace would be ignored without a word;
- the device selection dialog: in dialog units with its font, so that it scales with the font at
  any DPI, and each control inside the dialog and over no other.

    built_resources.py WINDRES PROGRAM
"""
import codecs
import itertools
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

V1 = "{urn:schemas-microsoft-com:asm.v1}"
V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
WINDOWS_SETTINGS = f"{V3}application/{V3}windowsSettings/"

# (path from the assembly element, attribute or None for the text, value one such element has)
SETTINGS = [
    (f"{V3}trustInfo/{V3}security/{V3}requestedPrivileges/{V3}requestedExecutionLevel", "level",
     "asInvoker"),
    (f"{V1}dependency/{V1}dependentAssembly/{V1}assemblyIdentity", "name",
     "Microsoft.Windows.Common-Controls"),
    (f"{V1}dependency/{V1}dependentAssembly/{V1}assemblyIdentity", "version", "6.0.0.0"),
    # Windows 10, which 11 shares.
    (f"{COMPATIBILITY}compatibility/{COMPATIBILITY}application/{COMPATIBILITY}supportedOS", "Id",
     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),
    # Vista to 10 version 1511: the system's DPI.
    (WINDOWS_SETTINGS + "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", None,
     "true"),
    # 10 version 1607 and later: the first value that the system knows.
    (WINDOWS_SETTINGS + "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness", None,
     "PerMonitorV2, System"),
]

DS_SETFONT = 0x40
# A closed combo box is one line of its font and its borders, 12 dialog units at the most; the
# height the template gives it is that of the list it drops over the rest.
CLOSED_COMBO_BOX = 12


def resource(script, header):
    """The block of the resource that opens with `header` in the script: its header line's rest
    and its body."""
    found = re.search(rf"^{header}(.*?)\nBEGIN\n(.*?)\nEND", script, re.DOTALL | re.MULTILINE)
    if found is None:
        sys.exit(f"no resource {header}")
    return found.groups()


def manifest_missing(script):
    """The settings that the manifest lacks where the platform looks for them."""
    body = resource(script, "1 24 ")[1]
    text = "".join(re.findall(r'"((?:[^"]|"")*)"', body)).replace('""', '"')
    root = ElementTree.fromstring(codecs.decode(text, "unicode_escape").encode())
    return [f"manifest: {path} {attribute or 'text'}={value}" for path, attribute, value in SETTINGS
            if not any((element.text if attribute is None else element.get(attribute)) == value
                       for element in root.findall(path))]


def dialog_faults(script):
    """What keeps the device selection dialog from scaling with its font, and each control outside
    the dialog or over another, in dialog units."""
    head, body = resource(script, "109 DIALOG ")
    width, height = (int(n) for n in head.split("\n")[0].split(",")[2:4])
    style = int(re.search(r"^STYLE (\S+)", head, re.MULTILINE).group(1), 0)
    font = re.search(r'^FONT \d+, "[^"]+"', head, re.MULTILINE)
    faults = [] if style & DS_SETFONT and font else ["dialog: no font of its own to scale with"]
    controls = []
    statements = re.findall(r'^\s*(\w+)\s+(?:"(?:[^"]|"")*",\s*)?(.*)$', body, re.MULTILINE)
    for kind, numbers in statements:
        fields = numbers.split(",")  # CONTROL: id, class, style, then the place
        x, y, cx, cy = (int(n, 0) for n in (fields[3:7] if kind == "CONTROL" else fields[1:5]))
        cy = min(cy, CLOSED_COMBO_BOX) if kind == "COMBOBOX" else cy
        controls.append((kind, x, y, x + cx, y + cy))
    faults += [f"dialog: {c[0]} outside" for c in controls
               if c[1] < 0 or c[2] < 0 or c[3] > width or c[4] > height]
    faults += [f"dialog: {a[0]} over {b[0]}" for a, b in itertools.combinations(controls, 2)
               if a[1] < b[3] and b[1] < a[3] and a[2] < b[4] and b[2] < a[4]]
    return faults


def main():
    script = subprocess.run([sys.argv[1], "-J", "coff", "-O", "rc", "-i", sys.argv[2]], check=True,
                            capture_output=True, text=True).stdout
    faults = manifest_missing(script) + dialog_faults(script)
    if faults:
        sys.exit("\n".join(faults))


if __name__ == "__main__":
    main()
