#pragma once

// TextField: the one-line text entry. The text is the property "StringValue" (cp1252); the field
// draws it inside its "Hot Spot" and edits it with a caret, a selection, word-wise movement, cut,
// copy and paste through the clipboard, a one-step undo that swaps, and limits:
//
//   "BackgroundColor" (0xFFFFFF), "SelectionColor" (0x808080), "ForegroundColor" (1)
//   "Align"             "Right" aligns the text to the right edge
//   "IndentX"           extra inset of the text on each side (the fixed inset is 2)
//   "Save Background"   keep the screen under the field and draw it instead of filling
//   "Scrollable"        (true) scroll sideways in steps of 50 pixels to keep the caret visible
//   "Border"            frame the hot spot in the foreground colour
//   "Font"              the text's font (left selected on the port)
//   "MaxLength", "MaxValue", "MinValue"   limits checked at every edit
//   "Filter"            the characters that typing and pasting may insert
//   "NotifyOnEachKey"   the form handles the field after every edit from the keyboard
//   "NotifyKillFocus"   the boolean true: the form handles the field when it loses the focus
//   "Format"            one "%...lf" or "%...ld" conversion the text is reprinted with when set
//                       by "setText" and when the field loses the focus
//
// Verbs: "selectAll", "replaceSel" (string), "stringValue"/"getText"/"GetText", "deactivate",
// "setText"/"SetText" (string); the rest go to the media control layer ("Draw" among them).

#include "framework/ui/MediaControlObject.h"

#include <cstdint>
#include <vector>

class TextField : public qelMediaControlObject {
public:
    // Key codes as the field receives them: typed characters as themselves, special keys as
    // their number shifted left by 16.
    static constexpr int32_t INSERT_KEY = 0x0D << 16;
    static constexpr int32_t DELETE_KEY = 0x0E << 16;
    static constexpr int32_t HOME_KEY = 0x0F << 16;
    static constexpr int32_t END_KEY = 0x10 << 16;
    static constexpr int32_t PAGE_UP_KEY = 0x12 << 16;
    static constexpr int32_t PAGE_DOWN_KEY = 0x13 << 16;
    static constexpr int32_t LEFT_KEY = 0x14 << 16;
    static constexpr int32_t RIGHT_KEY = 0x15 << 16;
    static constexpr int32_t UP_KEY = 0x16 << 16;
    static constexpr int32_t DOWN_KEY = 0x17 << 16;

    explicit TextField(const qelValue& data);
    ~TextField() override;

    const char* className() const override { return "TextField"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new TextField(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    void drawPressed() override { }
    int32_t canActivate() override { return 1; }
    // Focus gained: the whole text selected. The control root's "Active" is not written.
    void activate() override;
    // Focus lost: reformatted, reported when asked to, the selection collapsed to position 1.
    void deactivate() override;
    // 1 when the form is to handle the field: Enter, and edits under "NotifyOnEachKey".
    int32_t key(int32_t code, int32_t modifiers) override;
    qelValue getCursor() override;
    qelValue cursorAt(int32_t, int32_t) override { return getCursor(); }
    // Places the caret, selects a word (two clicks) or everything (three), or drags a selection.
    // Always 0: a click never makes the form handle the field.
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    // The text area as of the last draw.
    int32_t hotSpotLeft() override { return textLeft; }
    int32_t hotSpotTop() override { return textTop; }
    int32_t hotSpotWidth() override { return textWidth; }
    int32_t hotSpotHeight() override { return textHeight; }

    // "StringValue"; the empty string when the control has no such property (a stored nil stays
    // nil).
    qelValue text();
    // The caret to index (clamped to the text), the anchor to anchor (negative: the index).
    void setSelection(int32_t index, int32_t anchor);
    // The caret and the moving end to index; the anchor stays.
    void extendSelection(int32_t index);
    // Replaces the selection with the string (nil or another value: the empty string) unless a
    // limit refuses the result, which beeps and leaves the text as it was.
    virtual void replaceSel(const qelValue& replacement);
    qelValue selectedText();
    void copy();
    // The clipboard's text, when every character of it could be typed into the field.
    void paste();
    void undo();
    // Puts back the text the field had when it was last activated, wholly selected.
    void restoreActivationText();
    // Forward: the first space at or after the index, else the length. Backward: one past the
    // first space at or before the index, else 0.
    int32_t wordBoundary(int32_t index, bool forward);
    void clickAt(int32_t x, int32_t y, bool extend);
    // The text reprinted with "Format" (a fatal error for a format that is not allowed).
    qelValue formatted(const qelValue& text);

    int32_t textLeft = 0;
    int32_t textTop = 0;
    int32_t textWidth = 0;
    int32_t textHeight = 0;
    int32_t caretIndex = 0;
    int32_t selectionEnd = 0;
    int32_t selectionAnchor = 0;
    int32_t textLength = 0;
    qelValue undoText;
    int32_t undoSelectionEnd = 0;
    int32_t undoSelectionAnchor = 0;
    int32_t scrollOffset = 0;
    int32_t focused = 0;
    int32_t scrollable = 1;
    // The x of each caret position 0 ... textLength from the text's start, as of the last draw.
    std::vector<int32_t> caretPositions;
    qelValue filter;
    qelValue cursor;
    qelValue activationText;

protected:
    // Whether typing or pasting may insert the character: inside "Filter", printable cp1252.
    bool mayInsert(int32_t character);
    // The beep of a refused edit.
    static void refuse();

private:
    // The length of the text now, and both selection ends kept inside it: the application may
    // have stored a shorter "StringValue" since the last draw.
    void syncWithText();
    void redrawWithCaret();
    void showCaretNow();
    // The x of each caret position of the text in the port's current font.
    std::vector<int32_t> measureCaretPositions(const qelValue& text, bool alignRight, int32_t width);
    int32_t notifyResult();
};
