#include "app/personal/JogoQuestionDlg.h"

#include "app/personal/QuizGame.h"
#include "app/shell/ErrorCapture.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"
#include "framework/ui/StaticText.h"
#include "recdb/index/IndexObject.h"

#include <string>

namespace {

// The record's elements: the question, the three options, the right option's number.
constexpr int32_t questionElement = 1;
constexpr int32_t recordLength = 6;
constexpr int32_t rightElement = 5;

void setDisabled(const qelValue& control, bool disabled, bool draw)
{
    qelValue object = qelResolve(control);
    if (!qelControlOf(object))
        return;
    qelPut(object, "Disabled", qelMakeBoolean(disabled));
    if (draw)
        qelPerformAction(object, "Draw");
}

std::string optionName(int32_t option)
{
    return "Option" + std::to_string(option);
}

} // namespace

qelValue JogoQuestionDlg::findQuestion(int32_t key)
{
    qelValue archivePath = qelLocateFile(qelValue("Jogo"), qelValue("DAT"));
    qelValue indexPath = qelLocateFile(qelValue("JGIDList"), qelValue("IDX"));
    if (!qelLocatedFileExists(archivePath) || !qelLocatedFileExists(indexPath))
        return qelNil;
    // Content that does not read back is a question not found, not the end of the program.
    ErrorCapture errors;
    qelValue archive = qelOpenArchive(archivePath, 0);
    qelValue index = qelOpenIndex(indexPath, 0, 0);
    if (errors.failed() || archive.type() != QEL_ARCHIVE_TYPE || !qelIndexObjectOf(index))
        return qelNil;
    qelValue item = qelGet(index, qelStringValue(std::to_string(key).c_str()));
    if (item.type() != QEL_INT_TYPE || item.payload() < 0 || item.payload() >= qelCount(archive))
        return qelNil;
    qelValue record = qelGet(archive, item.payload());
    if (errors.failed() || record.type() != QEL_LIST_TYPE || qelCount(record) < recordLength)
        return qelNil;
    for (int32_t i = questionElement; i < rightElement; ++i) {
        if (!qelGet(record, i).isString())
            return qelNil;
    }
    qelValue right = qelGet(record, rightElement);
    if (right.type() != QEL_INT_TYPE || right.payload() < 1 || right.payload() > 3)
        return qelNil;
    return record;
}

void JogoQuestionDlg::open(const qelValue& data)
{
    loadResourceTable();
    m_answered = 0;
    m_correct = 0;
    m_rightOption = 0;
    m_record = qelNil;
    qelValue level = qelTableOf(data) ? qelGet(data, quiz::level) : qelNil;
    m_level = level.type() == QEL_INT_TYPE ? level.payload() : 0;
    std::string background = "Nivel" + std::to_string(m_level) + "Bk";
    setProperty("Background Image", getProperty(qelStringValue(background.c_str())));

    qelValue key = qelTableOf(data) ? qelGet(data, "Key") : qelNil;
    if (key.type() == QEL_INT_TYPE)
        m_record = findQuestion(key.payload());
    if (m_record.isNil()) {
        skip();
        return;
    }
    m_rightOption = qelIntAt(m_record, rightElement);
    const char* const texts[] = { "Question", "Option1Tx", "Option2Tx", "Option3Tx" };
    for (int32_t i = 0; i < 4; ++i) {
        auto* text = dynamic_cast<StaticText*>(qelControlOf(qelResolve(getProperty(texts[i]))));
        if (text)
            text->setText(qelGet(m_record, questionElement + i), 0);
    }
    setDisabled(getProperty("VerCerta"), true, false);
    setDisabled(getProperty("Continuar"), true, false);
    qelMediaDialogObject::open(data);
}

void JogoQuestionDlg::skip()
{
    // Nothing was drawn and nothing is to be put back: the run ends before its first event.
    qelSetOrigin(0, 0, &savedOriginX, &savedOriginY);
    qelSetOrigin(savedOriginX, savedOriginY);
    savedBackground = qelNil;
    done = 1;
}

void JogoQuestionDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "OKButton" || name == "Continuar") {
        endDialog();
        return;
    }
    if (name == "VerCerta") {
        qelValue option = qelResolve(getProperty(qelStringValue(optionName(m_rightOption).c_str())));
        qelControlObject* right = qelControlOf(option);
        qelValue spot = right ? right->getProperty("Hot Spot") : qelNil;
        qelValue mark = qelLoadImageResource("OkImage");
        if (spot.type() == QEL_REGION_TYPE && !mark.isNil())
            qelShowImageAt(mark, qelLeft(spot), qelTop(spot), 0, 0, 0, 0);
        return;
    }
    if (name == "Fechar" && m_answered == 1) {
        endDialog();
        return;
    }
    for (int32_t option = 1; option <= 3; ++option) {
        if (name == optionName(option).c_str()) {
            answer(option);
            return;
        }
    }
    qelDialogObject::handleControl(control);
}

void JogoQuestionDlg::answer(int32_t option)
{
    m_answered = 1;
    m_correct = option == m_rightOption ? 1 : 0;
    setDisabled(getProperty("Continuar"), false, true);
    setDisabled(getProperty("VerCerta"), m_correct == 1, true);
    for (int32_t other = 1; other <= 3; ++other) {
        if (other != option)
            setDisabled(getProperty(qelStringValue(optionName(other).c_str())), true, true);
    }
    playSound(m_correct ? "Sounds/Acerto" : "Sounds/Erro", 0);
}

qelValue JogoQuestionDlg::result()
{
    return qelMakeInt(m_correct == 1 ? 10 * m_level : 0);
}
