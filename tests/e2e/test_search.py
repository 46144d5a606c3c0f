"""A person looks up a healing sign: entering a name and a date of birth, the checks on
them, the result window and the way back to the birth-data window."""

import woundwell_desktop as harness
from woundwell_desktop import (find_one, is_focused, labels_for, shows_name_box, shows_result,
                               text_of, wait_for_value, wait_until)

GEMINI = ("You may suffer from an inability to express yourself. Communication skills play a "
          "key role in your lives. You may talk too less or talk too much. You may believe a "
          "lot in the current fad. You may try to make up for this by being meticulous later "
          "in life.")
ARIES = ("You sometimes fail to identify with yourself. You need to find the reason for your "
         "existence. You may be too laid back or be over-energetic about showing your complete "
         "potential. Or you may be too aggressive. You are better at helping others more than "
         "helping yourself. Sometimes you may not bear to be alone. You are always on a "
         "personal spiritual quest.")


class SearchTest(harness.ProgramTestCase):

    def choose_date(self, window, day: str, month: str, year: str) -> None:
        """With the focus in the name box: Tab into each list and type the start of the item,
        as one picks from a closed list with the keyboard."""
        for text in (day, month, year):
            self.key("Tab")
            self.pick(text)
        wait_for_value(lambda: chosen_date(window), (day, _full_month(month), year),
                       f"the lists to show {day} {month} {year}")

    def test_search_shows_sign_and_reading_and_back_keeps_the_entries(self):
        program, main = self.start_at_birth_data_window()
        self.type("zoe")
        self.choose_date(main, "7", "june", "1933")
        self.key("Tab")  # onto the find button
        self.assertTrue(is_focused(find_one(main, "push button", "Find My Woundwell")))
        self.key("Return")

        result = program.wait_for_window(shows_result, "the result window")
        self.assertEqual("Gemini", result_text(result, "Healing sign"))
        self.assertEqual(GEMINI, result_text(result, "Reading"))
        self.assertEqual([result], program.windows(), "only the result window is on screen")
        self.assertTrue(is_focused(find_one(result, "push button", "Exit")))
        self.wait_for_keyboard()

        # Tab moves from Exit to Back; Enter then goes back.
        self.key("Tab")
        wait_until(lambda: is_focused(find_one(result, "push button", "Back")),
                   what="focus on Back")
        self.key("Return")
        main = program.wait_for_window(shows_name_box, "the birth-data window again")
        self.wait_for_keyboard()
        self.assertEqual(1, len(program.windows()), "only the birth-data window is on screen")
        self.assertEqual("ZOE", text_of(find_one(main, "text", "Name")))
        self.assertEqual(("7", "June", "1933"), chosen_date(main))

        # A second search with another date shows only the new sign and reading. This time the
        # day is picked with the mouse from the opened list, the rest with the keyboard.
        self.click(date_lists(main)["day"])
        self.click(wait_until(lambda: find_one(date_lists(main)["day"], "list item",
                                               "2"), what="the opened list of days"))
        self.key("Tab")
        self.pick("apr")
        self.key("Tab")
        self.pick("1968")
        wait_for_value(lambda: chosen_date(main), ("2", "April", "1968"),
                       "the lists to show 2 April 1968")
        self.key("alt+w")
        result = program.wait_for_window(shows_result, "the second result")
        self.assertEqual("Aries", result_text(result, "Healing sign"))
        self.assertEqual(ARIES, result_text(result, "Reading"))

    def test_after_back_the_next_letter_goes_on_with_the_name(self):
        program, main = self.start_at_birth_data_window()
        self.choose_date(main, "7", "june", "1933")
        # Back into the name box with the mouse, as one goes on with a name: the caret at its end.
        self.click(find_one(main, "text", "Name"))
        wait_until(lambda: is_focused(find_one(main, "text", "Name")), what="focus in Name")
        self.type("ann")
        self.key("alt+f", "Return")  # File > Find My Woundwell
        result = program.wait_for_window(shows_result, "the result window")
        self.wait_for_keyboard()
        self.key("alt+b")
        main = program.wait_for_window(shows_name_box, "the birth-data window again")
        self.wait_for_keyboard()
        self.type("e")
        wait_for_value(lambda: text_of(find_one(main, "text", "Name")), "ANNE",
                       "the name to grow by the letter typed")
        self.assertEqual(("7", "June", "1933"), chosen_date(main))

    def test_every_check_on_the_entries_has_its_message(self):
        program, main = self.start_at_birth_data_window()
        find_button = find_one(main, "push button", "Find My Woundwell")
        name_box = find_one(main, "text", "Name")

        # Nothing typed: the name is asked for first, and the focus goes back to the box.
        self.choose_date(main, "31", "feb", "1950")
        self.click(find_button)
        self.dismiss_message(program, "Please Enter Your Name")
        wait_until(lambda: is_focused(name_box), what="the focus back in the name box")
        self.assertEqual([main], program.windows())

        self.type("lee")
        self.click(find_button)
        self.dismiss_message(program, "Please Enter Correct Date of Birth!")

        self.key("shift+Tab", "shift+Tab", "shift+Tab")  # from the find button back to Day
        self.pick("30")  # 30 February
        wait_for_value(lambda: chosen_date(main), ("30", "February", "1950"), "30 February")
        self.key("alt+w")
        self.dismiss_message(program, "Please Enter Correct Date of Birth!")

        self.key("Tab")
        self.pick("apr")
        self.key("shift+Tab")
        self.pick("31")  # April has no 31st
        wait_for_value(lambda: chosen_date(main), ("31", "April", "1950"), "31 April")
        self.key("alt+w")
        self.dismiss_message(program, "Please Enter Correct Date of Birth !")
        self.assertEqual([main], program.windows(), "no result after a refused date")
        self.assertEqual("LEE", text_of(name_box))

    def test_29_february_only_in_leap_years(self):
        program, main = self.start_at_birth_data_window()
        self.type("lee")
        self.choose_date(main, "29", "feb", "1931")
        self.key("alt+w")
        self.dismiss_message(program, "Please Enter Correct Date of Birth!")
        self.assertEqual([main], program.windows())
        # The focus stayed on the year list: pick a leap year there.
        self.pick("1932")
        wait_for_value(lambda: chosen_date(main), ("29", "February", "1932"),
                       "the lists to show 29 February 1932")
        self.key("alt+w")
        result = program.wait_for_window(shows_result, "the result window")
        self.assertEqual("Taurus", result_text(result, "Healing sign"))

    def test_name_box_takes_only_letters_and_makes_them_capitals(self):
        program, main = self.start_at_birth_data_window()
        name_box = find_one(main, "text", "Name")
        self.type("ann")
        self.type("-")
        self.dismiss_message(program, "Please Enter only Letters")
        self.type("7")
        self.dismiss_message(program, "Please Enter only Letters")
        self.type(" lee")
        wait_for_value(lambda: text_of(name_box), "ANN LEE", "the name box's text")
        # Space and the letters after the refused keys brought up no further message.
        self.assertEqual([main], program.windows())

    def test_a_letter_composed_with_a_dead_key_meets_the_same_rule(self):
        # On the international US layout an accent is a dead key: it waits for the letter that
        # follows, and the input method hands the two over as one composed letter, not as a
        # key press. The name box takes A to Z only, so é is refused as if typed.
        self.desktop.set_layout("us", "intl")
        self.addCleanup(self.desktop.set_layout, "us")
        program, main = self.start_at_birth_data_window()
        name_box = find_one(main, "text", "Name")
        self.type("an")
        self.key("dead_acute", "e")
        self.dismiss_message(program, "Please Enter only Letters")
        self.key("dead_acute", "space")  # the accent alone is no letter either
        self.dismiss_message(program, "Please Enter only Letters")
        self.type("n")
        wait_for_value(lambda: text_of(name_box), "ANN", "the name box's text")
        self.assertEqual([main], program.windows())


