#include "framework/ui/TextField.h"

#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FieldFormat.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr int32_t SHIFT = 1;
constexpr int32_t CONTROL = 2;
constexpr int32_t ALT = 4;

constexpr int32_t COPY_CODE = 3;
constexpr int32_t BACKSPACE_CODE = 8;
constexpr int32_t ENTER_CODE = 13;
constexpr int32_t PASTE_CODE = 22;
constexpr int32_t CUT_CODE = 24;
constexpr int32_t UNDO_CODE = 26;

// The text scrolls sideways in steps of this many pixels.
constexpr int32_t SCROLL_STEP = 50;
// The text area lies this far inside the hot spot on every side.
constexpr int32_t INSET = 2;
// The caret's width in pixels.
constexpr int32_t CARET_WIDTH = 2;
// The colour of the text of a disabled field.
constexpr int32_t DISABLED_TEXT = 0xC0C0C0;
// The simple beep of MessageBeep.
constexpr uint32_t SIMPLE_BEEP = 0xFFFFFFFF;

int32_t lengthOf(const qelValue& text)
{
    return text.isString() ? qelCount(text) : 0;
}

// Floor division for a positive divisor: scrolling works in whole steps either way.
int32_t floorDiv(int32_t a, int32_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

TextField::TextField(const qelValue& data)
    : qelMediaControlObject(data)
{
}

TextField::~TextField() = default;

qelValue TextField::text()
{
    if (!hasProperty("StringValue"))
        return qelEmptyString();
    return getProperty("StringValue");
}

void TextField::refuse()
{
    qelMessageBeep(SIMPLE_BEEP);
}

void TextField::syncWithText()
{
    textLength = lengthOf(text());
    selectionEnd = std::clamp(selectionEnd, 0, textLength);
    selectionAnchor = std::clamp(selectionAnchor, 0, textLength);
    caretIndex = std::clamp(caretIndex, 0, textLength);
}

int32_t TextField::notifyResult()
{
    return getBool("NotifyOnEachKey", 0) ? 1 : 0;
}

// --- Drawing ---------------------------------------------------------------------------------

std::vector<int32_t> TextField::measureCaretPositions(const qelValue& value, bool alignRight, int32_t width)
{
    int32_t n = lengthOf(value);
    std::vector<int32_t> positions;
    positions.reserve(size_t(n) + 1);
    positions.push_back(0);
    const char* bytes = n > 0 ? qelCString(value) : "";
    int32_t total = 0;
    // Each character is measured by itself, so a position never depends on its neighbours.
    for (int32_t i = 0; i < n; ++i) {
        int32_t w = 0;
        int32_t h = 0;
        qelStringWidth(qelStringValueN(bytes + i, 1), &w, &h);
        total += w;
        positions.push_back(total);
    }
    if (alignRight && width > 0) {
        for (int32_t& x : positions)
            x += width - total;
    }
    return positions;
}

void TextField::draw()
{
    if (!isVisible())
        return;
    qelValue value = text();
    qelValue spot = hotSpot();
    if (spot.isNil())
        return;
    int32_t background = getInt("BackgroundColor", 0xFFFFFF);
    int32_t selectionColor = getInt("SelectionColor", 0x808080);
    int32_t foreground = getInt("ForegroundColor", 1);
    bool alignRight = getProperty("Align") == "Right";
    int32_t indent = getInt("IndentX", 0);
    int32_t previousBack = qelSetBackColor(-1);

    int32_t spotLeft = qelLeft(spot);
    int32_t spotTop = qelTop(spot);
    int32_t spotWidth = qelWidth(spot);
    int32_t spotHeight = qelHeight(spot);
    textLeft = spotLeft + indent + INSET;
    textTop = spotTop + INSET;
    textWidth = spotWidth - 2 * indent - 2 * INSET;
    textHeight = spotHeight - 2 * INSET;

    if (savedBackground.isNil() && getBool("Save Background", 0))
        savedBackground = qelGrabWindowImage(spotLeft, spotTop, spotWidth, spotHeight);
    if (!savedBackground.isNil())
        qelShowImageAt(savedBackground, spotLeft, spotTop, 0, 0, 0, 0);
    else
        qelRectangle(spotLeft, spotTop, spotWidth, spotHeight - 1, background);

    scrollable = getBool("Scrollable", 1);
    if (getBool("Border", 0)) {
        qelSetLineWidth(1);
        qelFrameRegion(spot, foreground);
    }

    if (!value.isString()) {
        // A stored nil (or anything but a string) shows nothing and has no positions.
        caretIndex = selectionEnd = selectionAnchor = textLength = 0;
        caretPositions.assign(1, 0);
        qelSetBackColor(previousBack);
        return;
    }
    bool hasFont = hasProperty("Font");
    qelValue font;
    if (hasFont) {
        font = getProperty("Font");
        qelSetFont(font);
    }
    caretPositions = measureCaretPositions(value, alignRight, textWidth);
    textLength = lengthOf(value);
    selectionEnd = std::clamp(selectionEnd, 0, textLength);
    selectionAnchor = std::clamp(selectionAnchor, 0, textLength);
    if (selectionEnd == selectionAnchor)
        caretIndex = selectionEnd;
    caretIndex = std::clamp(caretIndex, 0, int32_t(caretPositions.size()) - 1);

    int32_t x = caretPositions[size_t(caretIndex)] + scrollOffset;
    if (x >= textWidth)
        scrollOffset = scrollable ? scrollOffset - SCROLL_STEP * floorDiv(x - textWidth + SCROLL_STEP, SCROLL_STEP) : 0;
    else if (x < 0 && scrollable)
        scrollOffset += SCROLL_STEP * floorDiv(SCROLL_STEP - 1 - x, SCROLL_STEP);

    if (focused && selectionEnd != selectionAnchor) {
        int32_t lo = std::min(selectionEnd, selectionAnchor);
        int32_t hi = std::max(selectionEnd, selectionAnchor);
        int32_t x0 = textLeft + scrollOffset + caretPositions[size_t(lo)];
        int32_t w = caretPositions[size_t(hi)] - caretPositions[size_t(lo)];
        if (x0 < textLeft) {
            w -= textLeft - x0;
            x0 = textLeft;
        }
        if (x0 + w > textLeft + textWidth)
            w = textLeft + textWidth - x0;
        if (w > 0)
            qelRectangle(x0, textTop, w, textHeight, selectionColor);
    }

    int32_t offset = 0;
    if (hasFont) {
        int32_t w = 0;
        int32_t h = 0;
        qelMeasureString(qelStringValue("|"), font, &w, &h);
        offset = std::max(-2, (textHeight - h) / 2 - 1);
    }
    int32_t previousColor = qelSetColor(isEnabled() ? foreground : DISABLED_TEXT);
    qelClipRect(textLeft, textTop, textWidth, textHeight);
    qelDrawTextInRect(value, textLeft + scrollOffset, textTop + offset, textWidth, textHeight, alignRight ? 2 : 0, 0);
    qelResetClip();
    qelSetColor(previousColor);
    qelSetBackColor(previousBack);
}

void TextField::showCaretNow()
{
    size_t index = size_t(std::clamp(caretIndex, 0, int32_t(caretPositions.size()) - 1));
    int32_t x = caretPositions.empty() ? 0 : caretPositions[index];
    qelShowCaret(textLeft + scrollOffset + x, textTop, CARET_WIDTH, textHeight);
}

void TextField::redrawWithCaret()
{
    if (focused)
        qelHideCaret();
    draw();
    if (focused)
        showCaretNow();
}

// --- Selection and editing -------------------------------------------------------------------

void TextField::setSelection(int32_t index, int32_t anchor)
{
    syncWithText();
    index = std::clamp(index, 0, textLength);
    if (anchor < 0)
        anchor = index;
    caretIndex = selectionEnd = index;
    selectionAnchor = std::min(anchor, textLength);
    redrawWithCaret();
}

void TextField::extendSelection(int32_t index)
{
    syncWithText();
    index = std::clamp(index, 0, textLength);
    caretIndex = selectionEnd = index;
    qelHideCaret();
    draw();
    if (focused)
        showCaretNow();
}

void TextField::replaceSel(const qelValue& replacement)
{
    qelValue inserted = replacement.isString() ? replacement : qelEmptyString();
    qelValue current = text();
    if (!current.isString())
        current = qelEmptyString();
    syncWithText();
    if (selectionAnchor < selectionEnd)
        std::swap(selectionAnchor, selectionEnd);
    int32_t start = selectionEnd;
    int32_t end = selectionAnchor;
    undoText = current;
    undoSelectionEnd = start;
    undoSelectionAnchor = end;

    qelValue result = qelLeft(current, start) + inserted + qelMid(current, end, textLength - end);
    int32_t resultLength = qelCount(result);
    bool refused = false;
    // Each limit counts only as an int (another value is 0, refusing everything).
    if (hasProperty("MaxLength") && resultLength > getInt("MaxLength", 0))
        refused = true;
    else if (hasProperty("MaxValue") && qelIntValue(result) > getInt("MaxValue", 0))
        refused = true;
    else if (hasProperty("MinValue") && qelIntValue(result) < getInt("MinValue", 0))
        refused = true;
    if (refused) {
        refuse();
        result = current;
        inserted = qelEmptyString();
        resultLength = textLength;
    }
    setProperty("StringValue", result);
    caretIndex = selectionEnd = selectionAnchor = start + qelCount(inserted);
    textLength = resultLength;
    if (focused)
        qelHideCaret();
    scrollOffset = 0;
    draw();
    if (focused)
        showCaretNow();
}

qelValue TextField::selectedText()
{
    syncWithText();
    int32_t lo = std::min(selectionEnd, selectionAnchor);
    int32_t hi = std::max(selectionEnd, selectionAnchor);
    qelValue value = text();
    return value.isString() ? qelMid(value, lo, hi - lo) : qelEmptyString();
}

void TextField::copy()
{
    syncWithText();
    if (selectionEnd != selectionAnchor)
        qelCopyTextToClipboard(selectedText());
}

bool TextField::mayInsert(int32_t character)
{
    if (filter.isString() && qelFindChar(filter, character, 0) < 0)
        return false;
    return character >= 32 && character < 256;
}

void TextField::paste()
{
    qelValue pasted = qelPasteTextFromClipboard();
    if (pasted.isNil())
        return;
    // Pasted text passes the same rules as typed text: a line break, a tab or a character
    // outside "Filter" refuses the whole paste rather than slipping into the field.
    const char* bytes = qelCString(pasted);
    for (int32_t i = 0, n = qelCount(pasted); i < n; ++i) {
        if (!mayInsert(uint8_t(bytes[i]))) {
            refuse();
            return;
        }
    }
    replaceSel(pasted);
}

void TextField::undo()
{
    if (undoText.isNil())
        return;
    qelValue previous = text();
    setProperty("StringValue", undoText);
    undoText = previous;
    std::swap(selectionEnd, undoSelectionEnd);
    std::swap(selectionAnchor, undoSelectionAnchor);
    syncWithText();
    caretIndex = selectionEnd;
    qelHideCaret();
    draw();
    showCaretNow();
}

void TextField::restoreActivationText()
{
    if (activationText.isNil())
        return;
    qelValue restored = activationText;
    setSelection(textLength, 0);
    replaceSel(restored);
}

int32_t TextField::wordBoundary(int32_t index, bool forward)
{
    qelValue value = text();
    if (!value.isString())
        return 0;
    const char* bytes = qelCString(value);
    int32_t n = qelCount(value);
    if (forward) {
        for (int32_t i = std::max(index, 0); i < n; ++i) {
            if (bytes[i] == ' ')
                return i;
        }
        return n;
    }
    for (int32_t i = std::min(index, n - 1); i >= 0; --i) {
        if (bytes[i] == ' ')
            return i + 1;
    }
    return 0;
}

void TextField::clickAt(int32_t x, int32_t, bool extend)
{
    if (textLength <= 0 || caretPositions.size() < size_t(textLength) + 1)
        return;
    int32_t prev = textLeft + scrollOffset + caretPositions[0];
    int32_t i = 0;
    while (i < textLength) {
        int32_t next = textLeft + scrollOffset + caretPositions[size_t(i) + 1];
        if ((prev + next) / 2 > x)
            break;
        ++i;
        prev = next;
    }
    if (extend) {
        if (i != selectionEnd)
            extendSelection(i);
    } else {
        setSelection(i, -1);
    }
}

qelValue TextField::formatted(const qelValue& value)
{
    qelValue format = getProperty("Format");
    std::string f = format.isString() ? std::string(qelCString(format), size_t(qelCount(format))) : std::string();
    std::optional<std::string> printed = qelFormatFieldNumber(f, value.isString() ? qelCString(value) : "");
    if (!printed) {
        qelError(qelValue("Format type not allowed: ") + (format.isString() ? format : qelEmptyString()));
        return value;
    }
    return qelStringValueN(printed->data(), int32_t(printed->size()));
}

// --- Verbs, keys, mouse and focus ------------------------------------------------------------

qelValue TextField::perform(const qelValue& action, const qelValue& data)
{
    if (action == "selectAll") {
        setSelection(textLength, 0);
        return qelNil;
    }
    if (action == "replaceSel") {
        replaceSel(data);
        return qelNil;
    }
    if (action == "stringValue" || action == "getText" || action == "GetText")
        return text();
    if (action == "deactivate") {
        deactivate();
        return qelNil;
    }
    if (action == "setText" || action == "SetText") {
        setSelection(textLength, 0);
        qelValue newText = hasProperty("Format") ? formatted(data) : data;
        replaceSel(newText);
        setSelection(textLength, 0);
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}

int32_t TextField::key(int32_t code, int32_t modifiers)
{
    syncWithText();
    bool shift = modifiers & SHIFT;
    bool control = modifiers & CONTROL;
    switch (code) {
    case COPY_CODE:
        copy();
        return 0;
    case BACKSPACE_CODE:
        if (selectionEnd == selectionAnchor && selectionEnd >= 1)
            --selectionEnd;
        replaceSel(qelEmptyString());
        return notifyResult();
    case ENTER_CODE:
        return 1;
    case PASTE_CODE:
        paste();
        return notifyResult();
    case CUT_CODE:
        copy();
        replaceSel(qelEmptyString());
        return notifyResult();
    case UNDO_CODE:
        undo();
        return notifyResult();
    case INSERT_KEY:
    case PAGE_UP_KEY:
    case PAGE_DOWN_KEY:
    case UP_KEY:
    case DOWN_KEY:
        return 0;
    case DELETE_KEY:
        if (control) {
            // Everything from the caret to the end goes.
            selectionAnchor = textLength;
            replaceSel(qelEmptyString());
        } else if (selectionEnd != selectionAnchor) {
            replaceSel(qelEmptyString());
        } else if (selectionEnd < textLength) {
            ++selectionAnchor;
            replaceSel(qelEmptyString());
        }
        return notifyResult();
    case HOME_KEY:
        if (shift)
            extendSelection(0);
        else
            setSelection(0, -1);
        return 0;
    case END_KEY:
        if (shift)
            extendSelection(textLength);
        else
            setSelection(textLength, -1);
        return 0;
    case LEFT_KEY:
    case RIGHT_KEY: {
        int32_t target;
        if (code == LEFT_KEY)
            target = control ? wordBoundary(selectionEnd - 1, false) - 1 : selectionEnd - 1;
        else
            target = control ? wordBoundary(selectionEnd, true) + 1 : selectionEnd + 1;
        if (shift)
            extendSelection(target);
        else
            setSelection(target, -1);
        return 0;
    }
    default:
        break;
    }
    if (modifiers & (CONTROL | ALT))
        return 0;
    if (!mayInsert(code)) {
        refuse();
        return 0;
    }
    if (selectionEnd == selectionAnchor && hasProperty("MaxLength") && getInt("MaxLength", 0) == textLength) {
        refuse();
        return 0;
    }
    char character = char(code);
    replaceSel(qelStringValueN(&character, 1));
    return notifyResult();
}

int32_t TextField::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    syncWithText();
    if (clicks == 3) {
        setSelection(textLength, 0);
        return 0;
    }
    if (clicks == 2) {
        setSelection(wordBoundary(selectionEnd, true), wordBoundary(selectionEnd, false));
        return 0;
    }
    clickAt(x, y, modifiers & SHIFT);
    while (true) {
        qelEvent event;
        qelGetEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1);
        // An empty event comes only when nothing can be posted any more: the drag ends there.
        if (event.type != QEL_DRAG_EVENT)
            break;
        qelLocalizeEvent(event);
        clickAt(event.x, event.y, true);
    }
    return 0;
}

qelValue TextField::getCursor()
{
    if (cursor.isNil())
        cursor = qelIBeamCursor();
    return cursor;
}

void TextField::activate()
{
    if (text().isNil())
        setProperty("StringValue", qelEmptyString());
    filter = hasProperty("Filter") ? getProperty("Filter") : qelNil;
    activationText = text();
    focused = 1;
    syncWithText();
    setSelection(textLength, 0);
}

void TextField::deactivate()
{
    if (hasProperty("Format"))
        setProperty("StringValue", formatted(text()));
    qelValue notify = getProperty("NotifyKillFocus");
    if (notify.type() == QEL_BOOLEAN_TYPE && notify.payload() != 0)
        qelHandleActiveControl();
    setSelection(1, -1);
    focused = 0;
    qelHideCaret();
}
