#pragma once

// The parser of the rich-text subset in which the content's texts are written: a small part of
// RTF with hidden links, markers, pictures and boxes. It turns a text into a flat list of
// intermediate items ("TextRuns") and the list of fonts those items refer to ("ListFonts"); the
// layout engine consumes both, and copy and print recover plain text from the items.
//
// Request (a table): "Type" "RTF"; "Buffer" a string or a buffer (its byte count is the text's
// length: no terminating NUL is needed); "Font" the base font (default: the stock font); the ints
// "Align" (0), "ForeColor" (1), "BackColor" (-1), "HotStyle" (0), "HotColor" (0xFF0000), each used
// only when it is an int.
//
// Items: a bare int for an item without values, else the list [type, values...].
//    1 [font index, text colour, back colour, alignment]    12 [link text, target]
//    2 [text]                 3 \page                         13 [image name, target]
//    4 [character code]       5 \par                          14 [tab stop in twips]
//    6 \qc   7 \ql   8 \qr    9 \tab                          15 [right tab stop in twips]
//   10 [bmc picture name]    11 [img picture name]            16 \pard
//   17 ["MARKER", target]    18 [first-line indent]           19 [left indent]
//   20 [struck text]         21 [struck link text, target]    22 [box count]
//
// Reading is bounded: every read at or past the end of the text gives NUL, groups nest at most
// qelMaximumRtfDepth deep (deeper groups still pair their braces), and numbers saturate.

#include "framework/runtime/Value.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum qelRtfItem : int32_t {
    QEL_RTF_FONT = 1,
    QEL_RTF_TEXT = 2,
    QEL_RTF_PAGE = 3,
    QEL_RTF_CHAR = 4,
    QEL_RTF_PAR = 5,
    QEL_RTF_CENTER = 6,
    QEL_RTF_LEFT = 7,
    QEL_RTF_RIGHT = 8,
    QEL_RTF_TAB = 9,
    QEL_RTF_BMC = 10,
    QEL_RTF_IMG = 11,
    QEL_RTF_LINK = 12,
    QEL_RTF_LINKED_IMAGE = 13,
    QEL_RTF_TAB_STOP = 14,
    QEL_RTF_RIGHT_TAB_STOP = 15,
    QEL_RTF_PARD = 16,
    QEL_RTF_MARKER = 17,
    QEL_RTF_FIRST_INDENT = 18,
    QEL_RTF_LEFT_INDENT = 19,
    QEL_RTF_STRUCK = 20,
    QEL_RTF_STRUCK_LINK = 21,
    QEL_RTF_BOX = 22,
};

// Style bits of the parser's fonts: 8 marks hot text and reaches the font list too.
constexpr int32_t QEL_STYLE_HOT = 8;

constexpr int32_t qelMaximumRtfDepth = 1024;

// The request table above -> {"TextRuns": items, "ListFonts": fonts}. A "Type" other than "RTF"
// reports "Invalid parse type: " + the type and gives nil.
qelValue qelParseRTF(const qelValue& request);

// The base of the text parsers: init takes the request, parse answers the result.
class qelParser {
public:
    virtual ~qelParser() = default;
    virtual void init(const qelValue& request) { }
    virtual qelValue parse() { return qelNil; }
};

class parseRTF final : public qelParser {
public:
    void init(const qelValue& request) override;
    qelValue parse() override;

private:
    // Reading primitives: CR and LF are invisible; at or past the end they read NUL.
    char peek(int32_t n) const;
    bool peekIs(const char* letters) const;
    char next();
    void skip(int32_t n);
    void skipWord();
    void skipOptionalSpace();
    // The value of an optional "-" and the digits that follow, consumed; saturating.
    int32_t readSignedNumber();
    // Digits at the read position consumed and appended to `text`.
    void readDigits(std::string& text);

    void setupFont();
    void emit(int32_t type, const qelValue& a = qelNil, const qelValue& b = qelNil);
    void emitBare(int32_t type);
    void commit(const qelValue& item);
    int32_t findFont(const qelValue& name, int32_t size, int32_t style) const;
    void flushStyle();
    void flushText();
    void pushGroup();
    void popGroup();
    void imageRef(int32_t type);
    // A control word after its "\\": found by prefix in controlWords and handled.
    void controlWord();
    // The handlers, each given its entry's argument; false when no optional space may follow.
    struct ControlWord {
        const char* prefix;
        bool (parseRTF::*handle)(int32_t argument);
        int32_t argument;
    };
    static const ControlWord controlWords[];
    bool hexCharacter(int32_t);
    bool box(int32_t);
    bool symbol(int32_t character);
    bool styleBit(int32_t bit);
    bool fontSize(int32_t);
    bool indent(int32_t type);
    bool skipToGroupEnd(int32_t);
    bool skipCharacters(int32_t count);
    bool skipControlWord(int32_t);
    bool bareItem(int32_t type);
    bool plain(int32_t);
    bool alignment(int32_t type);
    bool strike(int32_t);
    bool tabStop(int32_t);
    bool rightTab(int32_t);
    bool doubleUnderline(int32_t);
    bool underline(int32_t);
    void setStyleBit(int32_t bit);
    void hotStyleTest();
    void beginDoubleUnderline();
    void beginStrike();
    void endHotText();
    void closeStrike();
    qelValue bufferText() const;

    qelValue m_source;
    const uint8_t* m_text = nullptr;
    int32_t m_position = 0;
    int32_t m_end = 0;

    int32_t m_foreColor = 1;
    int32_t m_requestFore = 1;
    int32_t m_backColor = -1;
    int32_t m_requestBack = -1;
    int32_t m_align = 0;
    int32_t m_requestAlign = 0;
    qelValue m_requestFont;
    int32_t m_fontIndex = -1;
    int32_t m_hotStyle = 0;
    int32_t m_hotColor = 0xFF0000;
    qelValue m_hotTarget;
    bool m_hotOpen = false;
    bool m_struckOpen = false;
    bool m_rightTabPending = false;
    bool m_hotIsImage = false;
    qelValue m_name;
    int32_t m_style = 0;
    int32_t m_size = 0;

    qelValue m_fonts;
    qelValue m_runs;
    // Group entries: font index, text colour, back colour, alignment. Groups opened beyond the
    // depth limit are only counted; their "}" restores the deepest kept entry without popping it.
    std::vector<std::array<int32_t, 4>> m_groups;
    int32_t m_groupsBeyondLimit = 0;
    qelValue m_pending;
    int32_t m_pendingType = -1;
    std::string m_buffer;
    bool m_ready = false;
};
