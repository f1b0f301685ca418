#!/usr/bin/env python3
"""Menus clicked from outside: menuhost runs a small project under wine, a
button is clicked, and what the user would see is checked: pages, launched
programs and documents, messages, the password prompt, minimising, closing,
and the menu's own "orb://" commands."""
import os
import re
import shutil
import subprocess
import time

from test_menuhost import INSPECT, MENUHOST, WINE, MenuhostCase, inspect_line, numbers, setUpModule  # noqa: F401

ARGWRITER = os.path.join(os.path.dirname(INSPECT), "argwriter.exe")
VK_RETURN, VK_ESCAPE, VK_DOWN = 13, 27, 40
SW_MINIMIZE, SW_RESTORE = 6, 9
MAIN = "TfrmMain"
MODAL = "TOrbModalForm"  # the menu's message box and the input dialog
SYSTEM_DIALOG = "#32770"
POPUP_MENU = "#32768"
MENU_COLOUR = "ffffe7"  # the menu's message box is pale yellow


def scramble(password):
    """The stored form of a password, as the authoring side writes it."""
    alphabet = "BCDEFGHIJKLMNOPQRSTUVWXYZ0135789"
    key, out = 5923, bytearray()
    for b in password.encode("cp1252"):
        o = b ^ (key >> 8)
        out.append(o)
        key = ((key + o) * 10581 + 90349) % 65536
    text = ""
    for start in range(0, len(out), 5):
        group = out[start:start + 5]
        bits = int.from_bytes(bytes(group) + bytes(5 - len(group)), "big")
        letters = (len(group) * 8 + 4) // 5
        text += "".join(alphabet[(bits >> (35 - 5 * i)) & 31] if i < letters else "A" for i in range(8))
    return text


def quoted(text):
    return "'" + text.replace("'", "''") + "'"


def button(name, left, top, tag=0, width=100, height=40, color="clSilver", over=None, down=None, **props):
    """A plain coloured button; unless told, its colour does not follow the mouse, so pixels tell pages apart."""
    lines = ["  object %s: TOrbButton" % name,
             "    Left = %d" % left, "    Top = %d" % top, "    Width = %d" % width, "    Height = %d" % height,
             "    Tag = %d" % tag, "    Style = absNormal",
             "    Color = %s" % color, "    OverColor = %s" % (over or color), "    DownColor = %s" % (down or color)]
    for key, value in props.items():
        if isinstance(value, list):
            lines.append("    %s = (\n%s)" % (key, "\n".join("      " + quoted(v) for v in value)))
        elif isinstance(value, str) and not re.fullmatch(r"(aat|awm|amc|cl)[A-Z]\w*|True|False", value):
            lines.append("    %s = %s" % (key, quoted(value)))
        else:
            lines.append("    %s = %s" % (key, value))
    return "\n".join(lines) + "\n  end\n"


def project(controls, **props):
    # The authoring tool stores DesignMode = True; leaving it applies the run-time rules.
    body = {"Caption": "'Menu'", "ClientWidth": "320", "ClientHeight": "200", "Color": "clWhite"}
    body.update(props)
    lines = ["object frmMain: TfrmMain", "  DesignMode = True"]
    lines += ["  %s = %s" % (k, v) for k, v in body.items()]
    return "\n".join(lines) + "\n" + "".join(controls) + "end\n"


def pages(*names, start=1, zero_everywhere=False):
    """The form's pages by name, the caption following the page shown."""
    return {"Pages.Strings": "(%s)" % "".join("\n    " + quoted(n) for n in names), "PageCount": str(len(names) - 1),
            "StartupPage": str(start), "UsePageCaption": "True", "AlwaysShowPageZero": str(zero_everywhere)}


def unescaped(text):
    """wininspect's one-line form of a window text back to the text."""
    return re.sub(r"\\(.)", lambda m: "\n" if m.group(1) == "n" else m.group(1), text)


def centre(left, top, width=100, height=40):
    return left + width // 2, top + height // 2


def inspect(*args, timeout=60):
    return subprocess.run([WINE, INSPECT, *map(str, args)], capture_output=True, text=True, timeout=timeout).stdout


