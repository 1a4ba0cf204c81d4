#pragma once

// A headless window layer for tests of the event queue and the program's services: a virtual
// clock (optionally started near its 32-bit wrap), an input script that keeps quiet for a day,
// and a current environment whose settings the test fills.

#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <memory>
#include <variant>

class ClockBackend : public platform::HeadlessBackend {
public:
    ClockBackend(uint32_t start, Options options)
        : HeadlessBackend(std::move(options))
        , m_start(start)
    {
    }
    uint32_t now() override { return HeadlessBackend::now() + m_start; }

private:
    uint32_t m_start;
};

class TestEnvironment : public qelEnvironmentBase { };

struct HeadlessFixture {
    explicit HeadlessFixture(uint32_t clockStart = 1000, const char* script = "wait 86400000\n")
    {
        platform::HeadlessBackend::Options options;
        options.exitWhenStuck = false;
        options.quietLimitMs = 0x7FFFFFFF;
        auto backend = std::make_unique<ClockBackend>(clockStart, options);
        backend->setScript(std::get<platform::Script>(platform::Script::parse(script)));
        headless = backend.get();
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        qelSetWindowSystem(system.get());
        environment.makeCurrent();
        qelFreeEventQueue();
    }
    ~HeadlessFixture()
    {
        qelFreeEventQueue();
        qelSetMediaHooks(nullptr, nullptr);
        qelSetWindowSystem(nullptr);
    }

    void setting(const char* name, const qelValue& value) { environment.setSetting(name, value); }

    platform::HeadlessBackend* headless = nullptr;
    std::unique_ptr<platform::WindowSystem> system;
    TestEnvironment environment;
};
