#include "platform/video/MovieDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::video {

namespace {

    // The containers and codecs a movie may use; everything else is refused before decoding.
    // Motion JPEG is the common capture codec of the movies' time.
    constexpr const char* formatWhitelist = "avi,mpeg,mpegvideo";
    constexpr const char* codecWhitelist
        = "cinepak,msvideo1,rawvideo,msrle,indeo2,indeo3,indeo4,indeo5,mjpeg,mpeg1video,mpeg2video,"
          "pcm_u8,pcm_s16le,adpcm_ima_wav,adpcm_ms,mp1,mp2,mp3,mp1float,mp2float,mp3float";

    // Sound a movie's track may have: the rates and channels of real recordings, and at most
    // 2^20 samples (about 24 s at 44.1 kHz) in one decoded frame.
    constexpr int minSampleRate = 1000;
    constexpr int maxSampleRate = 192000;
    constexpr int maxChannels = 8;
    constexpr int64_t maxFrameSamples = int64_t(1) << 20;

    // How many frames past the current one are decoded forward instead of seeking.
    constexpr int32_t forwardLimit = 48;
    // The longest a movie may be: a day at 100 frames a second keeps every sum in 32 bits.
    constexpr int64_t maxFrames = 8640000;

    // Bytes in memory read through libavformat's I/O callbacks.
    struct MemoryReader {
        const std::vector<uint8_t>* bytes = nullptr;
        int64_t position = 0;

        static int read(void* opaque, uint8_t* buffer, int size)
        {
            auto* self = static_cast<MemoryReader*>(opaque);
            int64_t left = int64_t(self->bytes->size()) - self->position;
            if (left <= 0)
                return AVERROR_EOF;
            int n = int(std::min<int64_t>(left, size));
            std::memcpy(buffer, self->bytes->data() + self->position, size_t(n));
            self->position += n;
            return n;
        }

        static int64_t seek(void* opaque, int64_t offset, int whence)
        {
            auto* self = static_cast<MemoryReader*>(opaque);
            int64_t size = int64_t(self->bytes->size());
            if (whence & AVSEEK_SIZE)
                return size;
            int64_t base = 0;
            switch (whence & ~AVSEEK_FORCE) {
            case SEEK_SET:
                base = 0;
                break;
            case SEEK_CUR:
                base = self->position;
                break;
            case SEEK_END:
                base = size;
                break;
            default:
                return -1;
            }
            // An offset that would leave the bytes (or overflow) is refused.
            if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0 || base + offset > size)
                return -1;
            self->position = base + offset;
            return self->position;
        }
    };

} // namespace

struct MovieDecoder::State {
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    MemoryReader reader;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    bool draining = false;

    ~State()
    {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }

    // Opens the container from a path or from the reader; nothing outside the whitelists.
    bool openInput(const std::string& path, const std::vector<uint8_t>* bytes, std::string& error)
    {
        format = avformat_alloc_context();
        if (!format) {
            error = "Out of memory";
            return false;
        }
        av_opt_set(format, "format_whitelist", formatWhitelist, 0);
        av_opt_set(format, "codec_whitelist", codecWhitelist, 0);
        format->probesize = 1 << 20;
        format->max_analyze_duration = 2 * AV_TIME_BASE;
        if (bytes) {
            reader.bytes = bytes;
            auto* buffer = static_cast<uint8_t*>(av_malloc(4096));
            io = buffer
                ? avio_alloc_context(buffer, 4096, 0, &reader, &MemoryReader::read, nullptr, &MemoryReader::seek)
                : nullptr;
            if (!io) {
                av_free(buffer);
                error = "Out of memory";
                return false;
            }
            format->pb = io;
        }
        // avformat_open_input frees the context when it fails.
        if (avformat_open_input(&format, bytes ? nullptr : path.c_str(), nullptr, nullptr) < 0) {
            error = "Not a movie file";
            return false;
        }
        // An AVI header describes its streams fully; reading ahead to learn more would also
        // take the palette that travels with the first picture.
        if (std::strcmp(format->iformat->name, "avi") != 0 && avformat_find_stream_info(format, nullptr) < 0) {
            error = "Cannot read the movie's streams";
            return false;
        }
        return true;
    }
};

MovieDecoder::MovieDecoder() = default;
MovieDecoder::~MovieDecoder() = default;

bool MovieDecoder::isOpen() const
{
    return m_state && m_state->codec;
}

bool MovieDecoder::fail(const std::string& message)
{
    m_error = message;
    m_state.reset();
    return false;
}

