"""How the program starts and ends: the farewell window on the way out, one copy at a time,
and the update reminder that may come before the first window."""

import datetime
import signal

import harness
from harness import (find_all, find_one, role, shows_name_box, shows_referral_form, text_of,
                     wait_for_value)

DOWNLOAD_PAGE = "http://www.quorvane.com/woundwell/download-woundwell.html"
DONATE_PAGE = "http://www.quorvane.com/donate.html"
UPDATE_QUESTION = ("There maybe an update to this software available\n"
                   "Do you want to check for an update?")


class LifecycleTest(harness.ProgramTestCase):

    def test_escape_leads_through_the_farewell_window_to_the_end(self):
        program, _ = self.start_at_birth_data_window()
        self.key("Escape")

        farewell = program.wait_for_window(shows_referral_form, "the farewell window")
        self.assertEqual(harness.WINDOW_TITLE, farewell.name)
        self.assertEqual([farewell], program.windows(), "the birth-data window has gone")
        find_one(farewell, "label", harness.WINDOW_TITLE)  # the heading beside the icon

        self.click(find_one(farewell, "push button", "Exit"))
        self.assertEqual(0, program.wait_for_exit(), "exit code")

    def test_a_second_copy_is_refused_while_the_first_runs_on(self):
        first, main = self.start_at_birth_data_window()
        self.type("ada")
        name_box = find_one(main, "text", "Name")
        wait_for_value(lambda: text_of(name_box), "ADA", "the first copy's name box")

        second = harness.Woundwell(self.desktop, folders=first).start()
        self.addCleanup(second.stop)
        box = second.wait_for_message("Application is already running")
        self.assertEqual(harness.PROGRAM_TITLE, box.name)
        self.assertEqual([box], second.windows(), "the second copy shows only its message")
        self.click(find_one(box, "push button", "OK"))
        self.assertEqual(0, second.wait_for_exit(), "the second copy's exit code")

        self.assertTrue(first.running())
        main = first.wait_for_window(shows_name_box, "the first copy's window")
        self.assertEqual("ADA", text_of(find_one(main, "text", "Name")))

    def test_a_copy_killed_outright_does_not_block_the_next_start(self):
        first, _ = self.start_at_birth_data_window()
        first.kill(signal.SIGKILL)

        second = harness.Woundwell(self.desktop, folders=first).start()
        self.addCleanup(second.stop)
        second.wait_for_window(shows_name_box, "the birth-data window of the new copy")
        self.assertEqual([], [w for w in second.windows() if role(w) == "alert"])
        self.assertTrue(second.running())

    def test_update_reminder_comes_first_and_yes_opens_the_download_page(self):
        month_ago = datetime.date.today() - datetime.timedelta(days=30)
        program = self.launch(reminder_date=month_ago)

        box = program.wait_for_message(UPDATE_QUESTION)
        self.assertEqual([box], program.windows(), "the question comes before any window")
        buttons = sorted(button.name for button in find_all(box, "push button"))
        self.assertEqual(["No", "Yes"], buttons)
        self.click(find_one(box, "push button", "Yes"))

        program.wait_for_window(shows_name_box, "the birth-data window after the question")
        self.assertEqual([DOWNLOAD_PAGE], program.wait_for_addresses(1))
        self.assertEqual(datetime.date.today().isoformat(), program.stored_reminder_date())

    def test_update_reminder_answered_no_opens_nothing_and_waits_another_fortnight(self):
        program = self.launch(reminder_date=datetime.date.today() - datetime.timedelta(days=15))
        box = program.wait_for_message(UPDATE_QUESTION)
        self.click(find_one(box, "push button", "No"))
        program.wait_for_window(shows_name_box, "the birth-data window after the question")
        self.assertEqual(datetime.date.today().isoformat(), program.stored_reminder_date())
        # Something that does open a page: it must be the only one to arrive.
        self.key("alt+d")
        self.assertEqual([DONATE_PAGE], program.wait_for_addresses(1))

    def test_no_reminder_within_a_fortnight(self):
        fortnight_ago = datetime.date.today() - datetime.timedelta(days=14)
        program, _ = self.start_at_birth_data_window(reminder_date=fortnight_ago)
        self.assertEqual(1, len(program.windows()), "no message beside the window")
        self.assertEqual(fortnight_ago.isoformat(), program.stored_reminder_date())


if __name__ == "__main__":
    harness.main()
