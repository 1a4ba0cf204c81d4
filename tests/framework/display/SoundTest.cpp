// Sounds and music on the null audio device and the headless virtual clock: WAV headers, end
// notices found by time, refusals while something plays, loops, music, volume, and the sound
// values' makers.

#include "../runtime/ErrorRecorder.h"
#include "../runtime/HeadlessFixture.h"

#include "framework/display/Music.h"
#include "framework/display/Sound.h"
#include "framework/display/SoundHeader.h"
#include "framework/display/Volume.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/StringObject.h"
#include "platform/audio/AudioDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

void put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void putTag(Bytes& b, const char* tag)
{
    b.insert(b.end(), tag, tag + 4);
}

struct Format {
    uint32_t tag = 1;
    uint32_t channels = 1;
    uint32_t rate = 22050;
    uint32_t blockAlign = 2;
    uint32_t bits = 16;
    int32_t samplesPerBlock = -1; // present (fmt of 20 bytes) when not negative
};

// "RIFF", "WAVE", the fmt chunk, the extra chunks, then a data chunk whose size field is
// `dataSize` followed by `dataBytes` bytes (fewer than the size when a test wants it short).
Bytes wave(const Format& f, uint32_t dataSize, const Bytes& extraChunks = {}, uint32_t dataBytes = 0)
{
    Bytes b;
    putTag(b, "RIFF");
    put32(b, 0);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, f.samplesPerBlock >= 0 ? 20 : 16);
    put16(b, f.tag);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.rate * f.blockAlign);
    put16(b, f.blockAlign);
    put16(b, f.bits);
    if (f.samplesPerBlock >= 0) {
        put16(b, 2);
        put16(b, uint32_t(f.samplesPerBlock));
    }
    b.insert(b.end(), extraChunks.begin(), extraChunks.end());
    putTag(b, "data");
    put32(b, dataSize);
    b.resize(b.size() + dataBytes);
    return b;
}

Bytes chunk(const char* tag, uint32_t size, bool pad)
{
    Bytes b;
    putTag(b, tag);
    put32(b, size);
    b.resize(b.size() + size + (pad ? size & 1 : 0), 'x');
    return b;
}

qelValue bufferOf(const Bytes& bytes)
{
    return qelBufferFromMemory(const_cast<uint8_t*>(bytes.data()), int32_t(bytes.size()), 1);
}

qelValue soundOf(const Bytes& bytes)
{
    return qelMakeSoundValue(bufferOf(bytes), qelStringValue("wav"));
}

// A PCM sound of `samples` samples at 22050 Hz, mono 8-bit (one byte a sample).
qelValue pcmSound(uint32_t samples)
{
    Format f;
    f.blockAlign = 1;
    f.bits = 8;
    return soundOf(wave(f, samples, {}, 16));
}

struct SoundFixture : HeadlessFixture {
    SoundFixture()
    {
        device = &platform::audio::useNullAudio();
        qelResetSoundState();
        qelSetMediaHooks(nullptr, qelPollMedia);
        // The first take only makes the event pool.
        qelEvent first;
        qelGetEvent(first, QEL_ALL_EVENTS, 0);
    }
    ~SoundFixture()
    {
        qelResetSoundState();
        platform::audio::setAudioDevice(nullptr);
    }

    // The next media notice within the time-out: (media, notice), with its time.
    struct Notice {
        qelValue media;
        std::string notice;
        uint32_t time = 0;
    };
    std::optional<Notice> nextNotice(int32_t timeoutMs)
    {
        qelEvent event;
        qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, timeoutMs);
        if (event.type != QEL_MEDIA_NOTICE_EVENT)
            return std::nullopt;
        return Notice { qelGet(event.a, 0), qelCString(qelGet(event.a, 1)), uint32_t(event.time) };
    }

    platform::audio::NullAudio* device = nullptr;
};

} // namespace