bool MovieDecoder::open(const std::string& path)
{
    m_path = path;
    m_bytes.clear();
    return start();
}

bool MovieDecoder::openBytes(std::vector<uint8_t> bytes)
{
    m_path.clear();
    m_bytes = std::move(bytes);
    return start();
}

bool MovieDecoder::start()
{
    av_log_set_level(AV_LOG_QUIET);
    m_state = std::make_unique<State>();
    m_error.clear();
    m_current = -1;
    m_readAny = false;
    m_palettes.clear();
    bool inMemory = m_path.empty();
    if (!m_state->openInput(m_path, inMemory ? &m_bytes : nullptr, m_error))
        return fail(m_error);
    AVFormatContext* format = m_state->format;
    m_videoStream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_videoStream < 0)
        return fail("The movie has no pictures");
    m_audioStream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, m_videoStream, nullptr, 0);
    if (m_audioStream < 0)
        m_audioStream = -1;
    AVStream* stream = format->streams[m_videoStream];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return fail("Unsupported video codec");
    m_width = stream->codecpar->width;
    m_height = stream->codecpar->height;
    // A side of 0 cannot be shown, and a huge one would take memory no content movie needs.
    if (m_width <= 0 || m_height <= 0 || m_width > maxSide || m_height > maxSide)
        return fail("Unsupported picture size");
    m_codec = codec->name;

    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (!context || avcodec_parameters_to_context(context, stream->codecpar) < 0) {
        avcodec_free_context(&context);
        return fail("Unsupported video codec");
    }
    context->thread_count = 1;
    av_opt_set(context, "codec_whitelist", codecWhitelist, 0);
    if (avcodec_open2(context, codec, nullptr) < 0) {
        avcodec_free_context(&context);
        return fail("Unsupported video codec");
    }
    m_state->codec = context;
    m_state->frame = av_frame_alloc();
    m_state->packet = av_packet_alloc();
    if (!m_state->frame || !m_state->packet)
        return fail("Out of memory");

    AVRational rate = stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0 ? stream->avg_frame_rate
                                                                                       : stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = av_inv_q(stream->time_base);
    m_fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 15.0;
    // A rate outside what any movie uses is taken as the common 15 frames a second.
    if (!(m_fps >= 0.1 && m_fps <= 1000))
        m_fps = 15.0;

    int64_t frames = stream->nb_frames;
    if (frames <= 0 && stream->duration > 0 && stream->duration != AV_NOPTS_VALUE)
        frames = int64_t(std::llround(double(stream->duration) * av_q2d(stream->time_base) * m_fps));
    if (frames <= 0 && format->duration > 0 && format->duration != AV_NOPTS_VALUE)
        frames = int64_t(std::llround(double(format->duration) / AV_TIME_BASE * m_fps));
    m_frameCount = int32_t(std::clamp<int64_t>(frames, 1, maxFrames));
    return true;
}

int32_t MovieDecoder::lengthMs() const
{
    return frameStartMs(m_frameCount);
}

int32_t MovieDecoder::frameStartMs(int32_t index) const
{
    return int32_t(std::llround(double(std::max(index, 0)) * 1000.0 / m_fps));
}

int32_t MovieDecoder::frameAtMs(int32_t ms) const
{
    if (ms <= 0)
        return 0;
    // The small allowance keeps a frame whose start rounds to `ms` from counting as the one before.
    return int32_t(std::min<double>(std::floor(double(ms) * m_fps / 1000.0 + 1e-6), double(INT32_MAX)));
}

int64_t MovieDecoder::ptsOf(int32_t index) const
{
    AVStream* stream = m_state->format->streams[m_videoStream];
    double seconds = double(index) / m_fps;
    AVRational base = stream->time_base;
    if (base.num <= 0 || base.den <= 0)
        return index;
    int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    return start + int64_t(std::llround(seconds * base.den / base.num));
}

int32_t MovieDecoder::indexOf(int64_t pts) const
{
    AVStream* stream = m_state->format->streams[m_videoStream];
    AVRational base = stream->time_base;
    if (pts == AV_NOPTS_VALUE || base.num <= 0 || base.den <= 0)
        return m_current + 1;
    int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    double index = std::round(double(pts - start) * av_q2d(base) * m_fps);
    return int32_t(std::clamp<double>(index, 0, double(maxFrames)));
}

