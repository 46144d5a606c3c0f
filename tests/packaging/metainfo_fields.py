"""Prints name=value lines for the fields of an AppStream metainfo file that
check-packaging.sh compares with the desktop entry and the project or checks for a store: type,
id, name, summary, launchable, binary, the newest release and whether it is described, the
colour schemes the branding colours are for, and a screenshot= and a caption= line for each
screenshot.

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
    described = releases and "".join(releases[0].itertext()).strip()
    print("type=" + root.get("type", ""))
    print("id=" + text("id"))
    print("name=" + text("name"))
    print("summary=" + text("summary"))
    print("launchable=" + text("launchable[@type='desktop-id']"))
    print("binary=" + text("provides/binary"))
    print("release=" + (releases[0].get("version", "") if releases else ""))
    print("release_described=" + ("yes" if described else "no"))
    print("branding=" + " ".join(sorted(
        colour.get("scheme_preference", "any")
        for colour in root.findall("branding/color[@type='primary']"))))
    for screenshot in root.findall("screenshots/screenshot"):
        image, caption = screenshot.find("image"), screenshot.find("caption")
        print("screenshot=" + ("" if image is None else (image.text or "").strip()))
        print("caption=" + ("" if caption is None else (caption.text or "").strip()))


if __name__ == "__main__":
    main(sys.argv[1])