def result_text(window, purpose: str) -> str:
    """What a screen reader reads for the result label that serves `purpose` ("Healing sign"
    or "Reading"). The label is found by that purpose, given as its accessible name or
    description; its content is its Text interface where it has one, otherwise whichever of
    name and description does not just state the purpose."""
    labels = labels_for(window, purpose)
    if len(labels) != 1:
        raise LookupError(f"expected one label for {purpose!r}, found {len(labels)}")
    label = labels[0]
    try:
        return label.queryText().getText(0, -1)
    except NotImplementedError:
        pass
    content = label.description if label.name == purpose else label.name
    if not content:
        raise AssertionError(
            f"the {purpose!r} label tells a screen reader what it is for but not what it shows "
            f"(name {label.name!r}, description {label.description!r}, no Text interface)")
    return content


def date_lists(window) -> dict[str, object]:
    """The three drop-down lists of the birth-data window by their captions, keyed "day",
    "month", "year"."""
    return {key: find_one(window, "combo box", caption)
            for key, caption in (("day", "Date"), ("month", "Month"), ("year", "Year"))}


def chosen_date(window) -> tuple[str, str, str]:
    """The items the closed lists show, as a screen reader reviews them."""
    return tuple(text_of(found) for found in date_lists(window).values())


_MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
           "September", "October", "November", "December"]


def _full_month(start: str) -> str:
    return next(month for month in _MONTHS if month.lower().startswith(start.lower()))


if __name__ == "__main__":
    harness.main()
