#!/usr/bin/env python3
"""The main window's dealings with the shell as a user sees them: the
notification-area icon a minimised menu leaves behind, with its tip, and the
caption the menu starts with."""
import os
import subprocess
import time

from test_menuhost import INSPECT, MENUHOST, WIN64, WINE, MenuhostCase, inspect_line, setUpModule  # noqa: F401

SHELLINSPECT = os.path.join(WIN64, "tests", "win", "shellinspect.exe")
SC_MINIMIZE = 0xF020
LONG_CAPTION = "Démo " + "".join("%02d-" % i for i in range(25))  # 80 characters


def shell(*args):
    """Runs shellinspect; answers its key=value fields (caption and tips whole)."""
    seen = subprocess.run([WINE, SHELLINSPECT, *args], capture_output=True, encoding="utf-8", timeout=60)
    fields = {}
    for line in seen.stdout.splitlines():
        key, _, value = line.partition("=")
        if key == "caption" or key.startswith("tip"):
            fields[key] = value
            continue
        for part in line.split():
            key, _, value = part.partition("=")
            fields[key] = value
    return fields


def project(settings):
    return "object frmMain: TfrmMain\n  DesignMode = True\n%send\n" % "".join("  %s\n" % s for s in settings)


class ShellCase(MenuhostCase):
    def start(self, settings, args=()):
        """Starts the menu and waits until it shows; answers the process."""
        menu = self.compile(project(settings))
        proc = subprocess.Popen([WINE, MENUHOST, menu, *args], cwd=self.dir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            seen = subprocess.run([WINE, INSPECT, "TfrmMain", "20000"], capture_output=True, text=True, timeout=60)
            self.assertEqual(inspect_line(seen.stdout).get("found"), "1", "no menu window appeared")
        except BaseException:
            self.stop(proc)
            raise
        return proc

    def stop(self, proc):
        """Closes the menu, shown or hidden, and answers its exit code."""
        if proc.poll() is None:
            shell("close", "TfrmMain")
        try:
            return proc.wait(timeout=60)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            return None

    def minimise(self):
        shell("syscommand", "TfrmMain", str(SC_MINIMIZE))

    def window_when(self, condition, seconds=10):
        """The menu window's state once condition holds for it (or at the deadline)."""
        deadline = time.time() + seconds
        while True:
            state = shell("window", "TfrmMain", "0")
            if condition(state) or time.time() > deadline:
                return state
            time.sleep(0.2)


class TrayIcon(ShellCase):
    def test_minimising_hides_the_menu_behind_an_icon_only_when_the_project_asks(self):
        for settings, to_tray in [(["MinimizeToTrayIcon = True"], True),
                                  (["HideTaskBar = True"], True),
                                  (["MinimizeToTrayIcon = False"], False)]:
            with self.subTest(settings=settings):
                self.assertEqual(shell("tray", "0", "5000")["tray"], "0", "an icon is left from before")
                proc = self.start(settings + ["Caption = 'Menu'"])
                try:
                    self.assertEqual(shell("tray")["tray"], "0", "an icon before minimising")
                    self.minimise()
                    if to_tray:
                        self.assertEqual(shell("tray", "1", "10000"), {"tray": "1", "tip0": "Menu"})
                        self.assertEqual(self.window_when(lambda s: s["visible"] == "0")["visible"], "0")
                    else:
                        state = self.window_when(lambda s: s["iconic"] == "1")
                        self.assertEqual((state["iconic"], state["visible"]), ("1", "1"))
                        self.assertEqual(shell("tray")["tray"], "0")
                finally:
                    self.assertEqual(self.stop(proc), 0)
                self.assertEqual(shell("tray", "0", "10000")["tray"], "0", "the icon outlived the menu")

    def test_tip_is_the_caption_as_shown_cut_to_63_characters(self):
        cases = [
            ([f"Caption = '{LONG_CAPTION}'"], LONG_CAPTION[:63]),
            ([f"Caption = '{LONG_CAPTION[:63]}'"], LONG_CAPTION[:63]),
            (["Caption = 'Menu'", "Pages.Strings = ('Home' 'Intro')", "UsePageCaption = True",
              "StartupPage = 1"], "Intro"),
        ]
        for settings, tip in cases:
            with self.subTest(tip=tip):
                proc = self.start(settings + ["MinimizeToTrayIcon = True"])
                try:
                    self.minimise()
                    self.assertEqual(shell("tray", "1", "10000"), {"tray": "1", "tip0": tip})
                finally:
                    self.stop(proc)

    def test_double_click_on_the_icon_brings_the_menu_back_and_takes_the_icon_away(self):
        proc = self.start(["MinimizeToTrayIcon = True", "Caption = 'Menu'"])
        try:
            for _ in range(2):  # and once more: the icon comes back each time
                self.minimise()
                self.assertEqual(shell("tray", "1", "10000")["tray"], "1")
                shell("tray-dblclick", "0")
                self.assertEqual(shell("tray", "0", "10000")["tray"], "0")
                state = self.window_when(lambda s: s["visible"] == "1")
                self.assertEqual((state["visible"], state["iconic"]), ("1", "0"))
        finally:
            self.assertEqual(self.stop(proc), 0)


class Caption(ShellCase):
    def test_the_caption_at_start_follows_the_page_only_when_asked(self):
        # In the order the authoring tool writes them; the page the project was
        # saved on gives the caption as soon as the stream has it.
        pages = "Pages.Strings = ('Home' 'Intro' 'Extras')"
        cases = [
            (["ActivePage = 0", pages, "UsePageCaption = False", "StartupPage = 1"], "Menu"),
            (["ActivePage = 0", pages, "UsePageCaption = True", "StartupPage = 1"], "Intro"),
            (["ActivePage = 2", pages, "UsePageCaption = True", "StartupPage = 7"], "Extras"),
            (["ActivePage = 5", pages, "UsePageCaption = True", "StartupPage = 5"], "Menu"),
            (["UsePageCaption = True"], "Menu"),
        ]
        for settings, caption in cases:
            with self.subTest(settings=settings):
                proc = self.start(["Caption = 'Menu'"] + settings)
                try:
                    self.assertEqual(shell("window", "TfrmMain")["caption"], caption)
                finally:
                    self.assertEqual(self.stop(proc), 0)
