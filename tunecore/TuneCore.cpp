// The built-in engine: one current sound, played from memory or a file on
// the default device. Four C exports; no exception leaves them.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "audio/AudioInterface.h"
#include "audio/core/Engine.h"
#include "audio/core/Ref.h"

using namespace adr;

namespace {

// The current sound. Each field may be empty: a sound whose device or data
// failed is still current until the next Play or Stop.
struct Holder {
  RefPtr<AudioDevice> device;
  RefPtr<File> memory;
  RefPtr<OutputStream> stream;
};

std::unique_ptr<Holder> g_current;

void stopCurrent() {
  if (!g_current)
    return;
  // The stream first: releasing it stops it before its device goes.
  g_current->stream = {};
  g_current->memory = {};
  g_current->device = {};
  g_current.reset();
}

void startStream(Holder& holder, SampleSource* source, bool loop) {
  if (!source)
    return;
  holder.stream = RefPtr<OutputStream>::adopt(AdrOpenSound(holder.device.get(), source, true));
  if (holder.stream) {
    holder.stream->setRepeat(loop);
    holder.stream->play();
  }
}

} // namespace

extern "C" {

// The flags arrive as one byte in a wider argument slot; only that byte counts.
void Orb_Audiere_Play(const void* data, int32_t size, uint8_t loop, int32_t format) {
  try {
    stopCurrent();
    auto holder = std::make_unique<Holder>();
    holder->device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("", ""));
    if (holder->device)
      holder->memory = RefPtr<File>::adopt(AdrCreateMemoryFile(data, size));
    if (holder->memory) {
      auto source = RefPtr<SampleSource>::adopt(
          AdrOpenSampleSourceFromFile(holder->memory.get(), static_cast<FileFormat>(format)));
      startStream(*holder, source.get(), loop != 0);
    }
    g_current = std::move(holder);
  } catch (...) {
  }
}

void Orb_Audiere_PlayFile(const char* name, uint8_t loop) {
  try {
    stopCurrent();
    auto holder = std::make_unique<Holder>();
    holder->device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("", ""));
    if (holder->device) {
      auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSource(name, FF_AUTODETECT));
      startStream(*holder, source.get(), loop != 0);
    }
    g_current = std::move(holder);
  } catch (...) {
  }
}

void Orb_Audiere_Stop() {
  try {
    stopCurrent();
  } catch (...) {
  }
}

int32_t Orb_Audiere_IsPlaying() {
  try {
    return g_current && g_current->stream && g_current->stream->isPlaying() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // When the process ends, the system has already ended the engine's threads
  // and closes its device; only an unload in a running process stops the
  // sound. The loader lock is held here, so the engine must not join threads.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    Engine::setJoinAllowed(false);
    Orb_Audiere_Stop();
    Engine::setJoinAllowed(true);
  }
  return TRUE;
}

} // extern "C"
