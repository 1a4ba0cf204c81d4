#pragma once

// The resource names the almanac registers at set-up: each opens a form or dialog of a known
// class described by one compiled resource file of the content ("<file>.etn", matched without
// regard to case). The agenda's six rows come first: they alone are registered when only the
// agenda runs.

#include <array>
#include <cstddef>

struct VelarimRegistration {
    const char* name;
    const char* className;
    const char* file;
    // The form carries its own "Name" (three-name registration); else its name is its class's.
    bool named;
};

// Rows the stand-alone agenda registers: the first ones of the table.
constexpr std::size_t velarimAgendaRegistrationCount = 6;

extern const std::array<VelarimRegistration, 180> velarimRegistrations;

// Registers the rows [first, last) of the table in the current environment's globals.
void velarimRegister(std::size_t first, std::size_t last);
