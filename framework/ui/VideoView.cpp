#include "framework/ui/VideoView.h"

#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/MovieObject.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <string>

namespace {

// The rows below the frame that the saved screen also covers (the caption line under a movie).
constexpr int32_t savedRowsBelowFrame = 150;

qelValue withExtension(const qelValue& name, const char* extension)
{
    if (qelFindChar(name, '.', 0) >= 0)
        return name;
    return name + extension;
}

// A movie's file name: without "." it gets "." and the setting "VideoExtension".
qelValue movieFileName(const qelValue& name)
{
    if (qelFindChar(name, '.', 0) >= 0)
        return name;
    return name + "." + qelGetSetting("VideoExtension");
}

qelValue tableValue(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->get(key) : qelNil;
}

bool tableHas(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t && t->find(key) >= 0;
}

int32_t tableInt(const qelValue& table, const char* key)
{
    return tableHas(table, key) ? qelIntValue(tableValue(table, key)) : 0;
}

} // namespace

VideoView::VideoView(const qelValue& data)
    : qelMediaControlObject(data)
{
}

VideoView::~VideoView() = default;

void VideoView::chooseFullScreen()
{
    fullScreen = 0;
    if (qelGetBoolSetting("ShowFullScreen", 0)) {
        fullScreen = 1;
        if (hasProperty("ShowFullScreen"))
            fullScreen = getBool("ShowFullScreen", 1);
        if (fullScreen && qelGetBoolSetting("MPEG", 0))
            fullScreen = 0;
    }
}

void VideoView::takeFrame(const qelValue& source)
{
    frame = qelResolve(tableValue(source, "Frame"));
    frameX = tableInt(source, "FrameX");
    frameY = tableInt(source, "FrameY");
}

void VideoView::init()
{
    ready = 0;
    playTillStopped = getBool("PlayTillStoped", 0);
    chooseFullScreen();

    archive = qelNil;
    sizeTable = qelNil;
    if (hasProperty("VideoArchive")) {
        qelValue path = qelPathJoin(qelMediaPath(), getProperty("VideoArchive"));
        if (qelGetBoolSetting("UseCompiledResources", 1))
            archive = qelOpenArchive(withExtension(path, ".dat"), 0);
        else
            archive = qelLoadResource(withExtension(path, ".lst"));
        if (!archive.isNil())
            sizeTable = qelGet(archive, 0);
    }

    moviePath = qelNil;
    if (hasProperty("VideoName")) {
        qelValue name = movieFileName(getProperty("VideoName"));
        // The directory: "AltVideoPath" when set, else "VideoPath" under the media path, both
        // looked up as resources (the form's data, then the globals).
        qelValue directory = qelMediaPath();
        if (!qelGetSetting("AltVideoPath").isNil()) {
            directory = qelResolve(qelLoadResource("AltVideoPath"));
        } else if (qelValue videoPath = qelLoadResource("VideoPath"); videoPath.isString()) {
            directory = qelPathJoin(qelMediaPath(), videoPath);
        }
        moviePath = directory.isString() ? qelPathJoin(directory, name) : name;
    }

    videoX = fullScreen ? 0 : getInt("VideoX", 0);
    videoY = fullScreen ? 0 : getInt("VideoY", 0);
    if (frame.isNil() && hasProperty("Frame")) {
        frame = qelResolve(getProperty("Frame"));
        frameX = getInt("FrameX", 0);
        frameY = getInt("FrameY", 0);
    }
    frameMask = qelNil;
    if (hasProperty("FrameMask") && !fullScreen) {
        frameMask = qelResolve(getProperty("FrameMask"));
        qelSetImageMask(frame, frameMask);
    }
    cueSheet = hasProperty("CueSheet") ? getProperty("CueSheet") : qelNil;
    ready = !archive.isNil() && !moviePath.isNil() ? 1 : 0;
}

int32_t VideoView::initialize(const qelValue& name)
{
    if (ready)
        uninitialize();
    qelValue previous = qelSetCursor(qelWaitCursor());
    chooseFullScreen();
    if (!name.isNil()) {
        qelValue directory = qelMediaPath();
        if (qelValue videoPath = qelGetSetting("VideoPath"); !videoPath.isNil())
            directory = qelPathJoin(qelMediaPath(), videoPath);
        if (qelValue alternative = qelGetSetting("AltVideoPath"); !alternative.isNil())
            directory = alternative;
        moviePath = qelPathJoin(directory, movieFileName(name));
    }
    movie = moviePath.isString() ? qelLoadMovieResource(moviePath, fullScreen) : qelNil;
    if (movie.type() != QEL_MOVIE_TYPE) {
        movie = qelNil;
        qelSetCursor(previous);
        return 0;
    }
    if (!sizeTable.isNil()) {
        std::string key = std::to_string(qelWidth(movie)) + "x" + std::to_string(qelHeight(movie));
        // A movie size the archive does not list keeps the placement the properties gave (the
        // archive is content; a missing size is no reason to end the program).
        qelValue index = tableValue(sizeTable, key.c_str());
        if (index.type() == QEL_INT_TYPE) {
            qelValue t = qelGet(archive, index.payload());
            videoX = tableHas(t, "VideoX") && !fullScreen ? tableInt(t, "VideoX") : 0;
            videoY = tableHas(t, "VideoY") && !fullScreen ? tableInt(t, "VideoY") : 0;
            frame = qelNil;
            if (tableHas(t, "Frame") && !fullScreen)
                takeFrame(t);
            frameMask = qelNil;
            if (tableHas(t, "FrameMask") && !fullScreen) {
                frameMask = qelResolve(tableValue(t, "FrameMask"));
                qelSetImageMask(frame, frameMask);
            }
            cueSheet = tableHas(t, "CueSheet") ? tableValue(t, "CueSheet") : qelNil;
        }
    }
    ready = 1;
    qelSetCursor(previous);
    return 1;
}

