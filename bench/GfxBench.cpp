// Drawing an 8-bit bitmap into a 32-bit surface, as every picture of the program is drawn:
// our DIB blit against SDL's blit from an INDEX8 surface to an ARGB8888 one, on a full
// 640 x 480 frame and on small rectangles spread over it. Prints our time over SDL's.
#include "platform/gfx/Dib.h"
#include "platform/gfx/MemoryDc.h"

#include "bench/RatioReporter.h"
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

using namespace platform::gfx;

namespace {

constexpr int frameWidth = 640;
constexpr int frameHeight = 480;
constexpr int smallSide = 32;

struct Scene {
    Dib dib = Dib::create(frameWidth, frameHeight, 8, 256);
    Surface surface { frameWidth, frameHeight };
    SDL_Surface* indexed = nullptr;
    SDL_Surface* target = nullptr;

    Scene()
    {
        SDL_Color colours[256];
        for (int i = 0; i < 256; ++i) {
            dib.colors[size_t(i)] = { uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0 };
            colours[i] = { uint8_t(i * 3), uint8_t(255 - i), uint8_t(i), 255 };
        }
        indexed = SDL_CreateRGBSurfaceWithFormat(0, frameWidth, frameHeight, 8, SDL_PIXELFORMAT_INDEX8);
        target = SDL_CreateRGBSurfaceWithFormat(0, frameWidth, frameHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_SetPaletteColors(indexed->format->palette, colours, 0, 256);
        for (int y = 0; y < frameHeight; ++y) {
            auto* row = static_cast<uint8_t*>(indexed->pixels) + y * indexed->pitch;
            for (int x = 0; x < frameWidth; ++x) {
                uint8_t v = uint8_t((x * 7 + y * 13) ^ (x >> 3));
                row[x] = v;
                dib.row(y)[x] = v;
            }
        }
    }
    ~Scene()
    {
        SDL_FreeSurface(indexed);
        SDL_FreeSurface(target);
    }
};

Scene& scene()
{
    static Scene s;
    return s;
}

// Small rectangles walk over the frame so that caches see a realistic spread.
SDL_Rect smallRect(int64_t i)
{
    int columns = frameWidth / smallSide;
    int rows = frameHeight / smallSide;
    int cell = int(i % (columns * rows));
    return { (cell % columns) * smallSide, (cell / columns) * smallSide, smallSide, smallSide };
}

void oursFullFrame(benchmark::State& state)
{
    Scene& s = scene();
    MemoryDc dc(s.surface);
    for (auto _ : state) {
        dc.stretchDIBits(0, 0, frameWidth, frameHeight, 0, 0, frameWidth, frameHeight, s.dib, RasterOp::SrcCopy);
        benchmark::DoNotOptimize(s.surface.data());
    }
}

void sdlFullFrame(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        SDL_BlitSurface(s.indexed, nullptr, s.target, nullptr);
        benchmark::DoNotOptimize(s.target->pixels);
    }
}

void oursSmallRects(benchmark::State& state)
{
    Scene& s = scene();
    MemoryDc dc(s.surface);
    int64_t i = 0;
    for (auto _ : state) {
        SDL_Rect r = smallRect(i++);
        // Bottom-up source rows are counted from the bottom edge.
        dc.stretchDIBits(r.x, r.y, r.w, r.h, r.x, frameHeight - r.y - r.h, r.w, r.h, s.dib, RasterOp::SrcCopy);
        benchmark::DoNotOptimize(s.surface.data());
    }
}

void sdlSmallRects(benchmark::State& state)
{
    Scene& s = scene();
    int64_t i = 0;
    for (auto _ : state) {
        SDL_Rect r = smallRect(i++);
        SDL_Rect d = r;
        SDL_BlitSurface(s.indexed, &r, s.target, &d);
        benchmark::DoNotOptimize(s.target->pixels);
    }
}

BENCHMARK(oursFullFrame);
BENCHMARK(sdlFullFrame);
BENCHMARK(oursSmallRects);
BENCHMARK(sdlSmallRects);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* ours, const char* peer, const char* what) {
        if (reporter.times.count(ours) && reporter.times.count(peer) && reporter.times[peer] > 0)
            std::printf("%-36s ours / SDL = %.2f (goal <= 1.00)\n", what, reporter.times[ours] / reporter.times[peer]);
    };
    ratio("oursFullFrame", "sdlFullFrame", "8-bit to 32-bit, 640 x 480 frame:");
    ratio("oursSmallRects", "sdlSmallRects", "8-bit to 32-bit, 32 x 32 rectangles:");
    benchmark::Shutdown();
    return 0;
}
