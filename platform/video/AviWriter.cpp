#include "platform/video/AviWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::video {

namespace {

    uint8_t cubeLevel(uint32_t channel)
    {
        return uint8_t((channel * 5 + 127) / 255);
    }

} // namespace

bool aviCodecFromName(const std::string& name, AviCodec& codec)
{
    if (name == "cinepak")
        codec = AviCodec::Cinepak;
    else if (name == "msvideo1")
        codec = AviCodec::MsVideo1;
    else if (name == "raw8")
        codec = AviCodec::Raw8;
    else if (name == "mjpeg")
        codec = AviCodec::Mjpeg;
    else
        return false;
    return true;
}

std::array<uint32_t, 256> cubePalette()
{
    std::array<uint32_t, 256> palette {};
    for (uint32_t i = 0; i < 216; ++i) {
        uint32_t r = i / 36 * 51;
        uint32_t g = i / 6 % 6 * 51;
        uint32_t b = i % 6 * 51;
        palette[i] = (r << 16) | (g << 8) | b;
    }
    return palette;
}

IndexedPicture toCubePalette(const gfx::Surface& picture)
{
    IndexedPicture indexed;
    indexed.width = picture.width();
    indexed.height = picture.height();
    indexed.palette = cubePalette();
    indexed.pixels.resize(size_t(indexed.width) * size_t(indexed.height));
    for (int y = 0; y < indexed.height; ++y) {
        for (int x = 0; x < indexed.width; ++x) {
            uint32_t c = picture.pixel(x, y);
            indexed.pixels[size_t(y) * size_t(indexed.width) + size_t(x)]
                = uint8_t(cubeLevel((c >> 16) & 0xFF) * 36 + cubeLevel((c >> 8) & 0xFF) * 6 + cubeLevel(c & 0xFF));
        }
    }
    return indexed;
}

IndexedPicture patternFrame(int width, int height, int frame)
{
    static constexpr uint32_t topColours[] = { 0xFF0000, 0x00FF00, 0xFFFF00, 0xFF00FF };
    IndexedPicture picture;
    picture.width = std::max(width, 0);
    picture.height = std::max(height, 0);
    picture.palette[1] = topColours[size_t(frame < 0 ? 0 : frame) % 4];
    picture.palette[2] = 0x0000FF;
    picture.palette[3] = 0xFFFFFF;
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    int side = std::max(picture.height / 4, 1);
    int squareLeft = picture.width > side ? int(int64_t(frame) * 2 % (picture.width - side)) : 0;
    int squareTop = (picture.height - side) / 2;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint8_t index = y < picture.height / 2 ? 1 : 2;
            if (x >= squareLeft && x < squareLeft + side && y >= squareTop && y < squareTop + side)
                index = 3;
            picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)] = index;
        }
    }
    return picture;
}

std::vector<int16_t> toneSamples(int hz, int rate, int ms)
{
    std::vector<int16_t> samples;
    if (rate <= 0 || ms <= 0)
        return samples;
    samples.resize(size_t(int64_t(rate) * ms / 1000));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(16383.0 * std::sin(2.0 * 3.14159265358979 * hz * double(i) / rate));
    return samples;
}

struct AviWriter::State {
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    AviCodec codec = AviCodec::Cinepak;
    int width = 0;
    int height = 0;
    int64_t frameNumber = 0;
    int64_t sampleNumber = 0;
    bool headerWritten = false;
    bool fileOpen = false;

    ~State()
    {
        if (fileOpen)
            avio_closep(&format->pb);
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        avformat_free_context(format);
    }
};

AviWriter::AviWriter() = default;

AviWriter::~AviWriter() = default;

bool AviWriter::fail(const std::string& message)
{
    if (m_error.empty())
        m_error = message;
    m_state.reset();
    return false;
}

