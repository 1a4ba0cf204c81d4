// The play controls of sounds and movies, and the resolution of references.

#include "framework/runtime/Builtins.h"
#include "framework/runtime/BuiltinsDispatch.h"
#include "framework/runtime/Error.h"

namespace {

// References that name references are followed this far; beyond it (a cycle) the result is nil.
constexpr int maximumReferenceDepth = 16;

enum class Accepts { SoundOrMovie, Movie };

// The media interface of the (resolved) value. A wrong type reports the argument type error; an
// unresolvable reference or an object without the interface gives null without a report.
qelMediaProtocol* mediaOf(const qelValue& resolved, Accepts accepts, const char* signature)
{
    int32_t type = resolved.type();
    bool accepted = type == QEL_MOVIE_TYPE || (accepts == Accepts::SoundOrMovie && type == QEL_SOUND_TYPE);
    if (accepted)
        return qelProtocolOf<qelMediaProtocol>(resolved);
    if (type != QEL_REFERENCE_TYPE)
        qelArgTypeError(signature, 1);
    return nullptr;
}

} // namespace

qelValue qelResolvedValue(const qelValue& value)
{
    if (value.type() != QEL_REFERENCE_TYPE)
        return value;
    qelValue current = value;
    for (int depth = 0; depth < maximumReferenceDepth; ++depth) {
        auto* reference = qelProtocolOf<qelReferenceProtocol>(current);
        // Without a resolver the reference stays as it is, and the caller gives its neutral result.
        if (!reference)
            return current;
        current = reference->resolve();
        if (current.type() != QEL_REFERENCE_TYPE)
            return current;
    }
    return qelNil;
}

int32_t qelPlay(const qelValue& media, int32_t from, int32_t to, int32_t repeat)
{
    qelValue target = qelResolvedValue(media);
    auto* player = mediaOf(target, Accepts::SoundOrMovie, "qelPlay(movOrSnd [,QELINT,QELINT,QELBOOL])");
    return player ? player->play(target, from, to, repeat) : 0;
}

int32_t qelStop(const qelValue& media)
{
    qelValue target = qelResolvedValue(media);
    auto* player = mediaOf(target, Accepts::SoundOrMovie, "qelStop(movOrSnd)");
    return player ? player->stop() : 0;
}

int32_t qelIsPlaying(const qelValue& media)
{
    qelValue target = qelResolvedValue(media);
    auto* player = mediaOf(target, Accepts::SoundOrMovie, "qelIsPlaying(movOrSnd)");
    return player ? player->isPlaying() : 0;
}

int32_t qelShow(const qelValue& movie)
{
    qelValue target = qelResolvedValue(movie);
    auto* player = mediaOf(target, Accepts::Movie, "qelShow(movie)");
    return player ? player->show() : 0;
}

int32_t qelHide(const qelValue& movie)
{
    qelValue target = qelResolvedValue(movie);
    auto* player = mediaOf(target, Accepts::Movie, "qelHide(mov)");
    return player ? player->hide() : 0;
}

int32_t qelMove(const qelValue& movie, int32_t x, int32_t y)
{
    qelValue target = qelResolvedValue(movie);
    auto* player = mediaOf(target, Accepts::Movie, "qelMove(mov)");
    return player ? player->move(x, y) : 0;
}

int32_t qelSetSize(const qelValue& movie, int32_t width, int32_t height)
{
    qelValue target = qelResolvedValue(movie);
    auto* player = mediaOf(target, Accepts::Movie, "qelSetSize(mov)");
    return player ? player->resize(width, height) : 0;
}
