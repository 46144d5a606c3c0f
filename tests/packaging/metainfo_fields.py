"""Prints name=value lines for the fields of an AppStream metainfo file that
check-packaging.sh compares with the desktop entry and the project: type, id, name, launchable,
binary, the newest release, and a screenshot= line for each screenshot's image.

Usage: metainfo_fields.py FILE
"""

import sys
import xml.etree.ElementTree as ET


def main(path: str) -> None:
    root = ET.parse(path).getroot()

    def text(element_path: str) -> str:
        node = root.find(element_path)
        return "" if node is None or node.text is None else node.text.strip()

    releases = root.findall("releases/release")
    print("type=" + root.get("type", ""))
    print("id=" + text("id"))
    print("name=" + text("name"))
    print("launchable=" + text("launchable[@type='desktop-id']"))
    print("binary=" + text("provides/binary"))
    print("release=" + (releases[0].get("version", "") if releases else ""))
    for image in root.findall("screenshots/screenshot/image"):
        print("screenshot=" + (image.text or "").strip())


if __name__ == "__main__":
    main(sys.argv[1])
