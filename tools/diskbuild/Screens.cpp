#include "tools/diskbuild/Screens.h"

#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextNotation.h"
#include "tools/diskbuild/Sources.h"

#include <cstdio>

namespace {

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

bool isDialogClass(const std::string& className)
{
    // The screens are the forms of the class set ("...Form", the section homes "...HF"); every
    // other registered class is a dialog or a pop-up menu.
    return !(endsWith(className, "Form") || endsWith(className, "HF"));
}

std::string placeholderSource(const ScreenRegistration& screen)
{
    const std::string& look = screen.look;
    std::string text = "(table\n  (\"Class\" " + notationQuoted(screen.className) + ")\n  (\"Placeholder\" true)\n";
    if (!isDialogClass(screen.className)) {
        // A whole screen: the section's "being prepared" background and the way back.
        text += "  (\"Background Image\" \"prep_" + look + ".bmp\")\n"
                "  (\"GoBack\" (control (\"Class\" \"Button\") (\"Name\" \"GoBack\") (\"Hot Spot\" (rect 490 420 120 32))\n"
                "    (\"UpImage\" \"btvoltar_up.bmp\") (\"DownImage\" \"btvoltar_down.bmp\")\n"
                "    (\"DisabledImage\" \"btvoltar_off.bmp\") (\"RolloverImage\" \"btvoltar_over.bmp\")))\n"
                "  (\"Control List\" (list (reference \"GoBack\"))))\n";
        return text;
    }
    // A dialog: a panel centred on the screen, closed by its button or by Escape.
    text += "  (\"Origin X\" 140)\n  (\"Origin Y\" 130)\n  (\"Width\" 360)\n  (\"Height\" 220)\n"
            "  (\"Background Image\" \"prepdlg_" + look + ".bmp\")\n"
            "  (\"Drag Rect\" (rect 0 0 360 32))\n"
            "  (\"Fechar\" (control (\"Class\" \"Button\") (\"Name\" \"Fechar\") (\"Hot Spot\" (rect 120 170 120 32))\n"
            "    (\"UpImage\" \"btfechar_up.bmp\") (\"DownImage\" \"btfechar_down.bmp\")\n"
            "    (\"DisabledImage\" \"btfechar_off.bmp\") (\"RolloverImage\" \"btfechar_over.bmp\")\n"
            "    (\"Action\" \"close\")))\n"
            "  (\"Control List\" (list (reference \"Fechar\"))))\n";
    return text;
}

bool buildScreen(const ScreenRegistration& screen, const std::string& source, const std::string& output,
    std::string& error)
{
    qelValue table;
    if (source.empty()) {
        std::string text = placeholderSource(screen);
        table = qelDecodeText(qelStringValueN(text.data(), int32_t(text.size())));
    } else {
        table = readNotationFile(source, error);
        if (!error.empty())
            return false;
    }
    qelTableObject* entries = qelTableOf(table);
    if (!entries) {
        error = (source.empty() ? std::string("the placeholder") : source) + ": not a table";
        return false;
    }
    if (!claimScreenClass(*entries, screen, source, error))
        return false;
    if (!writeEncoded(table, output)) {
        error = "cannot write " + output;
        return false;
    }
    return true;
}

bool claimScreenClass(
    qelTableObject& resources, const ScreenRegistration& screen, const std::string& source, std::string& error)
{
    qelValue className = resources.get("Class");
    if (className.isNil()) {
        resources.put("Class", qelStringValue(screen.className.c_str()));
        return true;
    }
    if (!className.isString() || qelCString(className) != screen.className) {
        error = source + ": \"Class\" must be " + screen.className + ", as " + screen.name + " is registered";
        return false;
    }
    return true;
}

bool writeEncoded(const qelValue& value, const std::string& output)
{
    std::string temporary = output + ".tmp";
    {
        qelValue stream = qelOpenFileStream(qelStringValue(temporary.c_str()), 0x0A, 0);
        if (!qelEncode(stream, value) || !qelStreamFlush(stream))
            return false;
    }
    return std::rename(temporary.c_str(), output.c_str()) == 0;
}
