#pragma once

// A user folder of its own and a fixed calendar clock for the agenda's tests.

#include "framework/runtime/Environment.h"
#include "platform/sys/Folders.h"
#include "platform/sys/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace agendatest {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline Bytes fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class AgendaFixture : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-agenda-" + std::to_string(std::random_device {}()));
        user = root / "user";
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        environment.makeCurrent();
        environment.setSetting("SourceDisk", root.string().c_str());
        environment.setSetting("MediaPath", "Media");
        setClock(1998, 1, 1);
    }
    void TearDown() override
    {
        platform::setCalendarClock(std::nullopt);
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(root);
    }
    // The clock at noon of a date (month 1-12).
    static void setClock(int year, int month, int day)
    {
        auto moment = platform::localMoment(year, month - 1, day, 12, 0);
        ASSERT_TRUE(moment) << year << "-" << month << "-" << day;
        platform::setCalendarClock(moment);
    }

    fs::path root;
    fs::path user;
    qelEnvironment environment;
};

} // namespace agendatest
