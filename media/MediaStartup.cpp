#include "media/MediaStartup.h"

#include <exception>

#include "actions/ActionControlWin.h"
#include "actions/ActionDispatch.h"
#include "media/AudiereLibrary.h"
#include "media/AudioPlayback.h"
#include "media/BuiltInEngine.h"

namespace orb {

namespace {

MediaRuntime* g_runtime = nullptr;

}  // namespace

MediaRuntime::MediaRuntime() {
    try {
        engine_ = std::make_unique<BuiltInEngine>();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "Error", MB_ICONERROR | MB_OK);
        return;
    }
    players_ = std::make_unique<SystemMediaPlayers>();
    started_ = true;
    g_runtime = this;
}

MediaRuntime::~MediaRuntime() { shutdown(); }

void MediaRuntime::shutdown() {
    if (g_runtime == this) g_runtime = nullptr;
    players_.reset();
    AudiereLibrary::instance().unload();
    engine_.reset();
}

void ShutdownMedia() {
    if (g_runtime) g_runtime->shutdown();
}

void WarnMissingAudioEngine(const TOrbForm& form) {
    bool hasPlayer = false;
    for (const Control* c : form.controls()) hasPlayer |= c->classInfo().name == "TOrbAudierePlayer";
    if (!hasPlayer) return;
    // The music player loads the library when it is created; asking again costs nothing.
    AudiereLibrary::instance().load();
    if (!AudiereLibrary::instance().available())
        MessageBoxW(nullptr, L"Unable to load audiere.dll, music player control may not work.", form.caption().c_str(),
                    MB_ICONEXCLAMATION);
}

void StartBackgroundMusic(TOrbForm& form, FormWindow& window) {
    // Clicks switch the same music on and off, and play their sounds through the values.
    backgroundMusic() = {[](TOrbForm& f) { return f.startupSound.isPlaying(); },
                         [](TOrbForm& f) { f.startupSound.play(f.loop); },
                         [](TOrbForm& f) { f.startupSound.stop(); }};
    actionControlHooks().playWave = [](const TWaveData& sound, bool wait) {
        if (wait)
            sound.playSync();
        else
            sound.play();
    };
    if (form.autoPlayMusic) form.startupSound.play(form.loop);
    window.addMessageHandler([&form](UINT msg, WPARAM wp, LPARAM, LRESULT&) {
        if (msg == WM_ACTIVATEAPP && form.autoMusic) {
            if (wp)
                form.startupSound.play(form.loop);
            else
                form.startupSound.stop();
        }
        return false;  // others want to see activation too
    });
}

}  // namespace orb
