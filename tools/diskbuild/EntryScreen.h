#pragma once

// The entry page's screen: its authored source with the entries' categories added from the
// entries' table (data/verbetes.tbl "Categorias"), so the category names are written once:
//   "MCategs"   the main categories' names, in order
//   "Cat<n>"    for each sub-category n: (list main-category-number name), the main category
//               numbered from 1
// A source that already holds one of these keys is an error: the entries' table is their place.

#include "tools/diskbuild/Screens.h"

#include <string>

bool buildEntryScreen(const ScreenRegistration& screen, const std::string& source, const std::string& entries,
    const std::string& output, std::string& error);
