#!/usr/bin/env python3
"""menuhost started under wine on projects written in the text form; each window
is looked at from outside (caption, geometry, pixels) and the exit code checked.

Needs ORB_NATIVE_BUILD (orbproj), ORB_WIN64_BUILD (menuhost.exe, wininspect.exe),
WINE and a DISPLAY of 1024 x 768; scripts/test.sh sets them up."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

NATIVE = os.environ["ORB_NATIVE_BUILD"]
WIN64 = os.environ["ORB_WIN64_BUILD"]
WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
ORBPROJ = os.path.join(NATIVE, "orbproj")
MENUHOST = os.path.join(WIN64, "menuhost.exe")
INSPECT = os.path.join(WIN64, "tests", "win", "wininspect.exe")
SCREEN = (1024, 768)
DEFAULT_SIZE = (408, 327)  # the embedded form's outer size


def setUpModule():
    # One persistent server for the prefix: two wine programs started at once
    # while no server runs can race to start one and stall.
    subprocess.run([os.path.join(os.path.dirname(WINE), "wineserver"), "-p"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([WINE, "cmd", "/c", "exit"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def inspect_line(text):
    fields = {}
    for part in text.split():
        if "=" in part:
            key, value = part.split("=", 1)
            fields[key] = value
    # The caption may hold spaces: take everything between caption= and window=.
    if "caption=" in text:
        fields["caption"] = text.split("caption=", 1)[1].split(" window=", 1)[0]
    return fields


def numbers(value):
    return tuple(int(v) for v in value.split(","))


class MenuhostCase(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="orb-e2e-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def compile(self, text, name="menu.orb", *options):
        source = self.path(name + ".txt")
        with open(source, "w", encoding="utf-8") as f:
            f.write(text)
        subprocess.run([ORBPROJ, "compile", source, self.path(name), *options], check=True)
        return self.path(name)

    def run_menu(self, args=(), program=MENUHOST, pixels=()):
        """Starts the menu, inspects its window, closes it; answers the fields."""
        proc = subprocess.Popen([WINE, program, *args], cwd=self.dir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            seen = subprocess.run([WINE, INSPECT, "TfrmMain", "20000", *pixels],
                                  capture_output=True, text=True, timeout=60)
            fields = inspect_line(seen.stdout)
            subprocess.run([WINE, INSPECT, "--close", "TfrmMain"], timeout=60)
            code = proc.wait(timeout=60)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        self.assertEqual(fields.get("found"), "1", "no menu window appeared: " + seen.stdout)
        self.assertEqual(code, 0, "menuhost's exit code")
        return fields

    def assert_centred(self, fields):
        x, y, w, h = numbers(fields["window"])
        self.assertEqual((x, y), ((SCREEN[0] - w) // 2, (SCREEN[1] - h) // 2))

    def assert_default_window(self, fields):
        self.assertEqual(fields["caption"], "Lumora")
        self.assertEqual(numbers(fields["window"])[2:], DEFAULT_SIZE)
        self.assert_centred(fields)


class ProjectWindow(MenuhostCase):
    def test_caption_client_size_colour_and_position_follow_the_project(self):
        project = self.compile("""object frmMain: TfrmMain
  Left = 3
  Top = 4
  Caption = 'Démo menu'
  ClientWidth = 500
  ClientHeight = 300
  Color = clRed
end
""")
        fields = self.run_menu([project], pixels=["10,10", "490,290"])
        self.assertEqual(fields["caption"], "Démo menu")
        self.assertEqual(numbers(fields["client"]), (500, 300))
        self.assertEqual(fields["pixel10,10"], "ff0000")
        self.assertEqual(fields["pixel490,290"], "ff0000")
        self.assert_centred(fields)

    def test_hidden_task_bar_means_no_task_bar_button_and_no_minimise_box(self):
        minimise_box = 0x00020000
        for hide, owned in [("False", "0"), ("True", "1")]:
            with self.subTest(HideTaskBar=hide):
                project = self.compile("object frmMain: TfrmMain\n  HideTaskBar = %s\nend\n" % hide)
                fields = self.run_menu([project])
                self.assertEqual(fields["owned"], owned)  # an owned window gets no task-bar button
                self.assertEqual(int(fields["style"], 16) & minimise_box == 0, hide == "True")

    def test_client_size_stored_after_the_stream_wins(self):
        project = self.compile("object frmMain: TfrmMain\n  ClientWidth = 500\n  ClientHeight = 300\nend\n",
                               "menu.orb", "--client-size", "640x0")
        fields = self.run_menu([project])
        self.assertEqual(numbers(fields["client"]), (640, 300))

    def test_without_a_project_the_default_window_shows(self):
        self.assert_default_window(self.run_menu([self.path("absent.orb")]))

    def test_a_broken_project_gives_the_default_window(self):
        def short(text):
            return bytes([len(text)]) + text

        plain = self.compile("object frmMain: TfrmMain\n  Caption = 'x'\nend\n", "good.orb", "--plain")
        with open(plain, "rb") as f:
            good = f.read()
        packed = self.compile("object frmMain: TfrmMain\n  Caption = 'x'\nend\n", "packed.orb")
        with open(packed, "rb") as f:
            compressed = f.read()
        # Written past the tool's own checks, as a damaged or foreign disc would hold them.
        cases = {
            "unknown class": b"OrbDataFile" + b"TPF0" + short(b"TfrmMain") + short(b"frmMain") + b"\0"
                             + short(b"TNoSuchClass") + short(b"A") + b"\0\0" + b"\0",
            "unknown property": good.replace(b"\x07Caption", b"\x07Captio_"),
            "cut short": compressed[:-12],
            "huge binary length": b"OrbDataFile" + b"TPF0" + short(b"TfrmMain") + short(b"frmMain")
                                  + short(b"Picture.Data") + b"\x0a\xff\xff\xff\xff" + b"\0" * 2000,
        }
        for name, data in cases.items():
            with self.subTest(name):
                path = self.path("broken.orb")
                with open(path, "wb") as f:
                    f.write(data)
                self.assert_default_window(self.run_menu([path]))


def png_file(path, width, height, pixel):
    import struct
    import zlib
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


class Background(MenuhostCase):
    def test_gradient_bands_run_from_the_first_colour_to_the_second(self):
        project = self.compile("""object frmMain: TfrmMain
  ClientWidth = 256
  ClientHeight = 100
  BackGround = afsGradient
  GradStyle = agsLinearV
  GradBeginColor = clRed
  GradEndColor = clBlue
