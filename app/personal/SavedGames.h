#pragma once

// The saved quiz games: the file "Jogo.DTT" in the user folder, an archive whose only item is a
// table from a resume code (four capital letters "A" to "Z") to {"Tela": int, "Score": int},
// the screen the game resumes at and the score reached. Each save adds one code; none is ever
// removed. The file is written whole through a temporary file and a rename, so a failed write
// keeps the old one.

#include "framework/runtime/Value.h"

#include <cstdint>

// The file's path in the user folder.
qelValue savedGamesPath();

bool savedGamesExist();

// The saved games from the file. A missing file gives a new empty table. A file that cannot be
// read as saved games is moved aside ("JOGO.BAD") and gives an empty table, so the next save
// starts a good file; entries that cannot be resumed (a code that is not four capital letters,
// "Tela" outside 1..28, a "Score" that is not an int of 0 or more) are left out and the others
// kept.
qelValue readSavedGames();

// Replaces the file with the table; false when it could not be written (the old file stays).
bool writeSavedGames(const qelValue& games);

// A new resume code that the table does not hold, drawn from the process's 15-bit generator:
// four letters, each at (26 x r) / 32767 of the alphabet. Nil when no free code came within the
// bound of tries.
qelValue makeResumeCode(const qelValue& games);

// Whether the entry is one a game can resume from.
bool isResumableEntry(const qelValue& code, const qelValue& entry);
