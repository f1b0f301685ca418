#pragma once
// Sources that decode nothing: synthesised tones and noise, sample buffers in
// memory, loop points over another source; and sound effects built on them.

#include "audio/core/Ref.h"

namespace adr {

RefPtr<SampleSource> makeTone(double frequency);
RefPtr<SampleSource> makeSquareWave(double frequency);
RefPtr<SampleSource> makeWhiteNoise();
RefPtr<SampleSource> makePinkNoise();

// Copies the samples.
RefPtr<SampleBuffer> makeSampleBuffer(const void* samples, int frameCount, int channelCount, int sampleRate,
                                      SampleFormat format);
// Decodes a whole finite source into memory; null for endless sources.
RefPtr<SampleBuffer> makeSampleBufferFromSource(SampleSource* source);

RefPtr<LoopPointSource> makeLoopPointSource(SampleSource* source);

RefPtr<SoundEffect> makeSoundEffect(AudioDevice* device, SampleSource* source, SoundEffectType type);

} // namespace adr
