#pragma once

// A movie device for tests: it records every command as text, answers the code given in
// `failures` for a command of that name, reports one fixed source size and length, and never
// plays anything (ends are delivered by hand through qelMovieObject::notify).

#include "platform/video/MoviePlayer.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qeltest {

// Records each command as text; a command named in `failures` answers that code.
class FakePlayer final : public platform::video::MoviePlayer {
public:
    std::vector<std::string> calls;
    std::map<std::string, uint32_t> failures;
    std::set<uint32_t> openDevices;
    uint32_t nextId = 100;
    int32_t frames = 50;
    int32_t positionNow = 0;

    uint32_t command(const std::string& name, const std::string& args)
    {
        calls.push_back(name + (args.empty() ? "" : " " + args));
        auto failure = failures.find(name);
        return failure == failures.end() ? 0 : failure->second;
    }

    uint32_t openType(const std::string& type, uint32_t& device) override
    {
        uint32_t code = command("openType", type);
        if (!code)
            openDevices.insert(device = nextId++);
        return code;
    }
    uint32_t openElement(const std::string& type, const std::string& path, const std::string& alias,
        platform::WindowHandle, uint32_t& device) override
    {
        uint32_t code = command("open", type + " " + std::filesystem::path(path).filename().string() + " " + alias);
        if (!code)
            openDevices.insert(device = nextId++);
        return code;
    }
    uint32_t close(uint32_t device) override
    {
        openDevices.erase(device);
        return command("close", std::to_string(device));
    }
    uint32_t sourceSize(uint32_t, int& width, int& height) override
    {
        width = 160;
        height = 120;
        return 0;
    }
    uint32_t length(uint32_t, int32_t& count) override
    {
        count = frames;
        return 0;
    }
    uint32_t position(uint32_t, int32_t& frame) override
    {
        frame = positionNow;
        return command("position", "");
    }
    uint32_t seek(uint32_t device, int32_t frame) override
    {
        return command("seek", std::to_string(device) + " " + std::to_string(frame));
    }
    uint32_t cue(uint32_t device) override { return command("cue", std::to_string(device)); }
    uint32_t play(uint32_t device, int32_t from, int32_t to, bool repeat) override
    {
        return command("play",
            std::to_string(device) + " " + std::to_string(from) + " " + std::to_string(to) + (repeat ? " repeat" : ""));
    }
    uint32_t stop(uint32_t device) override { return command("stop", std::to_string(device)); }
    uint32_t place(uint32_t device, const platform::gfx::Rect& r) override
    {
        return command("place",
            std::to_string(device) + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " "
                + std::to_string(r.width()) + " " + std::to_string(r.height()));
    }
    uint32_t show(uint32_t device, bool visible) override
    {
        return command(visible ? "show" : "hide", std::to_string(device));
    }
    uint32_t drawFrame(uint32_t device, platform::gfx::Surface&, const platform::gfx::Rect&) override
    {
        return command("draw", std::to_string(device));
    }
    std::string errorText(uint32_t code) override { return code == 77 ? "" : "fake error " + std::to_string(code); }
};

} // namespace qeltest