int32_t VideoView::uninitialize()
{
    if (movie.type() == QEL_MOVIE_TYPE)
        qelReleaseMovie(movie);
    movie = qelNil;
    savedBackground = qelNil;
    ready = 0;
    qelSetCursor(qelArrowCursor());
    return 1;
}

int32_t VideoView::present(bool play, int32_t repeat)
{
    // Without a movie there is nothing to place or play (the pages open one first).
    if (!isEnabled() || !isVisible() || movie.type() != QEL_MOVIE_TYPE)
        return 0;
    draw();
    if (fullScreen)
        qelSetSize(movie, qelMediaWidth(), qelMediaHeight());
    qelMove(movie, videoX, videoY);
    qelShow(movie);
    if (play)
        qelPlay(movie, 0, -1, repeat);
    return 1;
}

int32_t VideoView::start(const qelValue& loop)
{
    return present(true, qelIsTrue(loop) ? 1 : 0);
}

int32_t VideoView::show(int32_t)
{
    return present(false, 0);
}

int32_t VideoView::stop()
{
    if (!ready)
        return 0;
    if (movie.type() == QEL_MOVIE_TYPE) {
        qelHide(movie);
        if (qelIsPlaying(movie))
            qelStop(movie);
    }
    draw();
    return 1;
}

int32_t VideoView::isPlaying()
{
    if (!ready || movie.type() != QEL_MOVIE_TYPE)
        return 0;
    return qelIsPlaying(movie);
}

void VideoView::draw()
{
    if (!ready)
        return;
    int32_t mpeg = qelGetBoolSetting("MPEG", 0);
    if (!isEnabled()) {
        if (!savedBackground.isNil() && !mpeg && !frame.isNil())
            qelShowImageAt(savedBackground, frameX, frameY, 0, 0, 0, 0);
        return;
    }
    if (savedBackground.isNil()) {
        if (mpeg)
            savedBackground = qelGrabWindowImage(0, 0, qelMediaWidth(), qelMediaHeight());
        else if (!frame.isNil())
            savedBackground
                = qelGrabWindowImage(frameX, frameY, qelWidth(frame), qelHeight(frame) + savedRowsBelowFrame);
    }
    if (mpeg) {
        qelShowImageAt("blackvfw.rle", 0, 0, 0, 0, 0, 0);
    } else {
        if (fullScreen || frame.isNil())
            return;
        qelShowImageAt(frame, frameX, frameY, 0, 0, 0, 0);
    }
    qelRefreshWindowArea(0, 0, 0, 0);
}

void VideoView::mediaNotify(const qelValue& first, const qelValue& second)
{
    qelMediaControlObject::mediaNotify(first, second);
    if (movie.type() != QEL_MOVIE_TYPE || !(first == movie))
        return;
    if (playTillStopped && second == "ended") {
        qelPlay(movie, 0, -1, 0);
        return;
    }
    if (second == "aborted" || second == "ended") {
        stop();
        releaseFocus();
        if (isEnabled())
            setBool("Disabled", 1);
        draw();
    }
}

qelValue VideoView::perform(const qelValue& action, const qelValue& data)
{
    auto truth = [](int32_t n) { return qelMakeBoolean(n ? 1 : 0); };
    if (action == "Reinitialize")
        return truth(initialize(data));
    if (action == "Initialize") {
        init();
        return qelTrue;
    }
    if (action == "Uninitialize")
        return truth(uninitialize());
    if (action == "Start")
        return truth(start(data));
    if (action == "Stop")
        return truth(stop());
    if (action == "IsPlaying")
        return truth(isPlaying());
    if (action == "Pause")
        return truth(pause());
    if (action == "Rewind")
        return truth(rewind(data));
    if (action == "Forward")
        return truth(forward(data));
    if (action == "Reset")
        return truth(reset());
    if (action == "Show")
        return truth(show(qelIsTrue(data) ? 1 : 0));
    return qelMediaControlObject::perform(action, data);
}