end
""")
        fields = self.run_menu([project], pixels=["0,50", "255,50", "128,0"])
        self.assertEqual(fields["pixel0,50"], "ff0000")
        self.assertEqual(fields["pixel255,50"], "0000ff")
        red, green, blue = (int(fields["pixel128,0"][i:i + 2], 16) for i in (0, 2, 4))
        self.assertTrue(100 < red < 155 and green == 0 and 100 < blue < 155, fields["pixel128,0"])

    def test_picture_is_tiled_unscaled_from_the_top_left(self):
        png_file(self.path("tile.png"), 4, 4, lambda x, y: (255, 0, 0) if (x, y) == (0, 0) else (0, 0, 255))
        project = self.compile("""object frmMain: TfrmMain
  ClientWidth = 100
  ClientHeight = 50
  BackGround = afsGlyph
  Picture.Data = picture('tile.png')
end
""")
        fields = self.run_menu([project], pixels=["0,0", "4,0", "96,48", "1,0", "97,49"])
        for spot in ["0,0", "4,0", "96,48"]:
            self.assertEqual(fields["pixel" + spot], "ff0000", spot)
        for spot in ["1,0", "97,49"]:
            self.assertEqual(fields["pixel" + spot], "0000ff", spot)


PAGED = """object frmMain: TfrmMain
  Caption = 'Menu'
  Pages.Strings = (
    'Home'
    'Intro')
  StartupPage = 0
  UsePageCaption = True
end
"""


class StartPage(MenuhostCase):
    def test_page_named_after_p_opens_regardless_of_case(self):
        project = self.compile(PAGED)
        cases = [(["-p", "intro", project], "Intro"),
                 ([project, "-p", "NoSuchPage"], "Home"),
                 ([project, "-p"], "Home")]
        for args, caption in cases:
            with self.subTest(args=args):
                self.assertEqual(self.run_menu(args)["caption"], caption)


class LocatingTheProject(MenuhostCase):
    def test_project_beside_the_program_with_its_name(self):
        program = self.path("autorun.exe")
        shutil.copy(MENUHOST, program)
        self.compile("object frmMain: TfrmMain\n  Caption = 'Beside me'\nend\n", "autorun.orb")
        self.assertEqual(self.run_menu(program=program)["caption"], "Beside me")

    def test_project_appended_to_the_program_in_each_placement(self):
        source = self.path("one.txt")
        with open(source, "w") as f:
            f.write("object frmMain: TfrmMain\n  Caption = 'Inside me'\n  ClientWidth = 300\n  ClientHeight = 200\nend\n")
        for placement in ["direct", "relative", "absolute"]:
            with self.subTest(placement):
                program = self.path("onefile-%s.exe" % placement)
                subprocess.run([ORBPROJ, "bundle", MENUHOST, source, program, "--placement", placement], check=True)
                fields = self.run_menu(program=program)
                self.assertEqual(fields["caption"], "Inside me")
                self.assertEqual(numbers(fields["client"]), (300, 200))

    def test_a_project_named_on_the_command_line_beats_the_appended_one(self):
        source = self.path("one.txt")
        with open(source, "w") as f:
            f.write("object frmMain: TfrmMain\n  Caption = 'Inside me'\nend\n")
        program = self.path("onefile.exe")
        subprocess.run([ORBPROJ, "bundle", MENUHOST, source, program], check=True)
        named = self.compile("object frmMain: TfrmMain\n  Caption = 'Named'\nend\n")
        self.assertEqual(self.run_menu([named], program=program)["caption"], "Named")


if __name__ == "__main__":
    unittest.main()