class RunningMenu:
    """menuhost on one project, looked at and clicked from outside."""

    def __init__(self, case, menu, env=None, named=None):
        self.case = case
        full_env = dict(os.environ)
        full_env.update(env or {})
        # Named as Windows names it: the project folder is what comes before the last backslash.
        named = named or case.win_path(os.path.basename(menu))
        self.proc = subprocess.Popen([WINE, MENUHOST, named], cwd=case.dir,
                                     env=full_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        case.addCleanup(self.kill)
        shown = inspect_line(inspect(MAIN, 20000))
        case.assertEqual(shown.get("found"), "1", "no menu window appeared")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def look(self, *pixels):
        return inspect_line(inspect(MAIN, 5000, *("%d,%d" % p for p in pixels)))

    def state(self, cls=MAIN):
        return inspect_line(inspect("--state", cls).strip())

    def click(self, point, right=False):
        inspect("--click", MAIN, point[0], point[1], *(["right"] if right else []))

    def pointer(self, step, point):
        """One step of the left button: move, press or release."""
        inspect("--" + step, MAIN, point[0], point[1])

    def wait_for(self, cls, timeout_ms=10000):
        """A window of the class once it shows: its caption, (class, text) of its children, and its handle."""
        lines = inspect("--text", cls, timeout_ms).splitlines()
        if not lines or inspect_line(lines[0]).get("found") != "1":
            return None
        children = []
        for line in lines[1:]:
            kind, text = line[len("child="):].split(" text=", 1)
            children.append((kind, unescaped(text)))
        return unescaped(lines[0].split("caption=", 1)[1]), children, inspect_line(lines[0])["handle"]

    def expect_notepad_with(self, name):
        """The document opened in wine's notepad, whose window is closed again."""
        try:
            opened = self.wait_for("Notepad", 20000)
            self.case.assertIsNotNone(opened, "no notepad window appeared")
            self.case.assertIn(name, opened[0].lower())
        finally:
            inspect("--close", "Notepad")

    def gone(self, cls, timeout_ms=10000):
        return inspect_line(inspect("--wait-gone", cls, timeout_ms)).get("gone") == "1"

    def key(self, cls, *keys):
        inspect("--key", cls, *keys)

    def type(self, cls, text):
        inspect("--type", cls, text)

    def choose(self, index):
        """Picks a line of the popup menu that is open, as the keyboard would."""
        self.case.assertIsNotNone(self.wait_for(POPUP_MENU), "no popup menu appeared")
        self.key(POPUP_MENU, *([VK_DOWN] * (index + 1) + [VK_RETURN]))
        self.case.assertTrue(self.gone(POPUP_MENU), "the popup menu stayed open")

    def ended(self, timeout=15):
        """The exit code once the menu ended by itself, or None while it still runs."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        inspect("--close", MAIN)
        self.case.assertEqual(self.proc.wait(timeout=60), 0, "menuhost's exit code")


def wait_until(check, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        if check():
            return True
        time.sleep(0.1)
    return check()


class ActionCase(MenuhostCase):
    def start(self, controls, env=None, named=None, **props):
        return RunningMenu(self, self.compile(project(controls, **props)), env, named)

    def win_path(self, name=""):
        """How the project folder looks from inside wine."""
        return "Z:" + os.path.join(self.dir, name).rstrip("/").replace("/", "\\")

    def copy_argwriter(self):
        shutil.copy(ARGWRITER, self.path("argwriter.exe"))

    def written(self, name):
        with open(self.path(name), encoding="utf-8") as f:
            return f.read().splitlines()


class Pages(ActionCase):
    def test_page_buttons_hide_one_page_and_show_the_other(self):
        menu = self.start([button("Forward", 10, 10, tag=1, color="clRed", ActionType="aatJumpToPage",
                                  Parameter="NEXT"),
                           button("Back", 10, 60, tag=2, color="clBlue", ActionType="aatJumpToPage",
                                  Parameter="PREV")],
                          **pages("Zero", "One", "Two"))
        steps = [(None, "One", "ff0000", "ffffff"),
                 (centre(10, 10), "Two", "ffffff", "0000ff"),
                 (centre(10, 60), "One", "ff0000", "ffffff")]
        for click, caption, at_forward, at_back in steps:
            with self.subTest(click=click):
                if click:
                    menu.click(click)
                    wait_until(lambda: menu.state()["caption"] == caption, 5)
                seen = menu.look((15, 15), (15, 65))
                self.assertEqual(seen["caption"], caption)
                self.assertEqual(seen["pixel15,15"], at_forward)
                self.assertEqual(seen["pixel15,65"], at_back)
        menu.close()

    def test_colours_follow_the_pointer_and_a_release_off_the_button_does_nothing(self):
        menu = self.start([button("Forward", 10, 10, tag=1, over="clLime", down="clBlue", ActionType="aatJumpToPage",
                                  Parameter="NEXT")],
                          **pages("Zero", "One", "Two"))
        on, off = centre(10, 10), (200, 150)
        steps = [("move", on, "00ff00"), ("press", on, "0000ff"),
                 ("move", off, "c0c0c0"), ("release", off, "c0c0c0"),  # dragged off: no click
                 ("move", on, "00ff00")]
        for step, point, colour in steps:
            with self.subTest(step=step, at=point):
                menu.pointer(step, point)
                self.assertTrue(wait_until(lambda: menu.look((15, 15))["pixel15,15"] == colour, 3),
                                menu.look((15, 15)))
        self.assertEqual(menu.state()["caption"], "One")
        menu.click(on)
        self.assertTrue(wait_until(lambda: menu.state()["caption"] == "Two", 5))
        menu.close()


class RunProgram(ActionCase):
    def test_arguments_are_expanded_and_the_menu_waits_only_when_asked(self):
        # The program dawdles; ExitAfterAction closes the menu once the click is over,
        # so whether the file was there when the menu ended tells whether it waited.
        self.copy_argwriter()
        for music, waits in [("amcStopAndResume", True), ("amcNone", False)]:
            with self.subTest(BGMusicControl=music):
                out = "out-%s.txt" % music
                menu = self.start([button("Run", 10, 10, color="clRed", ActionType="aatRunProgram",
                                          Parameter="%CDROM%\\argwriter.exe",
                                          SecondParam='"%%cdrom%%\\%s" %%%%ENV-ORB_E2E_WORD%%%% "%%WinDir%%\\x y"'
                                          % out,
                                          BGMusicControl=music, ExitAfterAction="True")],
                                  env={"ARGWRITER_DELAY_MS": "6000", "ORB_E2E_WORD": "hello"})
                menu.click(centre(10, 10))
                if waits:
                    # Waiting, the menu still paints: minimised and restored, its page comes back.
                    inspect("--show", MAIN, SW_MINIMIZE)
                    inspect("--show", MAIN, SW_RESTORE)
                    seen = menu.look((15, 15), (200, 100))
                    self.assertFalse(os.path.exists(self.path(out)), "the program ended too soon to tell")
                    self.assertEqual((seen["pixel15,15"], seen["pixel200,100"]), ("ff0000", "ffffff"))
                code = menu.ended(timeout=30)
                self.assertEqual(code, 0, "menuhost's exit code after the action")
                self.assertEqual(os.path.exists(self.path(out)), waits)
                self.assertTrue(wait_until(lambda: os.path.exists(self.path(out)), 15))
                self.assertEqual(self.written(out), ["hello", "C:\\windows\\x y"])


class ProjectFolder(ActionCase):
    def test_the_project_folder_is_found_however_the_project_is_named(self):
        # Started from the project's folder with a bare name, or with forward slashes,
        # %CDROM% must still be that folder.
        self.copy_argwriter()
        for named in ["menu.orb", self.win_path("menu.orb").replace("\\", "/"), self.win_path("menu.orb")]:
            with self.subTest(named=named):
                out = self.path("folder.txt")
                if os.path.exists(out):
                    os.remove(out)
                menu = self.start([button("Run", 10, 10, ActionType="aatRunProgram",
                                          Parameter="%CDROM%\\argwriter.exe", SecondParam='folder.txt "%CDROM%"',
                                          ExitAfterAction="True")], named=named)
                menu.click(centre(10, 10))
                self.assertEqual(menu.ended(timeout=30), 0)
                self.assertTrue(wait_until(lambda: os.path.exists(out), 15), "the program never ran")
                self.assertEqual(self.written("folder.txt"), [self.win_path()])


class OpenDocument(ActionCase):
    def test_a_document_opens_in_the_program_the_system_gives_it(self):
        # Wine opens .ini files with its notepad out of the box.
        with open(self.path("settings.ini"), "w") as f:
            f.write("[menu]\n")
        menu = self.start([button("Open", 10, 10, ActionType="aatOpenDocument", Parameter="%CDROM%\\settings.ini")])
        menu.click(centre(10, 10))
        menu.expect_notepad_with("settings")
        menu.close()


class PopupMessages(ActionCase):
    def test_the_system_box_shows_the_unescaped_text_with_the_menu_hidden_meanwhile(self):
        menu = self.start([button("Say", 10, 10, ActionType="aatPopupMessage",
                                  Parameter="First line\\nSecond\\tpart \\x41", SecondParam="warning",
                                  MinimizeBeforeAction="True")],
                          SysMsgBox="True", Caption="'Menu title'")
        menu.click(centre(10, 10))
        shown = menu.wait_for(SYSTEM_DIALOG)
        self.assertIsNotNone(shown, "no system message box appeared")
        caption, children, _ = shown
        self.assertEqual(caption, "Menu title")
        self.assertIn("First line\nSecond\tpart A", [text for _, text in children])
        self.assertEqual(menu.state()["visible"], "0", "the menu stays hidden while the message shows")
        menu.key(SYSTEM_DIALOG, VK_RETURN)
        self.assertTrue(menu.gone(SYSTEM_DIALOG))
        self.assertTrue(wait_until(lambda: menu.state()["visible"] == "1", 5), "the menu came back")
        menu.close()

    def test_the_menus_own_box_shows_and_closes_with_a_key(self):
        for key in [VK_ESCAPE, VK_RETURN]:
            with self.subTest(key=key):
                menu = self.start([button("Say", 10, 10, ActionType="aatPopupMessage", Parameter="Hello")],
                                  SysMsgBox="False")
                menu.click(centre(10, 10))
                seen = inspect_line(inspect(MODAL, 10000, "10,60"))
                self.assertEqual(seen.get("found"), "1", "no message box appeared")
                self.assertEqual(seen["pixel10,60"], MENU_COLOUR)
                self.assertEqual(menu.state(SYSTEM_DIALOG).get("found"), "0")
                menu.key(MODAL, key)
                self.assertTrue(menu.gone(MODAL))
                menu.close()


class MissingProgram(ActionCase):
    def test_the_message_names_the_path_with_its_backslashes(self):
        # Folder names after a backslash that would read as escapes: \n, \t, \x41.
        menu = self.start([button("Run", 10, 10, ActionType="aatRunProgram",
                                  Parameter="%CDROM%\\new\\tools\\x41\\setup.exe")], SysMsgBox="True")
        menu.click(centre(10, 10))
        shown = menu.wait_for(SYSTEM_DIALOG)
        self.assertIsNotNone(shown, "no message about the missing program")
        expected = "Unable to open '%s'. The file or path doesn't exist." % self.win_path("new\\tools\\x41\\setup.exe")
        self.assertIn(expected, [text for _, text in shown[1]])
        menu.key(SYSTEM_DIALOG, VK_RETURN)
        self.assertTrue(menu.gone(SYSTEM_DIALOG))
        menu.close()


class Password(ActionCase):
    def test_only_the_right_password_lets_the_action_run_and_it_is_asked_once(self):
        menu = self.start([button("Guarded", 10, 10, ActionType="aatJumpToPage", Parameter="NEXT",
                                  Password=scramble("Sesame"))], **pages("Zero", "One", "Two", "Three",
                                                                         zero_everywhere=True))
        at = centre(10, 10)

        menu.click(at)
        self.assertIsNotNone(menu.wait_for(MODAL), "no password prompt")
        menu.key(MODAL, VK_ESCAPE)
        self.assertTrue(menu.gone(MODAL))
        self.assertEqual(menu.state()["caption"], "One", "a cancelled prompt runs nothing")

        menu.click(at)
        caption, children, first = menu.wait_for(MODAL)
        self.assertEqual(caption, "One")  # the window's caption is the dialog's title
        self.assertIn(("Static", "&Enter Password:"), children)
        menu.type(MODAL, "sesame")
        menu.key(MODAL, VK_RETURN)
        self.assertTrue(wait_until(lambda: (menu.wait_for(MODAL) or (0, 0, first))[2] != first, 5),
                        "a wrong password is asked again")
        _, children, _ = menu.wait_for(MODAL)
        self.assertIn(("Edit", "sesame"), children, "the prompt comes back with the text typed before")
        self.assertEqual(menu.state()["caption"], "One", "a wrong password runs nothing")
        menu.type(MODAL, "Sesame")  # replaces the text, which the prompt offers selected
        menu.key(MODAL, VK_RETURN)
        self.assertTrue(menu.gone(MODAL))
        self.assertTrue(wait_until(lambda: menu.state()["caption"] == "Two", 5), "the right password runs the action")

        menu.click(at)
        self.assertTrue(wait_until(lambda: menu.state()["caption"] == "Three", 5), "the second click asks nothing")
        self.assertEqual(menu.state(MODAL).get("visible", "0"), "0")
        menu.close()


class Minimise(ActionCase):
    def test_the_window_becomes_iconic_or_goes_to_the_tray(self):
        self.copy_argwriter()
        run = {"ActionType": "aatRunProgram", "Parameter": "%CDROM%\\argwriter.exe", "SecondParam": "ran.txt yes",
               "MinimizeBeforeAction": "True"}
        cases = [("minimise", {"ActionType": "aatMinimize"}, "False", "1"),
                 ("minimise to the tray", {"ActionType": "aatMinimize"}, "True", "0"),
                 ("minimise before running a program", run, "False", "1")]
        for name, props, tray, iconic in cases:
            with self.subTest(name):
                menu = self.start([button("Down", 10, 10, **props)], MinimizeToTrayIcon=tray)
                menu.click(centre(10, 10))
                self.assertTrue(wait_until(lambda: menu.state()["visible"] == "0" or menu.state()["iconic"] == "1"))
                state = menu.state()
                self.assertEqual(state["iconic"], iconic)
                if tray == "True":
                    self.assertEqual(state["visible"], "0")
                if props is run:
                    self.assertTrue(wait_until(lambda: os.path.exists(self.path("ran.txt"))), "the program ran")
                    self.assertEqual(menu.state()["iconic"], "1", "the menu stays minimised")
                self.assertIsNone(menu.ended(timeout=1), "minimising does not end the menu")
                inspect("--show", MAIN, SW_RESTORE)
                menu.close()


class ExitAfterAction(ActionCase):
    def test_the_menu_ends_with_code_zero_after_the_action(self):
        cases = [("exit button", {"ActionType": "aatExit"}),
                 ("page switch then exit", {"ActionType": "aatJumpToPage", "Parameter": "0",
                                            "ExitAfterAction": "True"}),
                 ("exit after exit", {"ActionType": "aatExit", "ExitAfterAction": "True"}),
                 ("eject from a disc that is no CD", {"ActionType": "aatEject"})]
        for name, props in cases:
            with self.subTest(name):
                menu = self.start([button("Go", 10, 10, **props)])
                menu.click(centre(10, 10))
                self.assertEqual(menu.ended(), 0)


class CommandLinks(ActionCase):
    def test_every_command_of_a_popup_menu_line_does_its_work(self):
        self.copy_argwriter()
        with open(self.path("settings.ini"), "w") as f:
            f.write("[menu]\n")
        lines = [("run", "orb://run/%CDROM%/argwriter.exe|run.txt%20one%20a/b"),
                 ("runas", "orb://runas/%CDROM%/argwriter.exe|runas.txt%20two"),
                 ("page", "orb://page/SECOND%20page/"),
                 ("message", "orb://message/Hello\\nWorld"),
                 ("copy noframe", "orb://copy/noframe"),
                 ("copy", "orb://copy"),
                 ("open", "orb://open/%CDROM%/settings.ini"),
                 ("explore", "orb://explore/%CDROM%"),
                 ("print", "orb://print"),
                 ("minimize", "orb://minimize"),
                 ("unknown", "orb://format/c:"),
                 ("exit", "ORB://EXIT")]
        menu = self.start([button("Links", 10, 10, ActionType="aatPopupMenu", PopupRightClick="True",
                                  **{"PopupMenuItems.Strings": [name + "-|{oRb}|-" + link for name, link in lines]})],
                          **pages("Zero", "First", "Second Page", zero_everywhere=True))
        window = numbers(menu.look()["window"])[2:]
        names = [name for name, _ in lines]

        def choose(name, right=False):
            menu.click(centre(10, 10), right)
            menu.choose(names.index(name))

        with self.subTest("run and runas: decoded, split at the bar, slashes as backslashes"):
            for name, out, expected in [("run", "run.txt", ["one", "a\\b"]), ("runas", "runas.txt", ["two"])]:
                choose(name)
                self.assertTrue(wait_until(lambda: os.path.exists(self.path(out))), name)
                self.assertTrue(wait_until(lambda: self.written(out) == expected), self.written(out))

        with self.subTest("page by name, in other letter case, with a trailing slash"):
            choose("page")
            self.assertTrue(wait_until(lambda: menu.state()["caption"] == "Second Page", 5), menu.state())

        with self.subTest("message with its escapes expanded"):
            choose("message")
            shown = menu.wait_for(SYSTEM_DIALOG)
            self.assertIsNotNone(shown)
            self.assertIn("Hello\nWorld", [text for _, text in shown[1]])
            menu.key(SYSTEM_DIALOG, VK_RETURN)
            self.assertTrue(menu.gone(SYSTEM_DIALOG))

        for name, size in [("copy noframe", (320, 200)), ("copy", window)]:
            with self.subTest(name):
                inspect("--clear-clipboard")
                choose(name)
                self.assertTrue(wait_until(lambda: inspect("--clipboard").strip() == "bitmap=%d,%d" % size, 5),
                                inspect("--clipboard"))

        with self.subTest("open"):
            choose("open")
            menu.expect_notepad_with("settings")

        with self.subTest("explore"):
            choose("explore")
            try:
                explorer = menu.wait_for("ExplorerWClass", 30000)
                self.assertIsNotNone(explorer, "no file manager window appeared")
                self.assertEqual(explorer[0], os.path.basename(self.dir))
            finally:
                inspect("--close", "ExplorerWClass")

        with self.subTest("print asks for the printer first"):
            choose("print")
            shown = menu.wait_for(SYSTEM_DIALOG)
            self.assertIsNotNone(shown, "no printer dialog")
            menu.key(SYSTEM_DIALOG, VK_ESCAPE)
            self.assertTrue(menu.gone(SYSTEM_DIALOG))

        with self.subTest("minimize"):
            choose("minimize")
            self.assertTrue(wait_until(lambda: menu.state()["iconic"] == "1", 5))
            inspect("--show", MAIN, SW_RESTORE)
            self.assertTrue(wait_until(lambda: menu.state()["iconic"] == "0", 5))

        with self.subTest("an unknown command does nothing; the menu opens with a right click too"):
            choose("unknown", right=True)
            self.assertIsNone(menu.ended(timeout=1))
            self.assertEqual(menu.state()["caption"], "Second Page")

        with self.subTest("a menu left with escape chooses nothing"):
            menu.click(centre(10, 10))
            self.assertIsNotNone(menu.wait_for(POPUP_MENU))
            menu.key(POPUP_MENU, VK_DOWN, VK_ESCAPE)
            self.assertTrue(menu.gone(POPUP_MENU))
            self.assertIsNone(menu.ended(timeout=1))
            self.assertEqual(menu.state()["iconic"], "0")

        with self.subTest("exit written in capitals"):
            choose("exit")
            self.assertEqual(menu.ended(), 0)