bool AviWriter::open(const std::string& path, AviCodec codec, int width, int height, int fps, int audioRate)
{
    m_error.clear();
    av_log_set_level(AV_LOG_QUIET);
    if (width < 2 || height < 2 || width > 1024 || height > 1024 || width % 2 || height % 2)
        return fail("Picture sides must be even and between 2 and 1024");
    if (fps < 1 || fps > 60)
        return fail("Frame rate must be between 1 and 60");
    if (audioRate != 0 && (audioRate < 8000 || audioRate > 48000))
        return fail("Sound rate must be between 8000 and 48000");
    m_state = std::make_unique<State>();
    State& s = *m_state;
    s.codec = codec;
    s.width = width;
    s.height = height;
    if (avformat_alloc_output_context2(&s.format, nullptr, "avi", path.c_str()) < 0 || !s.format)
        return fail("Cannot make an AVI file");

    AVCodecID id = codec == AviCodec::Cinepak ? AV_CODEC_ID_CINEPAK
        : codec == AviCodec::MsVideo1         ? AV_CODEC_ID_MSVIDEO1
        : codec == AviCodec::Mjpeg            ? AV_CODEC_ID_MJPEG
                                              : AV_CODEC_ID_RAWVIDEO;
    const AVCodec* encoder = avcodec_find_encoder(id);
    if (!encoder)
        return fail("No encoder for this codec");
    s.video = avcodec_alloc_context3(encoder);
    if (!s.video)
        return fail("Out of memory");
    s.video->width = width;
    s.video->height = height;
    s.video->time_base = { 1, fps };
    s.video->framerate = { fps, 1 };
    s.video->pix_fmt = codec == AviCodec::Cinepak ? AV_PIX_FMT_RGB24
        : codec == AviCodec::MsVideo1             ? AV_PIX_FMT_RGB555LE
        : codec == AviCodec::Mjpeg                ? AV_PIX_FMT_YUVJ420P
                                                  : AV_PIX_FMT_PAL8;
    s.video->gop_size = 12;
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
        s.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(s.video, encoder, nullptr) < 0)
        return fail("Cannot start the video encoder");
    s.videoStream = avformat_new_stream(s.format, nullptr);
    if (!s.videoStream || avcodec_parameters_from_context(s.videoStream->codecpar, s.video) < 0)
        return fail("Cannot add the video stream");
    s.videoStream->time_base = s.video->time_base;
    s.videoStream->avg_frame_rate = { fps, 1 };

    if (audioRate) {
        const AVCodec* pcm = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        s.audio = pcm ? avcodec_alloc_context3(pcm) : nullptr;
        if (!s.audio)
            return fail("No encoder for the sound");
        s.audio->sample_rate = audioRate;
        s.audio->sample_fmt = AV_SAMPLE_FMT_S16;
        s.audio->ch_layout = AV_CHANNEL_LAYOUT_MONO;
        s.audio->time_base = { 1, audioRate };
        if (avcodec_open2(s.audio, pcm, nullptr) < 0)
            return fail("Cannot start the sound encoder");
        s.audioStream = avformat_new_stream(s.format, nullptr);
        if (!s.audioStream || avcodec_parameters_from_context(s.audioStream->codecpar, s.audio) < 0)
            return fail("Cannot add the sound stream");
        s.audioStream->time_base = s.audio->time_base;
    }

    if (avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
        return fail("Cannot write file: " + path);
    s.fileOpen = true;
    if (avformat_write_header(s.format, nullptr) < 0)
        return fail("Cannot write the AVI header");
    s.headerWritten = true;
    s.frame = av_frame_alloc();
    s.packet = av_packet_alloc();
    if (!s.frame || !s.packet)
        return fail("Out of memory");
    return true;
}

