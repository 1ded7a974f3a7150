#!/usr/bin/env python3
"""The manifest that dialkit.exe carries, read back from the built program with the resource
compiler and parsed with its namespaces: each setting stands where, and as, the platform looks for
it. An element in the wrong namespace is ignored by the platform without a word.

    manifest_settings.py WINDRES PROGRAM
"""
import codecs
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


def manifest(windres, program):
    """The text of the program's manifest resource (type 24), from the resource script that the
    resource compiler writes of the program."""
    script = subprocess.run([windres, "-J", "coff", "-O", "rc", "-i", program], check=True,
                            capture_output=True, text=True).stdout
    block = re.search(r"^1 24 .*?\nBEGIN\n(.*?)\nEND", script, re.DOTALL | re.MULTILINE)
    if block is None:
        sys.exit(f"{program} has no manifest")
    text = "".join(re.findall(r'"((?:[^"]|"")*)"', block.group(1))).replace('""', '"')
    return codecs.decode(text, "unicode_escape")


def main():
    root = ElementTree.fromstring(manifest(*sys.argv[1:3]).encode())
    missing = [f"{path} {attribute or 'text'}={value}" for path, attribute, value in SETTINGS
               if not any((element.text if attribute is None else element.get(attribute)) == value
                          for element in root.findall(path))]
    if root.tag != f"{V1}assembly" or missing:
        sys.exit("not in the manifest:\n  " + "\n  ".join(missing or [f"{V1}assembly"]))


if __name__ == "__main__":
    main()
