#pragma once
// menuhost's media at start and end of the run: the built-in engine and the
// system's players for the whole process, the audio library's warning, and
// the background music with its pause while another program is active.
#include <memory>

#include "app/OrbForm.h"
#include "framework/FormWindow.h"

namespace orb {

class BuiltInEngine;
class SystemMediaPlayers;

// Lives for the whole of WinMain. Finalisation stops the engine, unloads it
// and deletes its file, also when it never loaded.
class MediaRuntime {
public:
    MediaRuntime();
    ~MediaRuntime();
    MediaRuntime(const MediaRuntime&) = delete;
    MediaRuntime& operator=(const MediaRuntime&) = delete;

    // False when the engine could not even be written out; the program then ends
    // after the error has been shown.
    bool started() const { return started_; }
    // Finalisation ahead of time, for the paths that leave through ExitProcess.
    void shutdown();

private:
    std::unique_ptr<BuiltInEngine> engine_;
    std::unique_ptr<SystemMediaPlayers> players_;
    bool started_ = false;
};

// What the early exits call before ExitProcess; nothing outside a MediaRuntime.
void ShutdownMedia();

// A music player control on the window cannot play without audiere.dll: say so once.
void WarnMissingAudioEngine(const TOrbForm& form);

// AutoPlayMusic starts StartupSound; with AutoMusic it pauses while another
// program is active and starts from the beginning when menuhost is again.
void StartBackgroundMusic(TOrbForm& form, FormWindow& window);

}  // namespace orb
