#pragma once

// Sounds and music: values of type 19 whose object is a qelSoundObject ("wav", a RIFF WAVE
// sound) or a qelMusicObject ("mid", a standard MIDI file, Music.h). Either holds its source:
// a file name (string) or the file's bytes (buffer).
//
// At most one sound plays at a time, and a sound is never interrupted by another: playing
// while one plays is refused. The end of a sound is found by time: its end time is computed at
// the start, and the event loop's poll (qelPollMedia) posts the media notice (the sound,
// "ended") on its first turn after that time, whether or not the audible sound has finished.
// Stopping a playing sound or music posts (the value, "aborted"). Positions count samples at
// 22050 per second whatever the file's rate. All of these times are computed in 64 bits.
//
// Playing goes to the process audio device (platform/audio): the bytes are handed over, read
// from the file when the source is a file name.

#include "framework/runtime/Event.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

#include <cstdint>

// Positions are samples at this rate.
constexpr int32_t QEL_POSITION_RATE = 22050;

// What sounds and music share: the source and the play controls. The generic qelPlay, qelStop
// and qelIsPlaying reach these through qelMediaProtocol.
class qelSoundBaseObject : public qelObject, public qelMediaProtocol {
public:
    qelSoundBaseObject(const qelValue& source, int32_t inMemory)
        : m_source(source)
        , m_inMemory(inMemory)
    {
    }

    // "wav" or "mid".
    virtual const char* typeName() const = 0;
    int32_t inMemory() const { return m_inMemory; }
    const qelValue& source() const { return m_source; }
    // In milliseconds.
    virtual int32_t duration() const = 0;
    // `self` is the value holding this object. from and to are positions; to < 0 plays to the
    // end. 1 when it started.
    int32_t play(const qelValue& self, int32_t from, int32_t to, int32_t repeat) override = 0;
    virtual int32_t loop(const qelValue& self) = 0;
    // The position of what plays now, or -1.
    virtual int32_t position() = 0;

    int32_t length() override { return 0; }
    int32_t show() override { return 0; }
    int32_t hide() override { return 0; }
    int32_t move(int32_t, int32_t) override { return 0; }
    int32_t resize(int32_t, int32_t) override { return 0; }

    // The bytes to play: the buffer, or the file read whole (nil when it cannot be read).
    qelValue bytes() const;

private:
    qelValue m_source;
    int32_t m_inMemory;
};

class qelSoundObject final : public qelSoundBaseObject {
public:
    // Reads the header from the file or the buffer; a bad header is reported through qelError
    // ("Not a valid sound file") and leaves a sound of no length.
    qelSoundObject(const qelValue& source, int32_t inMemory);

    const char* typeName() const override { return "wav"; }
    int32_t duration() const override;
    int32_t play(const qelValue& self, int32_t from, int32_t to, int32_t repeat) override;
    int32_t loop(const qelValue& self) override;
    int32_t isPlaying() override;
    int32_t stop() override;
    int32_t position() override;

    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t sampleCount = 0;
    int32_t looping = 0;
};

// The sound or music object of a value, or null.
qelSoundBaseObject* qelSoundOf(const qelValue& value);

// A sound over the file: "wav" makes a sound, "mid" music, by the lower-case extension; any
// other is the error "Unsupported sound type: " + the extension (nil).
qelValue qelMakeSound(const qelValue& path);
// An in-memory sound ("wav") or music ("mid") over the buffer; nil for any other type name.
qelValue qelMakeSoundValue(const qelValue& buffer, const qelValue& typeName);
// The value itself when it is in memory; else its file read whole and made in memory (nil when
// the file cannot be read).
qelValue qelSoundToMemory(const qelValue& sound);
// Loops the sound (music does not loop).
int32_t qelPlayLooped(const qelValue& media);

// Notices a sound's end: when one plays, does not loop and its end time has come, it is
// forgotten and (the sound, "ended") is posted with the end time as the event's time. Answers
// whether a sound is still playing.
int32_t qelCheckSoundEnded();
// The event loop's poll: the same check; true while a sound plays (the loop keeps polling).
bool qelPollMedia();
// Runs the check, then stops the current sound, if any.
void qelStopCurrentSound();
// A media notice: type 0x2000 at the time, value a the list (media, notice), value b nil.
qelEvent qelMakeMediaEvent(const qelValue& media, const qelValue& notice, int32_t time);

// The sound that plays now (nil when none), and whether one is counted as playing.
qelValue qelCurrentSound();
int32_t qelSoundPlayingFlag();
// Forgets the current sound and music without touching the device (tests, shut-down).
void qelResetSoundState();

// Installs the sound makers (decoder, text notation, resource loader), the fields reader of the
// encoder, and the environment's services for stopping the sound and for the volume.
void qelInstallSoundServices();
