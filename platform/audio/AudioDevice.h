#pragma once

// The audio output of the process: one sound channel (a RIFF WAVE played once or looped), one
// music channel (a standard MIDI file rendered with the General MIDI sound font) and the
// output volumes. Playing is asynchronous; the framework finds the end of a sound by time, so
// the device reports no ends.
//
// Volumes are the classic two-channel words: the left channel in the high 16 bits, the right
// in the low 16 bits, each 0..65535.
//
// Two devices: SdlAudio (SDL2_mixer) for the program, NullAudio for tests, headless runs and
// machines without an audio output. The process device is chosen on first use: SDL2_mixer when
// it opens, else the null device.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::audio {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Starts a sound from the bytes of a RIFF WAVE file (copied), replacing the one playing;
    // false when it cannot be decoded or played.
    virtual bool playSound(const uint8_t* bytes, size_t size, bool loop) = 0;
    virtual void stopSound() = 0;

    // Starts a MIDI piece from the bytes of a standard MIDI file (copied), replacing the one
    // playing; false on failure.
    virtual bool playMusic(const uint8_t* bytes, size_t size) = 0;
    virtual void stopMusic() = 0;

    // A movie's sound track on a channel of its own beside the sound and the music: 16-bit
    // stereo samples at movieSoundRate() a second, replacing the one playing; empty samples stop
    // it. A device without that channel answers a rate of 0, and movies play silently.
    virtual bool playMovieSound(const std::vector<int16_t>& samples) { return samples.empty(); }
    virtual int movieSoundRate() { return 0; }

    // The wave output's volume word; nothing when it cannot be read.
    virtual std::optional<uint32_t> waveVolume() = 0;
    virtual bool setWaveVolume(uint32_t volume) = 0;
    virtual bool setMidiVolume(uint32_t volume) = 0;
};

// A device that plays nothing and records what it was asked. Every call succeeds unless the
// matching failure switch is set; the volumes start at full scale on both channels.
class NullAudio final : public AudioDevice {
public:
    struct Call {
        std::string kind; // "sound", "stop sound", "music", "stop music"
        size_t size = 0; // the bytes given
        bool loop = false;
    };

    bool playSound(const uint8_t* bytes, size_t size, bool loop) override;
    void stopSound() override;
    bool playMusic(const uint8_t* bytes, size_t size) override;
    void stopMusic() override;
    std::optional<uint32_t> waveVolume() override;
    bool setWaveVolume(uint32_t volume) override;
    bool setMidiVolume(uint32_t volume) override;

    std::vector<Call> calls;
    bool soundFails = false;
    bool musicFails = false;
    bool volumeFails = false;
    uint32_t wave = 0xFFFFFFFF;
    uint32_t midi = 0xFFFFFFFF;
    // What plays now (cleared by the stops).
    bool soundPlaying = false;
    bool soundLooping = false;
    bool musicPlaying = false;
};

// The process device (made on first use) and its replacement; a null pointer goes back to
// choosing on next use.
AudioDevice& audioDevice();
void setAudioDevice(std::unique_ptr<AudioDevice> device);
// Makes the process device a new NullAudio and answers it (tests, headless runs).
NullAudio& useNullAudio();
// Whether the process device has been made or set.
bool audioDeviceChosen();

} // namespace platform::audio
