#include "framework/ui/PrintSetupDialog.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/ui/TextField.h"

#include <filesystem>

namespace {

// The panel, in dialog coordinates.
constexpr int32_t WIDTH = 400;
constexpr int32_t HEIGHT = 196;
constexpr int32_t TITLE_HEIGHT = 28;
constexpr int32_t MARGIN = 16;
constexpr int32_t FIELD_HEIGHT = 24;
constexpr int32_t BUTTON_WIDTH = 92;
constexpr int32_t BUTTON_HEIGHT = 28;
// Colour references (0x00BBGGRR).
constexpr int32_t PANEL = 0xD8D8D8;
constexpr int32_t FRAME = 0x404040;
constexpr int32_t TITLE_BAND = 0x603010;
constexpr int32_t WHITE = 0xFFFFFF;
constexpr int32_t BLACK = 0;
constexpr int32_t BUTTON_FACE = 0xECECEC;
constexpr int32_t BUTTON_PRESSED = 0xA0A0A0;
// Paths longer than this do not fit the file system's names anyway.
constexpr int32_t MAX_PATH_LENGTH = 255;

qelValue cp1252Value(const std::string& utf8)
{
    std::string text = qelFromUtf8(utf8);
    return qelStringValueN(text.data(), int32_t(text.size()));
}

std::string utf8Of(const qelValue& text)
{
    return text.isString() ? qelToUtf8(qelCString(text)) : std::string();
}

qelValue labelFont()
{
    return qelFontValue(qelStringValue("Arial"), 12, 0);
}

// The text centred in the box, in the colour.
void drawCentred(const char* text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour)
{
    qelValue value = qelStringValue(text);
    int32_t w = 0;
    int32_t h = 0;
    qelMeasureString(value, qelNil, &w, &h);
    int32_t previous = qelSetColor(colour);
    qelDrawTextInRect(value, x, y + (height - h) / 2, width, h, 1, 0);
    qelSetColor(previous);
}

// A push button drawn by the dialog itself: a framed face with its "Text", sunk while pressed.
// It never takes the focus, which stays with the field being typed into.
class PanelButton : public qelControlObject {
public:
    using qelControlObject::qelControlObject;
    int32_t canActivate() override { return 0; }
    void draw() override { paint(BUTTON_FACE); }
    void drawPressed() override { paint(BUTTON_PRESSED); }

private:
    void paint(int32_t face)
    {
        qelValue spot = hotSpot();
        if (spot.isNil())
            return;
        int32_t x = qelLeft(spot);
        int32_t y = qelTop(spot);
        int32_t w = qelWidth(spot);
        int32_t h = qelHeight(spot);
        qelRectangle(x, y, w, h, face);
        qelSetLineWidth(1);
        qelFrameRegion(spot, FRAME);
        qelValue previousFont = qelSetFont(labelFont());
        qelValue text = getProperty("Text");
        drawCentred(text.isString() ? qelCString(text) : "", x, y, w, h, BLACK);
        qelSetFont(previousFont);
    }
};

qelValue fieldControl(const char* name, int32_t top, const std::string& utf8, bool active)
{
    qelValue data = qelTable(8, 100, 75);
    qelPut(data, "Name", qelStringValue(name));
    qelPut(data, "Hot Spot", qelRectValue(MARGIN, top, WIDTH - 2 * MARGIN, FIELD_HEIGHT));
    qelPut(data, "StringValue", cp1252Value(utf8));
    qelPut(data, "Font", labelFont());
    qelPut(data, "Border", qelTrue);
    qelPut(data, "ForegroundColor", qelMakeInt(BLACK));
    qelPut(data, "MaxLength", qelMakeInt(MAX_PATH_LENGTH));
    if (active)
        qelPut(data, "Auto Activate", qelTrue);
    return qelControlValue(new TextField(data));
}

qelValue buttonControl(const char* name, const char* text, int32_t left)
{
    qelValue data = qelTable(4, 100, 75);
    qelPut(data, "Name", qelStringValue(name));
    qelPut(data, "Text", qelStringValue(text));
    qelPut(data, "Hot Spot",
        qelRectValue(left, HEIGHT - MARGIN - BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT));
    return qelControlValue(new PanelButton(data));
}

std::optional<std::string> chooseOutput(const std::string& proposed)
{
    return PrintSetupDialog::choose(proposed);
}

void tellWhereTheJobWent(const std::string& path)
{
    qelMessageBox(cp1252Value("O documento foi gravado em " + path));
}

} // namespace

