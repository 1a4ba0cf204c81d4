#include "app/personal/JogoForm.h"

#include "app/personal/QuizGame.h"
#include "app/personal/SavedGames.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/History.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

// The scenes the game treats apart.
constexpr const char* startScene = "tela00";
constexpr const char* rulesScene = "tela01";
constexpr const char* endScene = "tela28";
// The screens on which leaving offers to save the game.
constexpr int32_t firstSavedScreen = 5;
constexpr int32_t lastSavedScreen = 26;
// The end scene's answers: the right one, and the one that only shows a hint.
constexpr int32_t rightAnswerId = 4;
constexpr int32_t hintAnswerId = 7;
// The shortcut questions of the end scene: keys 1 to 3 at the middle level.
constexpr int32_t shortcutQuestions = 3;
constexpr int32_t shortcutLevel = 2;
// Mouse down and up, key down and up: what the rules may leave queued.
constexpr int32_t inputEvents = 0x3A0;

qelValue resolved(const qelValue& value)
{
    return qelResolve(value);
}

bool controlHas(const qelValue& control, const char* key)
{
    qelControlObject* object = qelControlOf(control);
    return object && object->hasProperty(key);
}

void setDisabled(const qelValue& control, bool disabled)
{
    if (qelControlOf(control))
        qelPut(control, "Disabled", qelMakeBoolean(disabled));
}

int32_t intResult(const qelValue& value)
{
    return value.type() == QEL_INT_TYPE ? value.payload() : 0;
}

qelValue questionData(int32_t key, int32_t level)
{
    qelValue data = quizTable();
    qelPut(data, "Key", qelMakeInt(key));
    qelPut(data, quiz::level, qelMakeInt(level));
    return data;
}

} // namespace

std::string JogoForm::sceneDigits()
{
    std::string scene = m_formName.isString() ? qelCString(m_formName) : "";
    return scene.size() > 4 ? scene.substr(4) : "";
}

int32_t JogoForm::questionCount()
{
    qelValue count = resolved(getProperty("Question Number"));
    return count.type() == QEL_INT_TYPE ? count.payload() : 0;
}

void JogoForm::enableNext()
{
    qelValue button = resolved(getProperty(quiz::next));
    if (!qelControlOf(button))
        return;
    setDisabled(button, false);
    qelPerformAction(button, "Draw");
}

void JogoForm::open(const qelValue& data)
{
    QuizGame& game = quizGame();
    loadResourceTable();
    m_popUpShown = 0;
    m_popUpRect = qelNil;
    m_pendingItem = qelNil;
    m_formName = resolved(getProperty("Form Name"));
    m_screenPoints = 0;

    if (m_formName == startScene) {
        game.score = 0;
        game.steps = 1;
        game.backSteps = 0;
        playSound("Sounds/JogST00", 1);
    } else if (m_formName == rulesScene) {
        // The soundtrack starts after the rules (draw).
    } else if (m_formName == endScene) {
        playSound(qelStringValue(("Sounds/JogST" + sceneDigits()).c_str()), 1);
    } else {
        playSound(qelStringValue(("Sounds/JogLoc" + sceneDigits()).c_str()), 0);
    }

    int32_t questions = questionCount();
    qelValue nextButton = resolved(getProperty(quiz::next));
    if (questions > 0)
        setDisabled(nextButton, true);
    m_answered = qelMakeList(4, 100, QEL_INT_LIST);

    if (data == "Back" && questions > 0) {
        // Returned to: the screen shows as played and cannot be scored again. The controls are
        // drawn so by the opening below.
        qelValue group = resolved(getProperty("QuestionGroup"));
        for (int32_t i = 0; i < questions; ++i) {
            qelAddItem(m_answered, qelMakeInt(i));
            if (i < qelCount(group))
                setDisabled(resolved(qelGet(group, i)), true);
        }
        setDisabled(nextButton, false);
    } else if (data == "Restart") {
        // A resumed game: the history looks as if the player had walked here from "Jogo0".
        int32_t screen = quizScreenNumber(m_formName);
        for (int32_t i = 1; i <= screen - 1; ++i)
            qelHistoryPush(qelStringValue(("Jogo" + std::to_string(i)).c_str()), "Back");
        if (screen > 1)
            game.steps += screen - 1;
    }
    qelMediaFormObject::open(data);
}

void JogoForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    QuizGame& game = quizGame();
    if (name == "Final") {
        qelHistoryGoToEx("MainForm", qelNil, 0);
    } else if (object->hasProperty("QuestionID")) {
        answerQuestion(control);
    } else if (object->hasProperty("PopUpId")) {
        popUpButton(control);
    } else if (name == "Sair") {
        leave();
    } else if (name == "guarda-chuva") {
        qelRunDialog("JogoScoreDlg", qelMakeInt(game.score));
    } else if (name == "Voltar") {
        game.backSteps += 1;
        game.steps -= 1;
        goHistory(1);
    } else if (name == quiz::next) {
        next();
    } else {
        qelFormObject::handleControl(control);
    }
}

void JogoForm::answerQuestion(const qelValue& control)
{
    qelValue question = resolved(qelGet(control, "QuestionID"));
    int32_t id = intResult(question);
    if (qelIndexOf(m_answered, qelMakeInt(id)) < 0) {
        int32_t level = intResult(qelDoDialog("JogoNivelDlg"));
        if (level != 0) {
            qelAddItem(m_answered, qelMakeInt(id));
            setDisabled(control, true);
            qelPerformAction(control, "Draw");
            if (controlHas(control, "AuxControl")) {
                qelValue aux = resolved(qelGet(control, "AuxControl"));
                setDisabled(aux, true);
                if (qelControlOf(aux))
                    qelPerformAction(aux, "Draw");
            }
            m_screenPoints += intResult(qelRunDialog("JogoQuestionDlg", questionData(id + level, level)));
        }
    }
    if (qelCount(m_answered) == questionCount())
        enableNext();
}

void JogoForm::popUpButton(const qelValue& control)
{
    int32_t id = intResult(resolved(qelGet(control, "PopUpId")));
    showPopUp(qelStringValue(("Item" + std::to_string(id)).c_str()));
    if (m_formName != endScene)
        return;
    if (id == hintAnswerId) {
        m_pendingItem = "ItemE";
        return;
    }
    qelValue answers = resolved(getProperty("AltGroup"));
    for (int32_t i = 0; i < qelCount(answers); ++i) {
        qelValue answer = resolved(qelGet(answers, i));
        setDisabled(answer, true);
        if (qelControlOf(answer))
            qelPerformAction(answer, "Draw");
    }
    bool champion = quizGame().score >= championScore;
    if (id == rightAnswerId)
        m_pendingItem = champion ? "ItemA" : "ItemB";
    else
        m_pendingItem = champion ? "ItemC" : "ItemD";
    if (champion)
        enableNext();
}

void JogoForm::leave()
{
    QuizGame& game = quizGame();
    // The furthest screen reached: the screens stepped back over count too.
    int32_t furthest = quizScreenNumber(m_formName) + game.backSteps;
    if (furthest >= firstSavedScreen && furthest <= lastSavedScreen) {
        qelValue data = quizTable();
        qelPut(data, "Tela", qelMakeInt(furthest));
        qelPut(data, "Score", qelMakeInt(game.score));
        qelRunDialog("JogoSairDlg", data);
    }
    // A quiz screen reached through the history, not from the start screen, has no way back to
    // where the game began: one step back keeps the player inside the history.
    goHistory(game.steps >= 1 ? game.steps : 1);
}

