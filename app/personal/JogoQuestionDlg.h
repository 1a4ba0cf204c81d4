#pragma once

// One question of the quiz with three options. Opened with {"Key": int, "Nível": int}, it finds
// the question record under the key in the index "JGIDList" and reads it from the question
// archive "Jogo" (both on the disk): element 1 the question, 2 to 4 the options, 5 the number of
// the right option. The level gives the background ("Nivel1Bk" to "Nivel3Bk").
//
// Choosing an option answers: the other two options go grey, "Continuar" opens, and after a
// wrong answer "VerCerta" opens too, which marks the right option with "OkImage". The result is
// 10 points a level for a right answer, else 0. A question that cannot be found (no archive, no
// index, a key the index lacks, a record that is not a question) is not shown: the dialog ends
// at once with 0.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class JogoQuestionDlg : public qelMediaDialogObject {
    VELARIM_CLASS(JogoQuestionDlg, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    qelValue result() override;

    // The question record under the key, or nil when it cannot be found or is not a question.
    static qelValue findQuestion(int32_t key);

private:
    void answer(int32_t option);
    // Ends a run that was never shown.
    void skip();

    int32_t m_level = 0;
    int32_t m_rightOption = 0;
    qelValue m_record;
    int32_t m_answered = 0;
    int32_t m_correct = 0;
};