bool MovieDecoder::seekTo(int32_t index)
{
    State& s = *m_state;
    if (av_seek_frame(s.format, m_videoStream, ptsOf(index), AVSEEK_FLAG_BACKWARD) < 0
        && av_seek_frame(s.format, m_videoStream, ptsOf(0), AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0)
        return false;
    avcodec_flush_buffers(s.codec);
    s.draining = false;
    m_current = -1;
    return true;
}

bool MovieDecoder::decodeUntil(int32_t index)
{
    State& s = *m_state;
    // A damaged file may hold endless packets that give no picture; reading stops after a
    // bound proportional to the frames asked for.
    int64_t budget = int64_t(index) * 4 + 256;
    while (budget-- > 0) {
        int received = avcodec_receive_frame(s.codec, s.frame);
        if (received == 0) {
            int64_t pts
                = s.frame->best_effort_timestamp != AV_NOPTS_VALUE ? s.frame->best_effort_timestamp : s.frame->pts;
            m_current = std::max(indexOf(pts), m_current + 1);
            if (m_current >= index)
                return true;
            continue;
        }
        if (received == AVERROR_EOF)
            return false;
        if (received != AVERROR(EAGAIN))
            return false;
        if (s.draining)
            return false;
        int read = av_read_frame(s.format, s.packet);
        if (read < 0) {
            s.draining = true;
            avcodec_send_packet(s.codec, nullptr);
            continue;
        }
        m_readAny = true;
        if (s.packet->stream_index == m_videoStream) {
            notePalette(*s.packet);
            avcodec_send_packet(s.codec, s.packet); // a damaged packet is skipped, not fatal
        }
        av_packet_unref(s.packet);
    }
    return false;
}

void MovieDecoder::notePalette(const AVPacket& packet)
{
    size_t size = 0;
    const uint8_t* data = av_packet_get_side_data(&packet, AV_PKT_DATA_PALETTE, &size);
    // A palette is 256 words; a shorter one is not a palette. The count of kept palettes is
    // bounded, so a file of nothing but palette changes cannot take all memory.
    if (!data || size < 1024 || m_palettes.size() >= 4096)
        return;
    Palette palette;
    std::memcpy(palette.data(), data, 1024);
    m_palettes[indexOf(packet.pts)] = palette;
}

bool MovieDecoder::convert(gfx::Surface& out)
{
    State& s = *m_state;
    AVFrame* frame = s.frame;
    if (frame->width != m_width || frame->height != m_height || frame->format < 0)
        return false;
    s.scaler = sws_getCachedContext(s.scaler, m_width, m_height, AVPixelFormat(frame->format), m_width, m_height,
        AV_PIX_FMT_BGR0, SWS_POINT, nullptr, nullptr, nullptr);
    if (!s.scaler)
        return false;
    // A palette picture takes the last palette change at or before its frame: after a seek
    // back, the decoder itself has not seen the changes before the seek point again.
    const uint8_t* source[4] = { frame->data[0], frame->data[1], frame->data[2], frame->data[3] };
    if (frame->format == AV_PIX_FMT_PAL8 && !m_palettes.empty()) {
        auto at = m_palettes.upper_bound(m_current);
        if (at != m_palettes.begin())
            source[1] = reinterpret_cast<const uint8_t*>(std::prev(at)->second.data());
    }
    // The converter's vector code may write past the end of a row and of the picture: it writes
    // into a buffer padded and aligned for it, and the rows are then copied into the surface.
    uint8_t* planes[4] = {};
    int strides[4] = {};
    if (av_image_alloc(planes, strides, m_width, m_height + 1, AV_PIX_FMT_BGR0, 64) < 0)
        return false;
    bool converted = sws_scale(s.scaler, source, frame->linesize, 0, m_height, planes, strides) == m_height;
    if (converted) {
        gfx::Surface picture(m_width, m_height);
        for (int32_t y = 0; y < m_height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(planes[0] + size_t(strides[0]) * size_t(y));
            uint32_t* pixel = picture.data() + size_t(y) * (picture.pitch() / 4);
            // The fourth byte is unused; surfaces keep it 0.
            for (int32_t x = 0; x < m_width; ++x)
                pixel[x] = row[x] & 0x00FFFFFF;
        }
        out = std::move(picture);
    }
    av_freep(&planes[0]);
    return converted;
}

bool MovieDecoder::decodeFrame(int32_t index, gfx::Surface& out)
{
    if (!isOpen())
        return false;
    index = std::clamp(index, 0, m_frameCount - 1);
    if (m_current == index)
        return convert(out);
    // Nothing read yet: the start is where the file already stands.
    bool forward = index > m_current && index - m_current <= forwardLimit && (m_current >= 0 || !m_readAny);
    if (!forward && !seekTo(index))
        return false;
    if (decodeUntil(index))
        return convert(out);
    // The file ended before the frame (its count was too high): the last picture stands for it.
    if (m_current >= 0 && m_state->frame->width > 0)
        return convert(out);
    return false;
}

std::vector<int16_t> MovieDecoder::decodeAudio(int32_t fromMs, int32_t toMs, int rate)
{
    std::vector<int16_t> samples;
    if (m_audioStream < 0 || rate <= 0 || toMs <= fromMs)
        return samples;
    State s;
    std::string error;
    if (!s.openInput(m_path, m_path.empty() ? &m_bytes : nullptr, error) || m_audioStream >= int(s.format->nb_streams))
        return samples;
    AVStream* stream = s.format->streams[m_audioStream];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec || stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
        return samples;
    s.codec = avcodec_alloc_context3(codec);
    if (!s.codec || avcodec_parameters_to_context(s.codec, stream->codecpar) < 0)
        return samples;
    // No one frame may hold more than about 20 s of sound, whatever the packet claims.
    s.codec->max_samples = maxFrameSamples;
    if (avcodec_open2(s.codec, codec, nullptr) < 0)
        return samples;
    // A forged header can claim any rate and channel count; the resampler's filters grow with
    // the ratio of the rates, so a rate far from any sound's would take gigabytes.
    if (s.codec->sample_rate < minSampleRate || s.codec->sample_rate > maxSampleRate
        || s.codec->ch_layout.nb_channels < 1 || s.codec->ch_layout.nb_channels > maxChannels)
        return samples;
    s.frame = av_frame_alloc();
    s.packet = av_packet_alloc();
    if (!s.frame || !s.packet)
        return samples;
    if (fromMs > 0)
        av_seek_frame(s.format, -1, int64_t(fromMs) * (AV_TIME_BASE / 1000), AVSEEK_FLAG_BACKWARD);

    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    SwrContext* resampler = nullptr;
    if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, rate, &s.codec->ch_layout, s.codec->sample_fmt,
            s.codec->sample_rate, 0, nullptr)
            < 0
        || swr_init(resampler) < 0) {
        swr_free(&resampler);
        return samples;
    }
    // The sound wanted, in output samples, bounded so a damaged length cannot take all memory.
    int64_t wanted = std::min<int64_t>(int64_t(toMs - fromMs) * rate / 1000, int64_t(rate) * 600);
    int64_t skip = -1; // output samples before fromMs, known once the first frame's time is
    bool draining = false;
    while (int64_t(samples.size() / 2) < wanted) {
        int received = avcodec_receive_frame(s.codec, s.frame);
        if (received == 0) {
            if (skip < 0) {
                int64_t pts = s.frame->best_effort_timestamp;
                double at = pts == AV_NOPTS_VALUE ? 0 : double(pts) * av_q2d(stream->time_base) * 1000.0;
                // No more than the range's start from the file's: a forged time cannot make
                // the whole file be decoded and thrown away.
                skip = std::clamp<int64_t>(int64_t((fromMs - at) * rate / 1000.0), 0, int64_t(fromMs) * rate / 1000);
            }
            // Never more than the range still needs: what the resampler could give beyond it
            // stays in the resampler, bounded by the input it holds.
            int64_t room = skip + wanted - int64_t(samples.size() / 2);
            int capacity = int(std::min<int64_t>(swr_get_out_samples(resampler, s.frame->nb_samples), room));
            if (capacity <= 0)
                continue;
            std::vector<int16_t> chunk(size_t(capacity) * 2);
            auto* out = reinterpret_cast<uint8_t*>(chunk.data());
            int made = swr_convert(
                resampler, &out, capacity, const_cast<const uint8_t**>(s.frame->extended_data), s.frame->nb_samples);
            if (made <= 0)
                continue;
            int64_t from = std::min<int64_t>(skip, made);
            skip -= from;
            samples.insert(samples.end(), chunk.begin() + from * 2, chunk.begin() + int64_t(made) * 2);
            continue;
        }
        if (received != AVERROR(EAGAIN) || draining)
            break;
        if (av_read_frame(s.format, s.packet) < 0) {
            draining = true;
            avcodec_send_packet(s.codec, nullptr);
            continue;
        }
        if (s.packet->stream_index == m_audioStream)
            avcodec_send_packet(s.codec, s.packet);
        av_packet_unref(s.packet);
    }
    swr_free(&resampler);
    if (int64_t(samples.size() / 2) > wanted)
        samples.resize(size_t(wanted) * 2);
    return samples;
}

} // namespace platform::video