void JogoForm::next()
{
    QuizGame& game = quizGame();
    int32_t target = quizScreenNumber(resolved(getProperty("Name"))) + 1;
    qelValue data;
    if (m_formName == startScene && savedGamesExist()) {
        qelValue answer = qelDoDialog("JogoEntrarDlg");
        if (answer == "Cancelar")
            return;
        if (answer.type() == QEL_TABLE_TYPE) {
            qelValue games = readSavedGames();
            qelValue code = qelGet(answer, "Senha");
            // Only resumable entries are read: a code the file lacks starts a new game.
            if (code.isString() && qelContainsKey(games, code)) {
                qelValue entry = qelGet(games, code);
                target = qelGetInt(entry, "Tela");
                game.score = qelGetInt(entry, "Score");
                data = "Restart";
            }
        }
    } else if (game.backSteps > 0) {
        game.backSteps -= 1;
        if (game.backSteps > 0)
            data = "Back";
    }
    game.score += m_screenPoints;
    game.steps += 1;
    qelHistoryGoTo(qelStringValue(("Jogo" + std::to_string(target)).c_str()), data);
}

void JogoForm::showPopUp(const qelValue& name)
{
    qelValue list = resolved(getProperty("PopUpList"));
    if (list.type() != QEL_TABLE_TYPE)
        return;
    qelValue entry = resolved(qelGet(list, name));
    // Why: an entry is [image, x, y] or [image, x, y, sound]; anything shorter shows nothing.
    if (entry.type() != QEL_LIST_TYPE || qelCount(entry) < 3)
        return;
    qelValue image = qelLoadImageResource(qelGet(entry, 0));
    int32_t x = intResult(qelGet(entry, 1));
    int32_t y = intResult(qelGet(entry, 2));
    m_popUpRect = qelRectValue(x, y, image.isNil() ? 0 : qelWidth(image), image.isNil() ? 0 : qelHeight(image));
    qelValue picture = resolved(getProperty("PopUpImage"));
    if (qelControlOf(picture)) {
        qelPut(picture, "Image", qelGet(entry, 0));
        qelPut(picture, "X", qelMakeInt(x));
        qelPut(picture, "Y", qelMakeInt(y));
        qelPut(picture, "Hidden", qelFalse);
        qelPerformAction(picture, "Draw");
    }
    if (qelCount(entry) >= 4 && qelGet(entry, 3).isString()) {
        qelRefreshWindowArea(0, 0, 0, 0);
        playSound(qelPathJoin(qelMediaPath(), qelGet(entry, 3)), 0);
    }
    if (hasProperty("ControlGroup"))
        qelPerform(resolved(getProperty("ControlGroup")), "Show", qelFalse);
    m_popUpShown = 1;
}

void JogoForm::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    if (m_popUpShown != 1 || qelContainsPoint(m_popUpRect, x, y)) {
        qelMediaFormObject::mouseDown(x, y, modifiers, clicks);
        return;
    }
    qelValue picture = resolved(getProperty("PopUpImage"));
    if (qelControlOf(picture)) {
        qelPut(picture, "Hidden", qelTrue);
        qelPerformAction(picture, "Draw");
    }
    if (hasProperty("ControlGroup"))
        qelPerform(resolved(getProperty("ControlGroup")), "Show", qelTrue);
    m_popUpShown = 0;
    if (m_pendingItem.isNil())
        return;
    if (m_pendingItem == "Atalho") {
        for (int32_t key = 1; key <= shortcutQuestions; ++key) {
            if (intResult(qelRunDialog("JogoQuestionDlg", questionData(key, shortcutLevel))) != 0) {
                enableNext();
                break;
            }
        }
        return;
    }
    qelValue item = m_pendingItem;
    showPopUp(item);
    m_pendingItem = item == "ItemB" ? qelValue("Atalho") : qelNil;
}

void JogoForm::mediaNotify(const qelValue& first, const qelValue& second)
{
    if (!sound.isNil() && first == sound && second == "ended") {
        stopSound();
        playSound(qelStringValue(("Sounds/JogST" + sceneDigits()).c_str()), 1);
        return;
    }
    qelMediaFormObject::mediaNotify(first, second);
}

void JogoForm::draw()
{
    // The screen's background and controls are drawn by the opening; only the rules scene
    // shows its rules once the screen is there.
    if (m_formName != rulesScene)
        return;
    qelDoDialog("JogoRegrasDlg");
    qelFlushEvents(inputEvents);
    playSound("Sounds/JogST00", 1);
}
