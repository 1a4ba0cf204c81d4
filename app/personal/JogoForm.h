#pragma once

// A screen of the quiz game, "Jogo0" to "Jogo31", each built from its own resource ("Jogo00" to
// "Jogo31") whose "Form Name" is the scene, "tela00" to "tela29". A question button (one with a
// "QuestionID") asks the level, then the question keyed by its id plus the level; once every
// question of the screen is answered "Próximo" opens, and going on adds the screen's points to
// the game's score. "Voltar" steps back through the history (a screen returned to opens with
// "Back", already played); "Sair" offers to save the game on screens 5 to 26 and goes back to
// the screen the game was entered from; "guarda-chuva" shows the score; "Final" goes to the main
// menu. The start scene "tela00" resets the game and offers to resume a saved one; the rules
// scene "tela01" shows the rules once it is drawn; the end scene "tela28" grades the player with
// pop-up pictures by the last answer and by whether the score reached 770.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaFormObject.h"

#include <string>

class JogoForm : public qelMediaFormObject {
    VELARIM_CLASS(JogoForm, qelMediaFormObject)
public:
    void draw() override;
    void handleControl(const qelValue& control) override;
    // Data: nil, "Back" (returned to through the history) or "Restart" (a resumed game).
    void open(const qelValue& data) override;
    qelValue historyText() override { return qelValue("Back"); }
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void mediaNotify(const qelValue& first, const qelValue& second) override;

    // Shows the pop-up picture of "PopUpList" under the name; nothing when it has none.
    void showPopUp(const qelValue& name);

    // The score from which the end scene grades the player as a champion.
    static constexpr int32_t championScore = 770;

private:
    void next();
    void leave();
    void answerQuestion(const qelValue& control);
    void popUpButton(const qelValue& control);
    void enableNext();
    int32_t questionCount();
    // The characters of the scene name after "tela".
    std::string sceneDigits();

    int32_t m_popUpShown = 0;
    qelValue m_popUpRect;
    qelValue m_answered;
    qelValue m_formName;
    qelValue m_pendingItem;
    int32_t m_screenPoints = 0;
};
