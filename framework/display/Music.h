#pragma once

// Music: a standard MIDI file ("mid") played on the audio device's music channel. One piece
// plays at a time and starting one while another plays is refused. The piece played is the
// object's own source (file or bytes). No end is detected: a piece counts as playing until it
// is stopped. Music never touches movies: only the music channel is closed.

#include "framework/display/Sound.h"

class qelMusicObject final : public qelSoundBaseObject {
public:
    // A music object from a file also records the file as the last music file.
    qelMusicObject(const qelValue& source, int32_t inMemory);

    const char* typeName() const override { return "mid"; }
    int32_t duration() const override { return 10; }
    int32_t play(const qelValue& self, int32_t from, int32_t to, int32_t repeat) override;
    int32_t loop(const qelValue&) override { return 0; }
    int32_t isPlaying() override;
    int32_t stop() override;
    int32_t position() override;
};

// The current music (nil when none) and the last music file made.
qelValue qelCurrentMusic();
qelValue qelMusicFile();
