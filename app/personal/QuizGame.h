#pragma once

// The quiz game's state shared by all its screens, kept in memory for the whole run and never
// written to a file, and the names the screens and dialogs share.

#include "framework/runtime/Value.h"

#include <cstdint>

struct QuizGame {
    // History steps from the current quiz screen back to the screen the game was entered from.
    int32_t steps = 0;
    // The game score in points.
    int32_t score = 0;
    // Screens stepped back with "Voltar" and not yet walked forward again.
    int32_t backSteps = 0;
};

// The one game of the process.
QuizGame& quizGame();

// The number in a screen's name: what follows its first four characters ("Jogo12" gives 12,
// "tela05" gives 5); 0 when there is none.
int32_t quizScreenNumber(const qelValue& name);

// A new table as the game hands them to its dialogs (capacity 4, growth 100 %, fill 75 %).
qelValue quizTable();

// Names written in cp1252, as the screens' resources hold them.
namespace quiz {
inline constexpr const char* next = "Pr\xF3ximo";
inline constexpr const char* level = "N\xEDvel";
inline constexpr const char* no = "N\xE3o";
inline constexpr const char* easy = "F\xE1" "cil";
inline constexpr const char* hard = "Dif\xED" "cil";
inline constexpr const char* veryHard = "Muito Dif\xED" "cil";
} // namespace quiz

class qelDialogObject;

// The Enter key of the level, score and rules dialogs: Enter ends the dialog with the result it
// holds. True when the key was Enter.
bool quizDialogEndsOnEnter(qelDialogObject& dialog, int32_t code);
