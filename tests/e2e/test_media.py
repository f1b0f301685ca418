#!/usr/bin/env python3
"""Background music heard from outside: menuhost plays its project's music
through the built-in engine, whose default device ORB_AUDIO_DEVICE turns into
a WAV-file recorder, and leaves none of its temporary files behind."""
import math
import os
import struct
import subprocess
import time
import unittest

from test_menuhost import INSPECT, MENUHOST, WINE, MenuhostCase, setUpModule  # noqa: F401


def tone_wav(path, frequency=440.0, seconds=1.0, rate=22050):
    count = int(rate * seconds)
    frames = b"".join(struct.pack("<h", int(16000 * math.sin(2 * math.pi * frequency * i / rate)))
                      for i in range(count))
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 36 + len(frames)) + b"WAVE"
                + b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, 2 * rate, 2, 16)
                + b"data" + struct.pack("<I", len(frames)) + frames)


def recorded_left(path):
    """The left channel of a 16-bit stereo recording, and its rate."""
    with open(path, "rb") as f:
        data = f.read()
    rate = struct.unpack_from("<I", data, 24)[0]
    frames = (len(data) - 44) // 4
    return [struct.unpack_from("<h", data, 44 + 4 * i)[0] / 32768 for i in range(frames)], rate


def pitch(samples, rate):
    rising = [i for i in range(1, len(samples)) if samples[i - 1] <= 0 < samples[i]]
    if len(rising) < 2:
        return 0.0
    return (len(rising) - 1) * rate / (rising[-1] - rising[0])


def windows_temp_folder():
    shown = subprocess.run([WINE, "cmd", "/c", "echo", "%TEMP%"], capture_output=True, text=True, timeout=60)
    unix = subprocess.run([WINE, "winepath", "-u", shown.stdout.strip()],
                          capture_output=True, text=True, timeout=60)
    return unix.stdout.strip()


class BackgroundMusic(MenuhostCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = windows_temp_folder()

    def orb_temp_files(self):
        return {n for n in os.listdir(self.temp) if n.lower().startswith("orb") and n.lower().endswith(".tmp")}

    def play_menu(self, autoplay):
        tone_wav(self.path("music.wav"))
        project = self.compile("""object frmMain: TfrmMain
  StartupSound.Data = data('music.wav')
  AutoPlayMusic = %s
  Loop = True
end
""" % autoplay)
        recording = self.path("heard.wav")
        env = dict(os.environ, ORB_AUDIO_DEVICE="wavfile:Z:" + recording.replace("/", "\\"))
        before = self.orb_temp_files()
        proc = subprocess.Popen([WINE, MENUHOST, project], cwd=self.dir, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            seen = subprocess.run([WINE, INSPECT, "TfrmMain", "20000"], capture_output=True, text=True, timeout=60)
            self.assertIn("found=1", seen.stdout)
            during = self.orb_temp_files() - before
            time.sleep(2.5)  # longer than the one-second music: it must loop
            subprocess.run([WINE, INSPECT, "--close", "TfrmMain"], timeout=60)
            self.assertEqual(proc.wait(timeout=60), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        # The engine's library file was there while menuhost ran, and nothing of ours is left.
        self.assertEqual(len(during), 1, during)
        self.assertEqual(self.orb_temp_files() - before, set())
        return recording

    def test_music_plays_looping_and_no_temporary_file_remains(self):
        recording = self.play_menu("True")
        self.assertTrue(os.path.exists(recording), "nothing was played")
        samples, rate = recorded_left(recording)
        self.assertGreater(len(samples), int(1.5 * rate), "the music did not loop")
        loud = [s for s in samples if abs(s) > 0.1]
        self.assertGreater(len(loud), len(samples) // 4)
        self.assertAlmostEqual(pitch(samples, rate), 440.0, delta=5.0)

    def test_without_autoplay_nothing_is_heard(self):
        recording = self.play_menu("False")
        if os.path.exists(recording):
            samples, _ = recorded_left(recording)
            self.assertFalse([s for s in samples if abs(s) > 0.01])


if __name__ == "__main__":
    unittest.main()
