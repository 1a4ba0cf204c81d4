#pragma once

// The user's tours, kept in RotPesq.DTT in the user folder: an archive whose one item is the tour
// table, "ListaDeRoteiros" -> the tour names (strings, in the order they were made) and each
// name -> its tour, an int list of entry list ids (the low 16 bits of an element). A name that
// begins with "**" is a locked tour: it can be read, not changed.
//
// A file that does not read back as such a table is moved aside as RotPesq.BAD and the tours
// start empty; the file is written whole through a temporary file, so a failed save keeps the
// tours saved before.

#include "framework/runtime/Value.h"

constexpr const char* tourFileName = "RotPesq.DTT";
constexpr const char* tourAsideName = "RotPesq.BAD";
constexpr const char* tourNamesKey = "ListaDeRoteiros";

qelValue tourFilePath();
// The stored tour table; nil when there is none (no file, or a damaged one now set aside).
qelValue readTours();
// Replaces the file with the tour table; false (the old file kept) when it could not be written.
bool writeTours(const qelValue& tours);
// Whether the tour of that name is locked.
bool isLockedTour(const qelValue& name);
