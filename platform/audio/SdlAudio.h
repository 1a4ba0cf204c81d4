#pragma once

// The audio device over SDL2_mixer: sounds on mixer channel 0, music on the mixer's music
// stream, MIDI rendered by the mixer's synthesizer with the General MIDI sound font that the
// system's packages install.

#include "platform/audio/AudioDevice.h"

namespace platform::audio {

class SdlAudio final : public AudioDevice {
public:
    // Opens the audio output; null when there is none (no device, or the mixer refuses).
    static std::unique_ptr<SdlAudio> open();
    ~SdlAudio() override;

    bool playSound(const uint8_t* bytes, size_t size, bool loop) override;
    void stopSound() override;
    bool playMusic(const uint8_t* bytes, size_t size) override;
    void stopMusic() override;
    bool playMovieSound(const std::vector<int16_t>& samples) override;
    int movieSoundRate() override;
    std::optional<uint32_t> waveVolume() override { return m_wave; }
    bool setWaveVolume(uint32_t volume) override;
    bool setMidiVolume(uint32_t volume) override;

    // Whether the mixer is still playing the sound or the music (for smoke tests).
    bool soundActive() const;
    bool musicActive() const;

private:
    SdlAudio() = default;
    bool startChunk(void* chunk, bool loop);
    bool startMusic(void* music);

    void* m_chunk = nullptr;
    void* m_music = nullptr;
    // Memory music is read while it plays: the bytes stay here until it stops.
    std::vector<uint8_t> m_musicBytes;
    // A movie's sound plays from these samples, kept until it stops.
    void* m_movieChunk = nullptr;
    std::vector<int16_t> m_movieSamples;
    uint32_t m_wave = 0xFFFFFFFF;
    uint32_t m_midi = 0xFFFFFFFF;
};

} // namespace platform::audio
