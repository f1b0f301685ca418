#pragma once
// One MIDI file played through the system's MCI sequencer, restarted at its
// end when looping. The device reports the end to a hidden window of ours.
#include <string>

#include "framework/Win32.h"

namespace orb {

class TOrbMidiPlayer {
public:
    TOrbMidiPlayer();
    ~TOrbMidiPlayer();
    TOrbMidiPlayer(const TOrbMidiPlayer&) = delete;
    TOrbMidiPlayer& operator=(const TOrbMidiPlayer&) = delete;

    std::wstring fileName;
    bool loop = false;

    // From the beginning, with a fresh device; silent when the file is missing,
    // the system has no wave output or the sequencer refuses the file.
    void play();
    void stop();
    bool isPlaying() const { return playing_; }

    HWND notifyWindow() const { return window_; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void finished();

    HWND window_ = nullptr;
    UINT device_ = 0;
    bool playing_ = false;
};

}  // namespace orb