TEST(SoundHeader, FormatsChunksAndRefusals)
{
    ErrorRecorder errors;
    Format pcm4;
    pcm4.channels = 2;
    pcm4.blockAlign = 4;
    Format adpcm { 0x11, 1, 22050, 256, 4, 505 };
    Format adpcmStereo { 0x11, 2, 22050, 512, 4, 505 };
    Format ieeeFloat { 3, 2, 44100, 8, 32 };
    Format noAlign = pcm4;
    noAlign.blockAlign = 0;
    Format noChannel = pcm4;
    noChannel.channels = 0;
    Format noRate = pcm4;
    noRate.rate = 0;
    Bytes notRiff = wave(pcm4, 8);
    notRiff[0] = 'X';
    Bytes notWave = wave(pcm4, 8);
    notWave[8] = 'X';
    Bytes fmtTooLong = wave(pcm4, 8);
    fmtTooLong[16] = 200;
    Bytes endsAfterFmt = wave(pcm4, 8);
    endsAfterFmt.resize(36);
    Bytes endsInChunkSize = endsAfterFmt;
    endsInChunkSize.insert(endsInChunkSize.end(), { 'L', 'I', 'S', 'T', 1, 0 });
    Bytes shortWord = { 'R', 'I' };

    struct Case {
        const char* name;
        Bytes bytes;
        int32_t samples; // -1: refused
        const char* error;
    };
    const Case cases[] = {
        { "PCM, 4-byte frames", wave(pcm4, 4 * 22050), 22050, nullptr },
        { "IMA ADPCM mono", wave(adpcm, 10 * 256), 10 * 505, nullptr },
        { "IMA ADPCM stereo", wave(adpcmStereo, 4 * 512), 4 * 505, nullptr },
        { "other format by bits", wave(ieeeFloat, 800), 800 * 8 / 64, nullptr },
        { "LIST chunk skipped", wave(pcm4, 400, chunk("LIST", 26, true)), 100, nullptr },
        { "odd chunk and its pad byte", wave(pcm4, 400, chunk("LIST", 5, true)), 100, nullptr },
        { "two odd chunks",
            wave(pcm4, 400,
                [] {
                    Bytes b = chunk("fact", 3, true);
                    Bytes c = chunk("LIST", 7, true);
                    b.insert(b.end(), c.begin(), c.end());
                    return b;
                }()),
            100, nullptr },
        { "block align 0", wave(noAlign, 400), -1, "Not a valid sound file" },
        { "no channel", wave(noChannel, 400), -1, "Not a valid sound file" },
        { "sample rate 0", wave(noRate, 400), -1, "Not a valid sound file" },
        { "not RIFF", notRiff, -1, "Not a valid sound file" },
        { "not WAVE", notWave, -1, "Not a valid sound file" },
        { "fmt longer than the file", fmtTooLong, -1, "Not a valid sound file" },
        { "chunk larger than the file", wave(pcm4, 8, { 'L', 'I', 'S', 'T', 0xE8, 3, 0, 0, 'x', 'x' }), -1,
            "Not a valid sound file" },
        { "ends before the data chunk", endsAfterFmt, -1, "Cannot read QELINT from stream" },
        { "ends inside a chunk size", endsInChunkSize, -1, "Cannot read QELINT from stream" },
        { "shorter than a word", shortWord, -1, "Cannot read QELINT from stream" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.messages.clear();
        Bytes bytes = c.bytes;
        qelSoundHeader header;
        bool ok = qelReadSoundHeader(qelNewMemoryStream(bytes.data(), int32_t(bytes.size())), header);
        EXPECT_EQ(ok, c.samples >= 0);
        if (c.samples >= 0) {
            EXPECT_EQ(header.sampleCount, c.samples);
            EXPECT_TRUE(errors.messages.empty());
        } else {
            ASSERT_FALSE(errors.messages.empty());
            EXPECT_EQ(errors.messages.front(), c.error);
        }
    }
}

TEST(SoundHeader, DurationsIn64Bits)
{
    // 150 s at 22050 Hz and 48 kHz: a 32-bit product would wrap and end the sound at once.
    EXPECT_EQ(qelSoundDurationMs(150 * 22050, 22050), 150000);
    EXPECT_EQ(qelSoundDurationMs(150 * 48000, 48000), 150000);
    EXPECT_EQ(qelSoundDurationMs(22050, 22050), 1000);
    EXPECT_EQ(qelSoundDurationMs(100, 0), 0);
    // A forged data size counts at most INT32_MAX samples.
    qelSoundHeader h;
    h.formatTag = 1;
    h.blockAlign = 1;
    h.dataSize = 0xFFFFFFFF;
    EXPECT_EQ(qelSoundSampleCount(h), INT32_MAX);
}

TEST(Sound, EndsByTimeAndPostsEndedOnTheEventLoop)
{
    SoundFixture f;
    qelValue sound = pcmSound(22050);
    ASSERT_EQ(qelSoundOf(sound)->duration(), 1000);
    uint32_t start = qelClockNow();
    ASSERT_EQ(qelPlay(sound), 1);
    ASSERT_EQ(f.device->calls.size(), 1u);
    EXPECT_EQ(f.device->calls[0].kind, "sound");
    EXPECT_FALSE(f.device->calls[0].loop);
    EXPECT_EQ(qelCurrentSound(), sound);

    // A second sound is refused while the first plays; the first goes on.
    qelValue other = pcmSound(100);
    EXPECT_EQ(qelPlay(other), 0);
    EXPECT_EQ(f.device->calls.size(), 1u);

    qelWait(500);
    EXPECT_EQ(qelSoundOf(sound)->position(), 500 * 22050 / 1000);
    EXPECT_EQ(qelSoundOf(other)->position(), 500 * 22050 / 1000) << "the position is the current sound's";

    auto notice = f.nextNotice(5000);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->media, sound);
    EXPECT_EQ(notice->notice, "ended");
    EXPECT_EQ(notice->time - start, 1000u);
    EXPECT_LE(qelClockNow() - start, 1000u + 10u) << "noticed within one poll slice";
    EXPECT_TRUE(qelCurrentSound().isNil());
    EXPECT_EQ(qelSoundOf(sound)->position(), -1);
    // Now the other may play.
    EXPECT_EQ(qelPlay(other), 1);
}

