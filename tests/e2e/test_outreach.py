"""The ways the program sends a person to the maker's web site: menu commands, link labels
and the refer-a-friend form of the farewell window. The browser is a recorder that writes
down each address it receives."""

import urllib.parse

import woundwell_desktop as harness
from woundwell_desktop import (find_one, shows_referral_form, stays_true, text_of,
                               wait_for_value)

SITE = "http://www.quorvane.com"


class OutreachTest(harness.ProgramTestCase):

    def test_menu_command_and_link_label_open_their_pages(self):
        program, main = self.start_at_birth_data_window()

        # "&Donate" acts straight from the menu bar.
        self.key("alt+d")
        self.assertEqual([f"{SITE}/donate.html"], program.home.wait_for_addresses(1))

        # The "Date Of Birth" caption is a link to the fully branded copy offer.
        self.click(find_one(main, "link", "Date Of Birth"))
        self.assertEqual([f"{SITE}/donate.html", f"{SITE}/fully-branded.html"],
                         program.home.wait_for_addresses(2))
        self.assertEqual([main], program.windows(), "the window stays as it was")

    def test_a_double_click_on_a_link_opens_its_page_once(self):
        program, main = self.start_at_birth_data_window()
        self.double_click(find_one(main, "link", "Date Of Birth"))
        self.assertEqual([f"{SITE}/fully-branded.html"], program.home.wait_for_addresses(1))
        self.assertTrue(stays_true(lambda: len(program.home.opened_addresses()) == 1, 1.0),
                        f"a double click opened {program.home.opened_addresses()}")

    def test_without_a_browser_launcher_a_link_changes_nothing(self):
        # Neither xdg-open nor BROWSER: the page cannot open, and nothing else happens.
        program, main = self.start_at_birth_data_window(browser=False)
        self.key("alt+d")
        self.assertTrue(stays_true(lambda: program.windows() == [main], 1.5),
                        f"a page with no browser disturbed the program: "
                        f"{program.describe_windows()}")

    def test_referral_carries_awkward_entries_unchanged(self):
        program, _ = self.start_at_birth_data_window()
        self.key("Escape")
        farewell = program.wait_for_window(shows_referral_form, "the farewell window")

        entries = {
            "Your Name": "  Zoë & Jo = #1 + co  ",
            "Your Email Address": "zoë+jo&x=y#z@example.org",
            "Friend's Name": "Ann-Marie O'Neil?",
            "Friend's Email Address": "ann%20marie@example.co.uk",
        }
        for box_name, typed in entries.items():
            box = find_one(farewell, "text", box_name)
            self.click(box)  # the prompt text goes as the box takes the focus
            wait_for_value(lambda box=box: text_of(box), "", f"{box_name} emptied")
            self.type(typed)
            wait_for_value(lambda box=box: text_of(box), typed, f"{box_name} filled in")

        self.click(find_one(farewell, "push button", "Refer A Friend Now"))
        [address] = program.home.wait_for_addresses(1)

        parts = urllib.parse.urlsplit(address)
        self.assertEqual(("http", "www.quorvane.com", "/qvsw-refer-a-friend.php", ""),
                         (parts.scheme, parts.netloc, parts.path, parts.fragment))
        values = split_query(address)
        self.assertEqual(["taf1", "taf2", "taf3", "taf4", "taf5", "taf6"], list(values))
        self.assertEqual({
            "taf1": "Zoë & Jo = #1 + co",
            "taf2": "zoë+jo&x=y#z@example.org",
            "taf3": "Your Message\r\n",
            "taf4": "Ann-Marie O'Neil?",
            "taf5": "ann%20marie@example.co.uk",
            "taf6": f"{SITE}/woundwell/",
        }, values)
        self.assertEqual([farewell], program.windows(), "the farewell window stays open")


def split_query(address: str) -> dict[str, str]:
    """The query values of an address, decoded the way a web server's form handling does;
    each key must occur once."""
    parts = urllib.parse.urlsplit(address)
    values: dict[str, str] = {}
    for key, value in urllib.parse.parse_qsl(parts.query, keep_blank_values=True,
                                             strict_parsing=True, encoding="utf-8",
                                             errors="strict"):
        if key in values:
            raise AssertionError(f"{key} occurs twice in {address!r}")
        values[key] = value
    return values


if __name__ == "__main__":
    harness.main()
