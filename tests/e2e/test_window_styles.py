#!/usr/bin/env python3
"""The main window's styles as a user sees them: border, full-screen placement,
the shaped window's outline, opacity, and closing with ESC."""
import os
import shutil
import subprocess
import time

from test_menuhost import INSPECT, MENUHOST, SCREEN, WINE, MenuhostCase, inspect_line, numbers, png_file

WS_CAPTION = 0x00C00000
WS_EX_LAYERED = 0x00080000
VK_ESCAPE = 27


def project(body, controls=""):
    # The authoring tool stores DesignMode = True; leaving it is what applies the style.
    return "object frmMain: TfrmMain\n  DesignMode = True\n%s%send\n" % (body, controls)


class WindowStyles(MenuhostCase):
    def test_normal_and_borderless_windows_keep_their_client_size(self):
        for style, caption in [("awsNormal", True), ("awsNoBorder", False)]:
            with self.subTest(style=style):
                menu = self.compile(project("  WindowStyle = %s\n  ClientWidth = 320\n  ClientHeight = 200\n" % style))
                fields = self.run_menu([menu])
                self.assertEqual(numbers(fields["client"]), (320, 200))
                self.assertEqual(bool(int(fields["style"], 16) & WS_CAPTION), caption)
                if not caption:
                    self.assertEqual(numbers(fields["window"])[2:], (320, 200))

    def test_full_screen_overlaps_each_edge_by_one_pixel_and_centres_the_controls(self):
        menu = self.compile(project(
            "  WindowStyle = awsFullScreen\n  ClientWidth = 640\n  ClientHeight = 480\n  Color = clRed\n",
            "  object Box: TOrbTextBox\n    Left = 10\n    Top = 10\n    Width = 20\n    Height = 20\n"
            "    Color = clLime\n  end\n"))
        # The window's client starts at (-1, -1): the box at (203, 155) shows at screen (202, 154).
        fields = self.run_menu([menu], pixels=["204,156", "200,150"])
        self.assertEqual(numbers(fields["window"]), (-1, -1, SCREEN[0] + 2, SCREEN[1] + 2))
        self.assertEqual(numbers(fields["client"]), (SCREEN[0] + 2, SCREEN[1] + 2))
        self.assertEqual(fields["pixel204,156"], "00ff00")
        self.assertEqual(fields["pixel200,150"], "ff0000")

    def test_shaped_window_takes_the_picture_size_and_leaves_out_its_corner_colour(self):
        # 60 x 40, the top-left colour (white) cut away around a blue block.
        png_file(self.path("shape.png"), 60, 40,
                 lambda x, y: (0, 0, 255) if 10 <= x < 50 and 10 <= y < 30 else (255, 255, 255))
        menu = self.compile(project("  WindowStyle = awsShaped\n  Picture.Data = picture('shape.png')\n"))
        fields = self.run_menu([menu], pixels=["20,20", "2,2"])
        self.assertEqual(numbers(fields["client"]), (60, 40))
        self.assertEqual(int(fields["style"], 16) & WS_CAPTION, 0)
        self.assertIn("region", fields)
        self.assertEqual(fields["inregion20,20"], "1")
        self.assertEqual(fields["inregion2,2"], "0")
        self.assertEqual(fields["pixel20,20"], "0000ff")

    def test_shaped_window_with_a_jpeg_keeps_its_border_and_no_region(self):
        subprocess.run(["convert", "-size", "30x20", "xc:blue", self.path("shape.jpg")], check=True)
        menu = self.compile(project("  WindowStyle = awsShaped\n  ClientWidth = 200\n  ClientHeight = 100\n"
                                    "  Picture.Data = picture('shape.jpg')\n"))
        fields = self.run_menu([menu])
        self.assertTrue(int(fields["style"], 16) & WS_CAPTION)
        self.assertNotIn("region", fields)
        self.assertEqual(numbers(fields["client"]), (200, 100))

    def test_opacity_below_100_makes_a_layered_window(self):
        for alpha, expected in [(50, "127"), (100, None)]:
            with self.subTest(alpha=alpha):
                menu = self.compile(project("  AlphaValue = %d\n" % alpha))
                fields = self.run_menu([menu])
                self.assertEqual(bool(int(fields["exstyle"], 16) & WS_EX_LAYERED), expected is not None)
                self.assertEqual(fields.get("alpha"), expected)


class EscapeKey(MenuhostCase):
    def run_and_press_escape(self, menu):
        proc = subprocess.Popen([WINE, MENUHOST, menu], cwd=self.dir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            seen = subprocess.run([WINE, INSPECT, "TfrmMain", "20000"], capture_output=True, text=True, timeout=60)
            self.assertEqual(inspect_line(seen.stdout).get("found"), "1")
            subprocess.run([WINE, INSPECT, "--key", "TfrmMain", str(VK_ESCAPE)], timeout=60)
            try:
                proc.wait(timeout=8)
                return True
            except subprocess.TimeoutExpired:
                subprocess.run([WINE, INSPECT, "--close", "TfrmMain"], timeout=60)
                proc.wait(timeout=60)
                return False
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()

    def test_escape_closes_only_when_the_project_asks(self):
        for setting, closes in [("True", True), ("False", False)]:
            with self.subTest(ExitWithESC=setting):
                menu = self.compile(project("  ExitWithESC = %s\n" % setting))
                self.assertEqual(self.run_and_press_escape(menu), closes)


class LaunchAtStart(MenuhostCase):
    def test_launch_only_runs_the_program_and_never_shows_the_menu(self):
        writer = os.path.join(os.path.dirname(INSPECT), "argwriter.exe")
        shutil.copy(writer, self.path("argwriter.exe"))
        menu = self.compile(project("  LaunchApp = 'argwriter.exe'\n  LaunchParam = 'launched.txt first'\n"
                                    "  LaunchWait = True\n  LaunchOnly = True\n"))
        proc = subprocess.run([WINE, MENUHOST, menu], cwd=self.dir, timeout=120,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertEqual(proc.returncode, 0)
        for _ in range(100):  # launch-only does not wait for the program
            if os.path.exists(self.path("launched.txt")):
                break
            time.sleep(0.1)
        with open(self.path("launched.txt"), encoding="utf-8") as f:
            self.assertEqual(f.read().split(), ["first"])
        seen = subprocess.run([WINE, INSPECT, "TfrmMain", "500"], capture_output=True, text=True, timeout=60)
        self.assertEqual(inspect_line(seen.stdout).get("found"), "0")
