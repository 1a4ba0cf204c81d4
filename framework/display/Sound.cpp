#include "framework/display/Sound.h"

#include "framework/display/Music.h"
#include "framework/display/SoundHeader.h"
#include "framework/display/SoundState.h"
#include "framework/display/Volume.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "platform/audio/AudioDevice.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <climits>

qelSoundState& qelSoundStateNow()
{
    // Never destroyed: values must not be released after the allocator has gone.
    static qelSoundState* state = new qelSoundState;
    return *state;
}

platform::audio::AudioDevice& qelAudioDevice()
{
    if (!platform::audio::audioDeviceChosen()) {
        platform::WindowSystem* system = qelWindowSystem();
        // A back end without an audio output (a headless run) gets the device that plays nothing.
        if (system && !system->backend().hasAudioOutput())
            platform::audio::useNullAudio();
    }
    return platform::audio::audioDevice();
}

namespace {

qelSoundState& state()
{
    return qelSoundStateNow();
}

int32_t clampToInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

void qelPostMediaNotice(const qelValue& media, const char* notice, uint32_t time)
{
    qelPostEvent(qelMakeMediaEvent(media, qelStringValue(notice), int32_t(time)));
}

int32_t qelPositionSince(uint32_t start)
{
    int32_t elapsed = int32_t(qelClockNow() - start);
    if (elapsed < 0)
        return -1;
    return clampToInt32(int64_t(elapsed) * QEL_POSITION_RATE / 1000);
}

qelEvent qelMakeMediaEvent(const qelValue& media, const qelValue& notice, int32_t time)
{
    qelEvent event;
    event.type = QEL_MEDIA_NOTICE_EVENT;
    event.time = time;
    event.a = qelListOf({ media, notice });
    return event;
}

qelValue qelSoundBaseObject::bytes() const
{
    if (m_inMemory)
        return m_source;
    return qelLoadFileBuffer(m_source, 0);
}

qelSoundObject::qelSoundObject(const qelValue& source, int32_t inMemory)
    : qelSoundBaseObject(source, inMemory)
{
    qelValue stream;
    if (inMemory) {
        qelBufferObject* buffer = qelBufferOf(source);
        if (buffer)
            stream = qelNewMemoryStream(buffer->bytes(), buffer->length);
    } else {
        stream = qelOpenFileStream(source, qelFileStream::Readable, 0);
    }
    if (stream.isNil()) {
        if (inMemory)
            qelError("Not a valid sound file");
        return;
    }
    qelSoundHeader header;
    if (!qelReadSoundHeader(stream, header))
        return;
    channels = header.channels;
    sampleRate = header.sampleRate;
    sampleCount = header.sampleCount;
}

int32_t qelSoundObject::duration() const
{
    return qelSoundDurationMs(sampleCount, sampleRate);
}

int32_t qelSoundObject::play(const qelValue& self, int32_t from, int32_t to, int32_t)
{
    qelCheckSoundEnded();
    qelSoundState& s = state();
    // A sound is never interrupted by another.
    if (s.soundPlaying)
        return 0;
    // A sound always plays from its beginning.
    if (from != 0) {
        s.soundPlaying = 0;
        return 0;
    }
    qelValue data = bytes();
    qelBufferObject* buffer = qelBufferOf(data);
    s.soundPlaying = buffer && qelAudioDevice().playSound(buffer->bytes(), size_t(buffer->length), false);
    if (!s.soundPlaying)
        return 0;
    s.currentSound = self;
    looping = 0;
    s.soundStart = qelClockNow();
    int64_t length = to < 0 ? duration() : int64_t(to) * 1000 / QEL_POSITION_RATE;
    s.soundEnd = s.soundStart + uint32_t(std::clamp<int64_t>(length, 0, INT32_MAX));
    return 1;
}

int32_t qelSoundObject::loop(const qelValue& self)
{
    qelCheckSoundEnded();
    qelSoundState& s = state();
    if (s.soundPlaying)
        return 0;
    qelValue data = bytes();
    qelBufferObject* buffer = qelBufferOf(data);
    s.soundPlaying = buffer && qelAudioDevice().playSound(buffer->bytes(), size_t(buffer->length), true);
    if (s.soundPlaying) {
        looping = 1;
        s.currentSound = self;
        s.soundStart = qelClockNow();
    }
    return s.soundPlaying;
}

int32_t qelSoundObject::isPlaying()
{
    qelSoundState& s = state();
    if (!s.soundPlaying || s.currentSound.object() != this)
        return 0;
    if (looping)
        return 1;
    if (platform::timeReached(qelClockNow(), s.soundEnd)) {
        // Noticed here, before the event loop's check: no "ended" notice follows.
        s.soundPlaying = 0;
        return 0;
    }
    return 1;
}

int32_t qelSoundObject::stop()
{
    qelCheckSoundEnded();
    if (!isPlaying())
        return 0;
    qelSoundState& s = state();
    s.soundPlaying = 0;
    looping = 0;
    qelAudioDevice().stopSound();
    s.soundStart = s.soundEnd = 0;
    qelValue previous = std::move(s.currentSound);
    s.currentSound = qelNil;
    qelPostMediaNotice(previous, "aborted", qelClockNow());
    return 1;
}

int32_t qelSoundObject::position()
{
    qelCheckSoundEnded();
    qelSoundState& s = state();
    return s.soundPlaying ? qelPositionSince(s.soundStart) : -1;
}

qelSoundBaseObject* qelSoundOf(const qelValue& value)
{
    if (value.type() != QEL_SOUND_TYPE)
        return nullptr;
    return dynamic_cast<qelSoundBaseObject*>(value.object());
}

qelValue qelMakeSound(const qelValue& path)
{
    qelValue extension = qelLowerCase(qelExtension(qelFileNamePart(path)));
    if (extension == "wav")
        return qelMakeObjectValue(QEL_SOUND_TYPE, new qelSoundObject(path, 0));
    if (extension == "mid")
        return qelMakeObjectValue(QEL_SOUND_TYPE, new qelMusicObject(path, 0));
    qelError(qelValue("Unsupported sound type: ") + extension);
    return qelNil;
}

qelValue qelMakeSoundValue(const qelValue& buffer, const qelValue& typeName)
{
    if (!qelBufferOf(buffer))
        return qelNil;
    if (typeName == "wav")
        return qelMakeObjectValue(QEL_SOUND_TYPE, new qelSoundObject(buffer, 1));
    if (typeName == "mid")
        return qelMakeObjectValue(QEL_SOUND_TYPE, new qelMusicObject(buffer, 1));
    return qelNil;
}

qelValue qelSoundToMemory(const qelValue& sound)
{
    qelSoundBaseObject* object = qelSoundOf(sound);
    if (!object || object->inMemory())
        return sound;
    qelValue buffer = qelLoadFileBuffer(object->source(), 0);
    if (buffer.isNil())
        return qelNil;
    return qelMakeSoundValue(buffer, qelStringValue(object->typeName()));
}

int32_t qelPlayLooped(const qelValue& media)
{
    qelValue target = qelResolve(media);
    qelSoundBaseObject* object = qelSoundOf(target);
    return object ? object->loop(target) : 0;
}

int32_t qelCheckSoundEnded()
{
    qelSoundState& s = state();
    if (s.soundPlaying && !s.currentSound.isNil()) {
        auto* sound = dynamic_cast<qelSoundObject*>(s.currentSound.object());
        bool looping = sound && sound->looping;
        if (!looping && platform::timeReached(qelClockNow(), s.soundEnd)) {
            // The notice carries the computed end time, not the moment the poll came round.
            uint32_t end = s.soundEnd;
            s.soundPlaying = 0;
            s.soundStart = s.soundEnd = 0;
            qelValue ended = std::move(s.currentSound);
            s.currentSound = qelNil;
            qelPostMediaNotice(ended, "ended", end);
        }
    }
    return s.soundPlaying;
}

bool qelPollMedia()
{
    return qelCheckSoundEnded() != 0;
}

void qelStopCurrentSound()
{
    qelCheckSoundEnded();
    qelValue current = state().currentSound;
    if (qelSoundBaseObject* sound = qelSoundOf(current))
        sound->stop();
}

qelValue qelCurrentSound()
{
    return state().currentSound;
}

int32_t qelSoundPlayingFlag()
{
    return state().soundPlaying;
}

void qelResetSoundState()
{
    qelSoundState& s = state();
    s = qelSoundState {};
}

namespace {

qelValue makeSoundFromData(const qelValue& typeName, const qelValue& buffer)
{
    return qelMakeSoundValue(buffer, typeName);
}

qelValue makeSoundFromFile(const qelValue&, const qelValue& fileName)
{
    if (!fileName.isString())
        return qelNil;
    return qelMakeSound(fileName);
}

bool soundFields(const qelValue& value, qelEncodedFields& fields)
{
    qelSoundBaseObject* sound = qelSoundOf(value);
    if (!sound)
        return false;
    fields.values[0] = qelStringValue(sound->typeName());
    fields.values[1] = sound->source();
    fields.ints[0] = sound->inMemory();
    return true;
}

} // namespace

void qelInstallSoundServices()
{
    qelMakerHooks& makers = qelMakers();
    makers.makeSoundValue = makeSoundFromData;
    makers.makeSound = makeSoundFromFile;
    makers.soundFields = soundFields;
    qelEnvironmentServices& services = qelServices();
    services.stopCurrentSound = qelStopCurrentSound;
    services.audioVolume = qelGetVolume;
    services.setAudioVolume = [](int32_t volume) { qelSetVolume(volume); };
    // The event loop notices ends of sounds between messages. (Movies keep their own clock in
    // the pump, so no movie hook is needed.)
    qelSetMediaHooks(nullptr, qelPollMedia);
}