bool AviWriter::encode(bool video, bool flush)
{
    State& s = *m_state;
    AVCodecContext* context = video ? s.video : s.audio;
    AVStream* stream = video ? s.videoStream : s.audioStream;
    if (avcodec_send_frame(context, flush ? nullptr : s.frame) < 0)
        return fail("Cannot encode");
    while (true) {
        int received = avcodec_receive_packet(context, s.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        if (received < 0)
            return fail("Cannot encode");
        av_packet_rescale_ts(s.packet, context->time_base, stream->time_base);
        s.packet->stream_index = stream->index;
        if (av_interleaved_write_frame(s.format, s.packet) < 0)
            return fail("Cannot write the movie");
    }
}

bool AviWriter::addFrame(const gfx::Surface& picture)
{
    if (!m_state)
        return fail("The movie is not open");
    State& s = *m_state;
    if (picture.width() != s.width || picture.height() != s.height)
        return fail("Every frame must have the movie's size");
    if (s.codec == AviCodec::Raw8)
        return addFrame(toCubePalette(picture));
    av_frame_unref(s.frame);
    s.frame->width = s.width;
    s.frame->height = s.height;
    s.frame->format = s.video->pix_fmt;
    if (av_frame_get_buffer(s.frame, 0) < 0)
        return fail("Out of memory");
    s.scaler = sws_getCachedContext(s.scaler, s.width, s.height, AV_PIX_FMT_BGR0, s.width, s.height, s.video->pix_fmt,
        SWS_POINT, nullptr, nullptr, nullptr);
    if (!s.scaler)
        return fail("Cannot convert the picture");
    const uint8_t* source[4] = { reinterpret_cast<const uint8_t*>(picture.data()), nullptr, nullptr, nullptr };
    int strides[4] = { int(picture.pitch()), 0, 0, 0 };
    sws_scale(s.scaler, source, strides, 0, s.height, s.frame->data, s.frame->linesize);
    s.frame->pts = s.frameNumber++;
    return encode(true, false);
}

bool AviWriter::addFrame(const IndexedPicture& picture)
{
    if (!m_state)
        return fail("The movie is not open");
    State& s = *m_state;
    if (picture.width != s.width || picture.height != s.height
        || picture.pixels.size() != size_t(s.width) * size_t(s.height))
        return fail("Every frame must have the movie's size");
    if (s.codec != AviCodec::Raw8) {
        gfx::Surface colours(s.width, s.height);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                colours.setPixel(x, y, picture.palette[picture.pixels[size_t(y) * size_t(s.width) + size_t(x)]]);
        return addFrame(colours);
    }
    av_frame_unref(s.frame);
    s.frame->width = s.width;
    s.frame->height = s.height;
    s.frame->format = AV_PIX_FMT_PAL8;
    if (av_frame_get_buffer(s.frame, 0) < 0)
        return fail("Out of memory");
    // The muxer marks the rows top-down (a negative height in the stream format).
    for (int y = 0; y < s.height; ++y)
        std::memcpy(s.frame->data[0] + size_t(s.frame->linesize[0]) * size_t(y),
            picture.pixels.data() + size_t(y) * size_t(s.width), size_t(s.width));
    auto* palette = reinterpret_cast<uint32_t*>(s.frame->data[1]);
    for (int i = 0; i < 256; ++i)
        palette[i] = 0xFF000000 | picture.palette[size_t(i)];
    s.frame->pts = s.frameNumber++;
    return encode(true, false);
}

bool AviWriter::addAudio(const std::vector<int16_t>& samples)
{
    if (!m_state)
        return fail("The movie is not open");
    State& s = *m_state;
    if (!s.audio)
        return fail("The movie has no sound track");
    size_t done = 0;
    int chunk = s.audio->frame_size > 0 ? s.audio->frame_size : 1024;
    while (done < samples.size()) {
        int n = int(std::min<size_t>(size_t(chunk), samples.size() - done));
        av_frame_unref(s.frame);
        s.frame->nb_samples = n;
        s.frame->format = AV_SAMPLE_FMT_S16;
        s.frame->sample_rate = s.audio->sample_rate;
        if (av_channel_layout_copy(&s.frame->ch_layout, &s.audio->ch_layout) < 0 || av_frame_get_buffer(s.frame, 0) < 0)
            return fail("Out of memory");
        std::memcpy(s.frame->data[0], samples.data() + done, size_t(n) * 2);
        s.frame->pts = s.sampleNumber;
        s.sampleNumber += n;
        done += size_t(n);
        if (!encode(false, false))
            return false;
    }
    return true;
}

bool AviWriter::finish()
{
    if (!m_state)
        return fail("The movie is not open");
    State& s = *m_state;
    if (!encode(true, true) || (s.audio && !encode(false, true)))
        return false;
    if (av_write_trailer(s.format) < 0)
        return fail("Cannot finish the movie");
    m_state.reset();
    return true;
}

} // namespace platform::video
