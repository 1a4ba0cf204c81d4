// The SDL2_mixer device on SDL's dummy audio driver: a WAV (with an odd-sized LIST chunk) and a
// MIDI file from tests/data/sound start playing and stop; undecodable bytes are refused.

#include "platform/audio/SdlAudio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> fixture(const char* name)
{
    std::ifstream file(std::string(QEL_TEST_DATA) + "/sound/" + name, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

} // namespace

TEST(SdlAudio, WaveAndMidiPlayOnTheDummyDriver)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto audio = platform::audio::SdlAudio::open();
    ASSERT_TRUE(audio) << "the dummy driver always opens";

    std::vector<uint8_t> wave = fixture("tone.wav");
    ASSERT_FALSE(wave.empty());
    ASSERT_TRUE(audio->playSound(wave.data(), wave.size(), false));
    EXPECT_TRUE(audio->soundActive());
    audio->stopSound();
    EXPECT_FALSE(audio->soundActive());
    ASSERT_TRUE(audio->playSound(wave.data(), wave.size(), true));
    EXPECT_TRUE(audio->soundActive());

    std::vector<uint8_t> midi = fixture("tune.mid");
    ASSERT_FALSE(midi.empty());
    ASSERT_TRUE(audio->playMusic(midi.data(), midi.size()));
    EXPECT_TRUE(audio->musicActive());
    EXPECT_TRUE(audio->soundActive()) << "music and sound play side by side";
    audio->stopMusic();
    EXPECT_FALSE(audio->musicActive());

    const uint8_t junk[] = { 'R', 'I', 'F', 'F', 1, 2, 3 };
    EXPECT_FALSE(audio->playSound(junk, sizeof junk, false));
    EXPECT_FALSE(audio->soundActive()) << "a refused sound replaces the one that played";
    EXPECT_FALSE(audio->playMusic(junk, sizeof junk));

    EXPECT_TRUE(audio->setWaveVolume(0x80008000));
    EXPECT_EQ(audio->waveVolume(), 0x80008000u);
}
