#pragma once

// Movies: values of type 20 whose object is a qelMovieObject over an "avi" or "mpg" file,
// played by the process movie device (platform/video). A movie opens on first need: its file
// extension names a device type in the extension table (the "mci extensions" section of
// win.ini beside the program, with AVI and MPG built in when the section is empty); each
// device type is opened once and shared by its movies. Shown movies appear over the window's
// media area; a single frame can also be drawn into the port (qelDrawMovieFrame).
//
// When a play reaches its end the device notifies the window, and the movie posts the media
// notice (the movie, "ended"); stopping a playing movie posts (the movie, "aborted"). Failures
// to open show a message box and answer false; other device failures are shown only with the
// setting "ShowVideoErrors".
//
// Positions and lengths count frames.

#include "framework/display/Geometry.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

#include <cstdint>
#include <memory>

namespace platform::video {
class MoviePlayer;
}

class qelMovieObject final : public qelObject, public qelMediaProtocol, public qelGeometryProtocol {
public:
    // The file (a path string) and its upper-case extension; the media offset is taken from the
    // main port now, and the alias from the run's counter.
    qelMovieObject(const qelValue& file, const qelValue& type, int32_t fullScreen);
    // Closes the movie.
    ~qelMovieObject() override;

    bool open();
    // Hides the movie and releases its device (the device type goes with its last movie).
    void close();

    int32_t width();
    int32_t height();
    int32_t left() const { return m_left; }
    int32_t top() const { return m_top; }
    int32_t isPlaying() override { return m_playing; }
    int32_t length() override { return m_length; }
    int32_t position();
    int32_t seek(int32_t position);
    // from >= length starts at 0; to < 0 plays to the last frame; to < from plays "from" alone.
    int32_t play(const qelValue& self, int32_t from, int32_t to, int32_t repeat) override;
    int32_t cue(const qelValue& self, int32_t position);
    int32_t stop() override;
    int32_t ended();
    int32_t show() override;
    int32_t suspend();
    int32_t hide() override { return suspend(); }
    int32_t move(int32_t x, int32_t y) override;
    int32_t resize(int32_t width, int32_t height) override;
    int32_t isShown() const { return m_shown; }

    int32_t geometryLeft() override { return left(); }
    int32_t geometryTop() override { return top(); }
    int32_t geometryWidth() override { return width(); }
    int32_t geometryHeight() override { return height(); }

    int32_t deviceId() const { return int32_t(m_device); }
    int32_t fullScreen() const { return m_fullScreen; }
    int32_t opened() const { return m_opened; }
    int32_t openPending() const { return m_openPending; }
    int32_t suspended() const { return m_suspended; }
    int32_t savedPosition() const { return m_savedPosition; }
    int32_t mediaOffsetX() const { return m_mediaOffsetX; }
    int32_t mediaOffsetY() const { return m_mediaOffsetY; }
    const qelValue& alias() const { return m_alias; }
    const qelValue& file() const { return m_file; }
    const qelValue& type() const { return m_type; }
    const qelValue& deviceType() const { return m_deviceType; }

    // The device's end notice for a device id: the playing movie with that id ends. A notice
    // for an id that no playing movie has (a movie stopped or closed since) is ignored.
    static void notify(int64_t device);
    // Palettes are realized by nobody on a true-colour display; kept for the window's calls.
    static void realize();
    // Puts the shown MPEG movie's picture back at its place.
    static void placeShown();

private:
    friend int32_t qelDrawMovieFrame(
        const qelValue& movie, int32_t position, int32_t x, int32_t y, int32_t width, int32_t height);
    bool isMpeg() const;
    // The place over the window's client area where the pictures go.
    void destination(int32_t& x, int32_t& y, int32_t& width, int32_t& height);
    void leavePlayingList(const char* notice);

    uint32_t m_device = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_left = -10000;
    int32_t m_top = -10000;
    int32_t m_opened = 0;
    int32_t m_playing = 0;
    int32_t m_shown = 0;
    int32_t m_fullScreen = 0;
    int32_t m_length = 0;
    int32_t m_mediaOffsetX = 0;
    int32_t m_mediaOffsetY = 0;
    qelValue m_palette;
    qelValue m_alias;
    qelValue m_file;
    qelValue m_type;
    qelValue m_deviceType;
    int32_t m_savedPosition = 0;
    int32_t m_openPending = 0;
    int32_t m_suspended = 0;
    // Whether this movie counts as a user of its device type's shared device.
    bool m_typeUser = false;
};

// The movie object of a value, or null.
qelMovieObject* qelMovieOf(const qelValue& value);

// A movie over the file: "AVI" and "MPG" (any case) make one; any other extension shows
// "Unrecognized movie type: " + the upper-case extension and gives nil.
qelValue qelMovieFromFile(const qelValue& path, const qelValue& extension, int32_t fullScreen);
void qelReleaseMovie(const qelValue& movie);
// Stops and closes every playing movie, last first, then forgets the extension table, the
// playing list and the shared devices.
void qelCloseAllMovies();
// True while a movie plays (the event queue then waits for messages instead of polling).
bool qelAnyMovieOpen();
// Draws the frame at `position` (negative: the current one) into the port at (x, y), w x h;
// negative or zero arguments keep the movie's own place and size.
int32_t qelDrawMovieFrame(const qelValue& movie, int32_t position, int32_t x, int32_t y, int32_t width, int32_t height);
// "MCI error (" + context + "): " + the device's text for the code (the code in decimal when it
// has none) + "\n", in a box only with "ShowVideoErrors".
void qelReportMciError(uint32_t code, const qelValue& context);
// The "mci extensions"-style section of win.ini in the program folder as a table from
// upper-case extension to device type; AVI and MPG are built in when it yields nothing.
qelValue qelReadMciExtensions(const qelValue& section);

// The playing list (nil when none), the shared device table and the alias counter's last value.
qelValue qelPlayingMovies();
qelValue qelMovieDevices();
int32_t qelLastMovieAlias();
// The movie device: the one set, else one over the window layer (none without it).
platform::video::MoviePlayer* qelMoviePlayer();
// Replaces the movie device (tests); null goes back to the default.
void qelSetMoviePlayer(std::unique_ptr<platform::video::MoviePlayer> player);
// Forgets every shared table and the alias counter (tests).
void qelResetMovieState();

// Installs the movie maker and shut-down of the environment's services, and the window's end
// notices.
void qelInstallMovieServices();
