#pragma once

// The shared state of movies (one per process), kept between MovieObject.cpp and
// MovieShared.cpp.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class WindowSystem;
}
namespace platform::video {
class MoviePlayer;
}

struct qelMovieState {
    // Upper-case extension -> device type, read once per run.
    qelValue extensions;
    // Device type -> list (device id, number of movies using it).
    qelValue devices;
    // The values of the playing movies; nil when none.
    qelValue playing;
    int32_t aliasCounter = 0;
    std::unique_ptr<platform::video::MoviePlayer> player;
    // The default player was made over this window layer (it is remade for another).
    platform::WindowSystem* playerSystem = nullptr;
    bool playerGiven = false;
};

qelMovieState& qelMovieStateNow();
// The number of movies in a playing list (0 for nil).
int32_t qelMovieCount(const qelValue& list);
// A string value of the bytes.
qelValue qelMovieText(const std::string& text);
