#include "platform/audio/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace platform::audio {

namespace {

    constexpr int soundChannel = 0;
    constexpr int movieChannel = 1;

    // The General MIDI sound fonts the system's packages install, preferred first.
    const char* const soundFonts[] = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    };

    bool fileExists(const char* path)
    {
        std::ifstream file(path);
        return file.good();
    }

    // The mixer's volume (0..128) for a volume word: the mean of the two channels.
    int mixerVolume(uint32_t word)
    {
        uint32_t mean = ((word >> 16) + (word & 0xFFFF)) / 2;
        return int(mean * MIX_MAX_VOLUME / 0xFFFF);
    }

} // namespace

std::unique_ptr<SdlAudio> SdlAudio::open()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_Init(MIX_INIT_MID);
    // The synthesizer looks for its font where the environment says; otherwise the first one
    // installed.
    if (!std::getenv("SDL_SOUNDFONTS")) {
        for (const char* font : soundFonts) {
            if (fileExists(font)) {
                Mix_SetSoundFonts(font);
                break;
            }
        }
    }
    Mix_AllocateChannels(2);
    return std::unique_ptr<SdlAudio>(new SdlAudio);
}

SdlAudio::~SdlAudio()
{
    playMovieSound({});
    stopSound();
    stopMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::startChunk(void* chunk, bool loop)
{
    stopSound();
    if (!chunk)
        return false;
    m_chunk = chunk;
    Mix_Volume(soundChannel, mixerVolume(m_wave));
    if (Mix_PlayChannel(soundChannel, static_cast<Mix_Chunk*>(chunk), loop ? -1 : 0) < 0) {
        stopSound();
        return false;
    }
    return true;
}

bool SdlAudio::playSound(const uint8_t* bytes, size_t size, bool loop)
{
    // The chunk is decoded whole at load, so the bytes need not outlive the call.
    if (!bytes || size == 0 || size > size_t(INT32_MAX))
        return false;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes, int(size));
    return startChunk(rw ? Mix_LoadWAV_RW(rw, 1) : nullptr, loop);
}

void SdlAudio::stopSound()
{
    if (!m_chunk)
        return;
    Mix_HaltChannel(soundChannel);
    Mix_FreeChunk(static_cast<Mix_Chunk*>(m_chunk));
    m_chunk = nullptr;
}

bool SdlAudio::startMusic(void* music)
{
    if (!music) {
        m_musicBytes.clear();
        return false;
    }
    m_music = music;
    Mix_VolumeMusic(mixerVolume(m_midi));
    if (Mix_PlayMusic(static_cast<Mix_Music*>(music), 0) != 0) {
        stopMusic();
        return false;
    }
    return true;
}

bool SdlAudio::playMusic(const uint8_t* bytes, size_t size)
{
    stopMusic();
    if (!bytes || size == 0 || size > size_t(INT32_MAX))
        return false;
    m_musicBytes.assign(bytes, bytes + size);
    SDL_RWops* rw = SDL_RWFromConstMem(m_musicBytes.data(), int(m_musicBytes.size()));
    // A standard MIDI file goes straight to the synthesizer; anything else (a RIFF-wrapped MIDI
    // file) is recognised by the mixer, which refuses what it cannot play.
    bool standardMidi = size >= 4 && std::memcmp(bytes, "MThd", 4) == 0;
    if (!rw)
        return startMusic(nullptr);
    return startMusic(standardMidi ? Mix_LoadMUSType_RW(rw, MUS_MID, 1) : Mix_LoadMUS_RW(rw, 1));
}

void SdlAudio::stopMusic()
{
    if (m_music) {
        Mix_HaltMusic();
        Mix_FreeMusic(static_cast<Mix_Music*>(m_music));
        m_music = nullptr;
    }
    m_musicBytes.clear();
}

bool SdlAudio::setWaveVolume(uint32_t volume)
{
    m_wave = volume;
    Mix_Volume(soundChannel, mixerVolume(volume));
    return true;
}

bool SdlAudio::setMidiVolume(uint32_t volume)
{
    m_midi = volume;
    Mix_VolumeMusic(mixerVolume(volume));
    return true;
}

bool SdlAudio::soundActive() const
{
    return m_chunk && Mix_Playing(soundChannel);
}

bool SdlAudio::musicActive() const
{
    return m_music && Mix_PlayingMusic();
}

bool SdlAudio::playMovieSound(const std::vector<int16_t>& samples)
{
    Mix_HaltChannel(movieChannel);
    Mix_FreeChunk(static_cast<Mix_Chunk*>(m_movieChunk));
    m_movieChunk = nullptr;
    m_movieSamples = samples;
    if (m_movieSamples.empty())
        return true;
    // The samples are in the mixer's own format (movieSoundRate), so they play as they are.
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(
        reinterpret_cast<Uint8*>(m_movieSamples.data()), Uint32(m_movieSamples.size() * sizeof(int16_t)));
    if (!chunk)
        return false;
    m_movieChunk = chunk;
    Mix_Volume(movieChannel, mixerVolume(m_wave));
    return Mix_PlayChannel(movieChannel, chunk, 0) >= 0;
}

int SdlAudio::movieSoundRate()
{
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (!Mix_QuerySpec(&rate, &format, &channels) || format != AUDIO_S16SYS || channels != 2)
        return 0;
    return rate;
}

} // namespace platform::audio