TEST(Sound, LongNarrationEndsOnTime)
{
    SoundFixture f;
    qelValue narration = pcmSound(150 * 22050);
    uint32_t start = qelClockNow();
    ASSERT_EQ(qelPlay(narration), 1);
    qelWait(149000);
    EXPECT_EQ(qelIsPlaying(narration), 1);
    EXPECT_EQ(qelSoundOf(narration)->position(), 149 * 22050);
    auto notice = f.nextNotice(10000);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->time - start, 150000u);
}

TEST(Sound, EndPositionsStartPositionsAndEndsNoticedByIsPlaying)
{
    SoundFixture f;
    qelValue sound = pcmSound(22050);
    // Starting anywhere but 0 plays nothing.
    EXPECT_EQ(qelPlay(sound, 100, -1), 0);
    EXPECT_TRUE(f.device->calls.empty());

    // The end position counts samples at 22050 per second, whatever the sound's own length.
    uint32_t start = qelClockNow();
    ASSERT_EQ(qelPlay(sound, 0, 2 * 22050), 1);
    auto notice = f.nextNotice(10000);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->time - start, 2000u);

    // An end that isPlaying notices first posts nothing.
    ASSERT_EQ(qelPlay(sound), 1);
    qelSetMediaHooks(nullptr, nullptr);
    qelWait(1500);
    EXPECT_EQ(qelIsPlaying(sound), 0);
    EXPECT_EQ(qelStop(sound), 0);
    qelSetMediaHooks(nullptr, qelPollMedia);
    EXPECT_FALSE(f.nextNotice(2000));
}

TEST(Sound, LoopNeverEndsAndStoppingPostsAborted)
{
    SoundFixture f;
    qelValue sound = pcmSound(2205);
    ASSERT_EQ(qelPlayLooped(sound), 1);
    EXPECT_TRUE(f.device->calls.back().loop);
    EXPECT_FALSE(f.nextNotice(5000));
    EXPECT_EQ(qelIsPlaying(sound), 1);
    // Looping is refused while it plays, like playing.
    EXPECT_EQ(qelPlayLooped(pcmSound(10)), 0);

    qelStopCurrentSound();
    EXPECT_EQ(f.device->calls.back().kind, "stop sound");
    auto notice = f.nextNotice(0);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->media, sound);
    EXPECT_EQ(notice->notice, "aborted");
    EXPECT_EQ(qelIsPlaying(sound), 0);
    // Stopping what does not play posts nothing.
    EXPECT_EQ(qelStop(sound), 0);
    EXPECT_FALSE(f.nextNotice(0));
}

TEST(Sound, DeviceRefusalLeavesNothingPlaying)
{
    SoundFixture f;
    f.device->soundFails = true;
    qelValue sound = pcmSound(22050);
    EXPECT_EQ(qelPlay(sound), 0);
    EXPECT_EQ(qelSoundPlayingFlag(), 0);
    EXPECT_TRUE(qelCurrentSound().isNil());
}

