#include "app/personal/QuizGame.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/ListScrolling.h"

#include <string>

QuizGame& quizGame()
{
    static QuizGame game;
    return game;
}

int32_t quizScreenNumber(const qelValue& name)
{
    if (!name.isString())
        return 0;
    std::string text = qelCString(name);
    // Why: the screens' names are "Jogo" or "tela" followed by the number; anything shorter
    // names no screen.
    if (text.size() <= 4)
        return 0;
    int32_t number = 0;
    for (size_t i = 4; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            break;
        // Why: a screen number has at most a few digits; a longer run must not overflow.
        if (number > 100000)
            return 0;
        number = number * 10 + (c - '0');
    }
    return number;
}

qelValue quizTable()
{
    return qelTable(4, 100, 75);
}

bool quizDialogEndsOnEnter(qelDialogObject& dialog, int32_t code)
{
    if (code != QEL_KEY_ENTER)
        return false;
    dialog.endDialog();
    return true;
}
