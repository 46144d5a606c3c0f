"""How the program starts and ends: the farewell window on the way out (readable on a dark
desktop too), one copy at a time (with and without a runtime folder for the lock), and the
update reminder that may come before the first window."""

import datetime

import woundwell_desktop as harness
from woundwell_desktop import (contrast_ratio, find_all, find_one, relative_luminance,
                               shows_name_box, shows_referral_form, stays_true, text_and_background,
                               text_of, visible_rect, wait_for_value, wait_until)

DOWNLOAD_PAGE = "http://www.quorvane.com/woundwell/download-woundwell.html"
DONATE_PAGE = "http://www.quorvane.com/donate.html"
UPDATE_QUESTION = ("There maybe an update to this software available\n"
                   "Do you want to check for an update?")
ALREADY_RUNNING = "Application is already running"


class LifecycleTest(harness.ProgramTestCase):

    def leave_through_farewell(self, program) -> None:
        """Esc on the birth-data window, then the farewell window's Exit: the program ends
        cleanly."""
        self.key("Escape")
        farewell = program.wait_for_window(shows_referral_form, "the farewell window")
        self.click(find_one(farewell, "push button", "Exit"))
        self.assertEqual(0, program.wait_for_exit(), "exit code")

    def refuse_another_copy(self, first, **options) -> None:
        """Starts one more copy for the same user: it shows only its message, ends cleanly
        when that is answered, and leaves the running copy as it was."""
        second = self.launch(home=first.home, **options)
        box = second.wait_for_message(ALREADY_RUNNING)
        self.assertEqual(harness.PROGRAM_TITLE, box.name)
        self.assertEqual([box], second.windows(), "the second copy shows only its message")
        self.assert_frame_centred(second, "the message of the second copy")
        self.click(find_one(box, "push button", "OK"))
        self.assertEqual(0, second.wait_for_exit(), "the second copy's exit code")
        self.assertTrue(first.running(), "the running copy ended too")
        first.wait_for_window(shows_name_box, "the running copy's window")

    def test_escape_leads_through_the_farewell_window_to_the_end(self):
        program, main = self.start_at_birth_data_window()
        settings = program.home.settings_snapshot()
        self.assertTrue(stays_true(lambda: program.windows() == [main]),
                        f"start-up did not settle on one window: {program.describe_windows()}")
        self.assert_frame_centred(program, "the birth-data window")
        self.key("Escape")

        farewell = program.wait_for_window(shows_referral_form, "the farewell window")
        self.assertEqual(harness.window_title(), farewell.name)
        self.assertEqual([farewell], program.windows(), "the birth-data window has gone")
        self.assert_frame_centred(program, "the farewell window")
        find_one(farewell, "label", harness.window_title())  # the heading beside the icon
        self.wait_for_keyboard()

        self.key("Escape")
        self.assertTrue(stays_true(lambda: program.windows() == [farewell]),
                        "Esc must do nothing in the farewell window")

        # The window manager's close (the close box, Alt+F4 in openbox) ends the program too.
        self.key("alt+F4")
        self.assertEqual(0, program.wait_for_exit(), "exit code")
        wait_until(lambda: not self.desktop.x_windows(program.pid), 3,
                   "the program's windows to go with it")
        self.assertEqual(settings, program.home.settings_snapshot(),
                         "the settings file changed although no reminder came")

    def test_the_farewell_title_reads_on_a_dark_desktop(self):
        program, _ = self.start_at_birth_data_window(colours="dark")
        self.key("Escape")
        farewell = program.wait_for_window(shows_referral_form, "the farewell window")

        def colours_of(node):
            return text_and_background(self.desktop.screen_pixels(*visible_rect(node, farewell)))

        # The referral boxes are painted in the desktop's colours: once one is dark, the
        # scheme is in force and the window has been painted.
        name_box = find_one(farewell, "text", "Your Name")
        wait_until(lambda: relative_luminance(colours_of(name_box)[1]) < 0.1,
                   what="the dark scheme's background in the referral form's Your Name box")

        # The title is large text (18 pt): WCAG 2 asks 3:1 of it against what is behind it.
        title = find_one(farewell, "label", harness.window_title())
        text, background = colours_of(title)
        ratio = contrast_ratio(text, background)
        self.assertGreaterEqual(ratio, 3.0, f"the title is drawn in {text} on {background}: "
                                f"{ratio:.2f}:1")

    def test_a_second_copy_is_refused_while_the_first_runs_on(self):
        first, main = self.start_at_birth_data_window()
        self.type("ada")
        name_box = find_one(main, "text", "Name")
        wait_for_value(lambda: text_of(name_box), "ADA", "the first copy's name box")
        settings = first.home.settings_snapshot()

        self.refuse_another_copy(first)
        main = first.wait_for_window(shows_name_box, "the first copy's window")
        self.assertEqual([main], first.windows())
        self.assertEqual("ADA", text_of(find_one(main, "text", "Name")))
        self.assertEqual(settings, first.home.settings_snapshot(),
                         "the refused copy wrote to the settings file")
        self.wait_for_keyboard()
        self.leave_through_farewell(first)

    def test_a_copy_killed_outright_does_not_block_the_next_start(self):
        first, _ = self.start_at_birth_data_window()
        first.kill()
        lock = first.home.runtime / "woundwell.lock"
        self.assertTrue(lock.exists(), "the killed copy left no lock behind: nothing to test")

        second, main = self.start_at_birth_data_window(home=first.home)
        self.assertTrue(stays_true(lambda: second.windows() == [main]),
                        f"the new copy did not start quietly: {second.describe_windows()}")
        # The new copy holds the lock for real: one more start is refused.
        self.refuse_another_copy(second)

    def test_without_a_runtime_folder_the_lock_lives_in_the_cache(self):
        first, _ = self.start_at_birth_data_window(runtime=False)
        lock = first.home.cache / "woundwell" / "woundwell.lock"
        self.assertTrue(lock.exists(), f"no lock at {lock}")
        self.refuse_another_copy(first, runtime=False)
        self.wait_for_keyboard()
        self.leave_through_farewell(first)
        self.assertFalse(lock.exists(), "the lock stayed behind after a clean end")

    def test_update_reminder_comes_first_and_enter_takes_yes_to_the_download_page(self):
        month_ago = datetime.date.today() - datetime.timedelta(days=30)
        program = self.launch(reminder_date=month_ago)

        box = program.wait_for_message(UPDATE_QUESTION)
        self.assertEqual([box], program.windows(), "the question comes before any window")
        buttons = sorted(button.name for button in find_all(box, "push button"))
        self.assertEqual(["No", "Yes"], buttons)
        self.key("Return")  # Yes is the default answer

        program.wait_for_window(shows_name_box, "the birth-data window after the question")
        self.assertEqual([DOWNLOAD_PAGE], program.home.wait_for_addresses(1))
        self.assertEqual(f"[Settings]\nDuration={datetime.date.today().isoformat()}\n",
                         program.home.settings_file.read_text())

    def test_update_reminder_answered_no_opens_nothing_and_waits_another_fortnight(self):
        program = self.launch(reminder_date=datetime.date.today() - datetime.timedelta(days=15))
        program.wait_for_message(UPDATE_QUESTION)
        self.key("Escape")  # answers No
        program.wait_for_window(shows_name_box, "the birth-data window after the question")
        self.assertEqual(datetime.date.today().isoformat(), program.home.stored_reminder_date())
        # Something that does open a page: it must be the only one to arrive.
        self.key("alt+d")
        self.assertEqual([DONATE_PAGE], program.home.wait_for_addresses(1))

    def test_no_reminder_within_a_fortnight(self):
        fortnight_ago = datetime.date.today() - datetime.timedelta(days=14)
        program, _ = self.start_at_birth_data_window(reminder_date=fortnight_ago)
        self.assertEqual(1, len(program.windows()), "no message beside the window")
        self.assertEqual(fortnight_ago.isoformat(), program.home.stored_reminder_date())


if __name__ == "__main__":
    harness.main()