TEST(Music, PlaysItsOwnSourceRefusesASecondAndStopsWithAborted)
{
    SoundFixture f;
    Bytes midiA = { 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96 };
    Bytes midiB = midiA;
    midiB.resize(40);
    qelValue first = qelMakeSoundValue(bufferOf(midiA), qelStringValue("mid"));
    qelValue second = qelMakeSoundValue(bufferOf(midiB), qelStringValue("mid"));
    ASSERT_EQ(qelSoundOf(first)->duration(), 10);
    EXPECT_EQ(qelPlayLooped(first), 0) << "music does not loop";

    qelValue sound = pcmSound(22050);
    ASSERT_EQ(qelPlay(sound), 1);
    ASSERT_EQ(qelPlay(second), 1);
    EXPECT_EQ(f.device->calls.back().kind, "music");
    EXPECT_EQ(f.device->calls.back().size, midiB.size()) << "the piece played is the object's own";
    EXPECT_EQ(qelIsPlaying(sound), 1) << "music leaves the sound alone";
    EXPECT_EQ(qelPlay(first), 0);
    EXPECT_EQ(qelIsPlaying(first), 0);
    EXPECT_EQ(qelIsPlaying(second), 1);

    qelWait(1000);
    EXPECT_EQ(qelSoundOf(first)->position(), 22050) << "music counts from its start";
    f.nextNotice(0); // the sound's end
    EXPECT_EQ(qelStop(second), 1);
    EXPECT_EQ(f.device->calls.back().kind, "stop music");
    auto notice = f.nextNotice(0);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->media, second);
    EXPECT_EQ(notice->notice, "aborted");
    EXPECT_EQ(qelSoundOf(second)->position(), -1);
}

TEST(Volume, ScaleRangeAndClamping)
{
    SoundFixture f;
    EXPECT_EQ(qelGetVolume(), 100);
    EXPECT_TRUE(qelSetVolume(50));
    EXPECT_EQ(f.device->wave, 0x7FFF7FFFu);
    EXPECT_EQ(f.device->midi, 0x7FFF7FFFu);
    EXPECT_EQ(qelGetVolume(), 49);

    // Outside 0..range the channels stay within their 16 bits.
    qelSetVolume(250);
    EXPECT_EQ(f.device->wave, 0xFFFFFFFFu);
    qelSetVolume(-5);
    EXPECT_EQ(f.device->wave, 0u);

    // The mean of the two channels.
    f.device->wave = 0xFFFF0000;
    EXPECT_EQ(qelGetVolume(), 49);

    f.setting("Volume Range", 10);
    f.device->wave = 0xFFFFFFFF;
    EXPECT_EQ(qelGetVolume(), 10);
    f.setting("Volume Range", 0);
    EXPECT_EQ(qelGetVolume(), 100) << "a range of 0 counts as 100";

    f.device->volumeFails = true;
    EXPECT_EQ(qelGetVolume(), -1);
    EXPECT_FALSE(qelSetVolume(10));
}

TEST(SoundValues, MakersFilesMemoryAndEncoding)
{
    SoundFixture f;
    ErrorRecorder errors;
    qelInstallSoundServices();

    auto folder = std::filesystem::temp_directory_path()
        / ("qel-sound-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
    Format pcm;
    Bytes bytes = wave(pcm, 2 * 11025, chunk("LIST", 3, true), 2 * 11025);
    std::string path = (folder / "Tone.WAV").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    qelValue file = qelMakeSound(qelStringValue(path.c_str()));
    qelSoundBaseObject* fileSound = qelSoundOf(file);
    ASSERT_TRUE(fileSound);
    EXPECT_STREQ(fileSound->typeName(), "wav");
    EXPECT_EQ(fileSound->inMemory(), 0);
    EXPECT_EQ(fileSound->duration(), 500);
    // Played from its file, the device gets the file's bytes.
    ASSERT_EQ(qelPlay(file), 1);
    EXPECT_EQ(f.device->calls.back().size, bytes.size());

    qelValue memory = qelSoundToMemory(file);
    ASSERT_TRUE(qelSoundOf(memory));
    EXPECT_EQ(qelSoundOf(memory)->inMemory(), 1);
    EXPECT_EQ(qelSoundOf(memory)->duration(), 500);
    EXPECT_EQ(qelSoundToMemory(memory), memory);

    // Encoded and decoded, an in-memory sound keeps its type and bytes.
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    ASSERT_TRUE(qelEncode(stream, memory));
    qelStreamSeek(stream, 0);
    qelValue decoded = qelDecode(stream);
    ASSERT_TRUE(qelSoundOf(decoded));
    EXPECT_EQ(qelSoundOf(decoded)->duration(), 500);
    EXPECT_EQ(qelCount(qelSoundOf(decoded)->source()), int32_t(bytes.size()));

    EXPECT_TRUE(qelMakeSoundValue(bufferOf(bytes), qelStringValue("ogg")).isNil());
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_TRUE(qelMakeSound(qelStringValue("theme.ogg")).isNil());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Unsupported sound type: ogg");

    std::filesystem::remove_all(folder);
    qelResetMakers();
}