PrintSetupDialog::PrintSetupDialog(const std::string& proposed)
{
    std::filesystem::path path(proposed);
    qelValue resources = qelTable(8, 100, 75);
    qelPut(resources, "Width", qelMakeInt(WIDTH));
    qelPut(resources, "Height", qelMakeInt(HEIGHT));
    qelPut(resources, "Origin X", qelMakeInt((qelMediaWidth() - WIDTH) / 2));
    qelPut(resources, "Origin Y", qelMakeInt((qelMediaHeight() - HEIGHT) / 2));
    qelPut(resources, "Drag Rect", qelRectValue(0, 0, WIDTH, TITLE_HEIGHT));
    qelPut(resources, "Control List",
        qelListOf({ fieldControl("Pasta", 62, path.parent_path().string(), false),
            fieldControl("Arquivo", 114, path.filename().string(), true),
            buttonControl("OK", "OK", WIDTH - 2 * MARGIN - 2 * BUTTON_WIDTH + 8),
            buttonControl("Cancelar", "Cancelar", WIDTH - MARGIN - BUTTON_WIDTH) }));
    setProperty("Resource Table", resources);
    name = qelStringValue("PrintSetupDialog");
}

PrintSetupDialog::~PrintSetupDialog() = default;

void PrintSetupDialog::draw()
{
    qelRectangle(0, 0, WIDTH, HEIGHT, PANEL);
    qelRectangle(0, 0, WIDTH, TITLE_HEIGHT, TITLE_BAND);
    qelSetLineWidth(1);
    // An outline runs along the region's right and bottom edges, which lie one pixel outside
    // it: the frame stays inside the panel, whose screen the dialog puts back when it closes.
    qelFrameRegion(qelRectValue(0, 0, WIDTH - 1, HEIGHT - 1), FRAME);
    int32_t previousBack = qelSetBackColor(-1);
    qelValue previousFont = qelSetFont(qelFontValue(qelStringValue("Arial"), 12, qelFontBold));
    int32_t previousColor = qelSetColor(WHITE);
    qelDrawTextInRect(cp1252Value("Configurar impressão"), 10, 6, WIDTH - 20, TITLE_HEIGHT - 6, 0, 0);
    qelSetFont(labelFont());
    qelSetColor(BLACK);
    qelDrawTextInRect(qelStringValue("Pasta"), MARGIN, 42, WIDTH - 2 * MARGIN, 18, 0, 0);
    qelDrawTextInRect(qelStringValue("Nome do arquivo"), MARGIN, 94, WIDTH - 2 * MARGIN, 18, 0, 0);
    qelSetColor(previousColor);
    qelSetFont(previousFont);
    qelSetBackColor(previousBack);
    drawControls();
}

qelValue PrintSetupDialog::chosenPath()
{
    qelControlObject* folder = qelControlOf(findControl("Name", qelStringValue("Pasta")));
    qelControlObject* file = qelControlOf(findControl("Name", qelStringValue("Arquivo")));
    if (!folder || !file)
        return qelNil;
    std::string name = utf8Of(folder->perform(qelStringValue("stringValue"), qelNil));
    std::string fileName = utf8Of(file->perform(qelStringValue("stringValue"), qelNil));
    if (fileName.empty() || fileName.find_first_of("/\\") != std::string::npos || fileName == "."
        || fileName == "..")
        return qelNil;
    std::string tail = fileName.size() >= 4 ? fileName.substr(fileName.size() - 4) : "";
    for (char& c : tail)
        c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (tail != ".pdf")
        fileName += ".pdf";
    std::string path = (std::filesystem::path(name.empty() ? "." : name) / fileName).string();
    return qelStringValueN(path.data(), int32_t(path.size()));
}

void PrintSetupDialog::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    if (object->getProperty("Name") == "Cancelar") {
        chosen = qelNil;
        endDialog();
        return;
    }
    // OK, or Enter in either field.
    qelValue path = chosenPath();
    if (path.isNil()) {
        qelMessageBeep(0xFFFFFFFF);
        return;
    }
    chosen = path;
    endDialog();
}

std::optional<std::string> PrintSetupDialog::choose(const std::string& proposed)
{
    qelValue dialog = qelFormValue(new PrintSetupDialog(proposed));
    qelValue answer = qelRunDialog(dialog, qelNil);
    if (!answer.isString())
        return std::nullopt;
    return std::string(qelCString(answer), size_t(qelCount(answer)));
}

void qelInstallPrintSetupDialog()
{
    qelPrintHooks& hooks = qelPrintHooksNow();
    hooks.chooseOutput = chooseOutput;
    hooks.jobWritten = tellWhereTheJobWent;
}
