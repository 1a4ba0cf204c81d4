#include "platform/audio/AudioDevice.h"

#include "platform/audio/SdlAudio.h"

namespace platform::audio {

namespace {

    std::unique_ptr<AudioDevice>& current()
    {
        static std::unique_ptr<AudioDevice> device;
        return device;
    }

} // namespace

AudioDevice& audioDevice()
{
    std::unique_ptr<AudioDevice>& device = current();
    if (!device) {
        device = SdlAudio::open();
        if (!device)
            device = std::make_unique<NullAudio>();
    }
    return *device;
}

void setAudioDevice(std::unique_ptr<AudioDevice> device)
{
    current() = std::move(device);
}

bool audioDeviceChosen()
{
    return current() != nullptr;
}

NullAudio& useNullAudio()
{
    auto device = std::make_unique<NullAudio>();
    NullAudio& null = *device;
    current() = std::move(device);
    return null;
}

} // namespace platform::audio
