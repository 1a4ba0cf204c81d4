#include "framework/richtext/RtfParser.h"

#include "framework/display/Font.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/HexDigit.h"

#include <limits>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The request's int under the key, or the default when the value is not an int.
int32_t intOr(const qelValue& request, const char* key, int32_t fallback)
{
    qelValue value = qelGet(request, qelValue(key));
    return value.type() == QEL_INT_TYPE ? value.payload() : fallback;
}

// Saturating decimal accumulation: numbers in a text never overflow.
int32_t accumulate(int32_t value, char digit)
{
    constexpr int32_t limit = std::numeric_limits<int32_t>::max();
    int32_t d = digit - '0';
    if (value > (limit - d) / 10)
        return limit;
    return value * 10 + d;
}

// The value of a decimal text: an optional "-" and the leading digits (0 when there are none).
int32_t decimalValue(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = accumulate(value, text[i]);
    return negative ? -value : value;
}

int32_t hexDigit(char c)
{
    int value = qelHexDigitValue(c);
    if (value >= 0)
        return value;
    // The error hook ends the program; when it returns, the digit counts as 0.
    qelError("Bad hex character while parsing rtf");
    return 0;
}

// Point sizes kept within what a font can be made of: \fs gives at most 499.
constexpr int32_t minimumPointSize = 1;

} // namespace

qelValue qelParseRTF(const qelValue& request)
{
    qelValue type = qelGet(request, qelValue("Type"));
    if (!(type == "RTF")) {
        qelError(qelValue("Invalid parse type: ") + qelValueToString(type));
        return qelNil;
    }
    parseRTF parser;
    parser.init(request);
    return parser.parse();
}

// Reading primitives ------------------------------------------------------------------------

char parseRTF::peek(int32_t n) const
{
    int32_t at = m_position;
    for (;;) {
        // Past the end every read is NUL, so no read leaves the text.
        if (at >= m_end)
            return 0;
        char c = char(m_text[at]);
        if (c != '\r' && c != '\n') {
            if (n == 0)
                return c;
            --n;
        }
        ++at;
    }
}

bool parseRTF::peekIs(const char* letters) const
{
    for (int32_t i = 0; letters[i]; ++i)
        if (peek(i) != letters[i])
            return false;
    return true;
}

char parseRTF::next()
{
    while (m_position < m_end) {
        char c = char(m_text[m_position++]);
        if (c != '\r' && c != '\n')
            return c;
    }
    return 0;
}

void parseRTF::skip(int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        next();
}

void parseRTF::skipWord()
{
    for (;;) {
        // A line break ends a word: it is looked at here before the reads make it invisible, so
        // that a word at the end of a line does not swallow the first word of the next one.
        if (m_position < m_end && (m_text[m_position] == '\r' || m_text[m_position] == '\n'))
            return;
        char c = peek(0);
        if (c == 0 || c == '\t' || c == '{' || c == '}' || c == '\\' || c == ' ')
            return;
        next();
    }
}

void parseRTF::skipOptionalSpace()
{
    if (peek(0) == ' ')
        next();
}

int32_t parseRTF::readSignedNumber()
{
    std::string text;
    if (peek(0) == '-')
        text += next();
    readDigits(text);
    return decimalValue(text);
}

void parseRTF::readDigits(std::string& text)
{
    while (isDigit(peek(0)))
        text += next();
}

// Set-up ------------------------------------------------------------------------------------

void parseRTF::init(const qelValue& request)
{
    m_source = qelGet(request, qelValue("Buffer"));
    if (m_source.isString()) {
        m_text = reinterpret_cast<const uint8_t*>(qelCString(m_source));
        m_end = qelCount(m_source);
    } else if (qelBufferObject* buffer = qelBufferOf(m_source)) {
        m_text = buffer->bytes();
        m_end = buffer->length;
    } else {
        qelError("Bad buffer or string passed to parseRTF::init()");
        m_source = qelNil;
        return;
    }
    m_position = 0;
    m_requestFont = qelGet(request, qelValue("Font"));
    if (m_requestFont.type() != QEL_FONT_TYPE)
        m_requestFont = qelDefaultFont();
    m_requestAlign = intOr(request, "Align", 0);
    m_requestFore = intOr(request, "ForeColor", 1);
    m_requestBack = intOr(request, "BackColor", -1);
    m_hotStyle = intOr(request, "HotStyle", 0);
    m_hotColor = intOr(request, "HotColor", 0xFF0000);
    m_hotOpen = m_struckOpen = m_rightTabPending = m_hotIsImage = false;
    m_hotTarget = qelNil;
    m_fonts = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_runs = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_groups.clear();
    m_groupsBeyondLimit = 0;
    m_pending = qelNil;
    m_pendingType = -1;
    m_ready = true;
    // The request's font is not made the port's font: the layout selects its own fonts before it
    // measures anything.
    setupFont();
}

void parseRTF::setupFont()
{
    m_name = qelFontName(m_requestFont);
    // A nil name is the stock font itself; anything else that is not a string is a damaged font.
    if (!m_name.isNil() && !m_name.isString()) {
        qelMessageBox(qelValue("Warning: font problem"));
        m_name = qelNil;
    }
    m_size = qelFontSize(m_requestFont);
    m_style = qelFontStyle(m_requestFont);
    m_foreColor = m_requestFore;
    m_backColor = m_requestBack;
    m_align = m_requestAlign;
    m_fontIndex = findFont(m_name, m_size, m_style);
}

// Items -------------------------------------------------------------------------------------

void parseRTF::commit(const qelValue& item)
{
    qelListObjectOf(m_runs)->append(item);
}

void parseRTF::emitBare(int32_t type)
{
    if (!m_pending.isNil())
        commit(m_pending);
    m_pending = qelMakeInt(type);
    m_pendingType = type;
}

void parseRTF::emit(int32_t type, const qelValue& a, const qelValue& b)
{
    // Items are committed one step late, so consecutive font items leave only the last.
    if (!(m_pendingType == QEL_RTF_FONT && type == QEL_RTF_FONT) && !m_pending.isNil())
        commit(m_pending);
    qelValue item = qelMakeList(b.isNil() ? 2 : 3, 100, QEL_GENERAL_LIST);
    qelListObject* list = qelListObjectOf(item);
    list->append(qelMakeInt(type));
    if (!a.isNil())
        list->append(a);
    if (!b.isNil())
        list->append(b);
    m_pending = item;
    m_pendingType = type;
}

int32_t parseRTF::findFont(const qelValue& name, int32_t size, int32_t style) const
{
    qelListObject* fonts = qelListObjectOf(m_fonts);
    for (int32_t i = 0; i < fonts->count; ++i) {
        qelFontObject* font = qelFontOf(fonts->cell(i));
        if (font && font->size == size && font->style == style && font->name == name)
            return i;
    }
    return -1;
}

void parseRTF::flushStyle()
{
    int32_t index = findFont(m_name, m_size, m_style);
    if (index < 0) {
        qelListObject* fonts = qelListObjectOf(m_fonts);
        bool stock = m_name.isNil() && m_size == 0 && m_style == 0;
        fonts->append(stock ? qelDefaultFont() : qelFontValue(m_name, m_size, m_style));
        index = fonts->count - 1;
    }
    m_fontIndex = index;
    // A pending font item would be dropped for this one: as nothing else holds it yet, it is
    // rewritten in place instead of being replaced by a new list.
    if (m_pendingType == QEL_RTF_FONT) {
        qelListObject* pending = qelListObjectOf(m_pending);
        pending->cell(1) = qelMakeInt(index);
        pending->cell(2) = qelMakeInt(m_foreColor);
        pending->cell(3) = qelMakeInt(m_backColor);
        pending->cell(4) = qelMakeInt(m_align);
        return;
    }
    qelValue item = qelMakeList(5, 100, QEL_GENERAL_LIST);
    qelListObject* list = qelListObjectOf(item);
    list->append(qelMakeInt(QEL_RTF_FONT));
    list->append(qelMakeInt(index));
    list->append(qelMakeInt(m_foreColor));
    list->append(qelMakeInt(m_backColor));
    list->append(qelMakeInt(m_align));
    if (!m_pending.isNil() && m_pendingType != QEL_RTF_FONT)
        commit(m_pending);
    m_pending = item;
    m_pendingType = QEL_RTF_FONT;
}

qelValue parseRTF::bufferText() const
{
    return qelStringValueN(m_buffer.data(), int32_t(m_buffer.size()));
}

void parseRTF::flushText()
{
    flushStyle();
    if (!m_buffer.empty() && !m_hotOpen && !m_struckOpen) {
        emit(QEL_RTF_TEXT, bufferText());
        m_buffer.clear();
    }
}

// Groups ------------------------------------------------------------------------------------

void parseRTF::pushGroup()
{
    flushStyle();
    if (int32_t(m_groups.size()) >= qelMaximumRtfDepth) {
        ++m_groupsBeyondLimit;
        return;
    }
    m_groups.push_back({ m_fontIndex, m_foreColor, m_backColor, m_align });
}

void parseRTF::popGroup()
{
    // An unmatched "}" is ignored.
    if (m_groups.empty())
        return;
    std::array<int32_t, 4> entry = m_groups.back();
    if (m_groupsBeyondLimit > 0)
        --m_groupsBeyondLimit;
    else
        m_groups.pop_back();
    if (m_hotOpen)
        endHotText();
    else if (m_struckOpen)
        closeStrike();
    m_fontIndex = entry[0];
    m_foreColor = entry[1];
    m_backColor = entry[2];
    m_align = entry[3];
    qelFontObject* font = qelFontOf(qelListObjectOf(m_fonts)->elementAt(m_fontIndex));
    if (font) {
        m_name = font->name;
        m_size = font->size;
        m_style = font->style;
    }
}

void parseRTF::imageRef(int32_t type)
{
    skip(4);
    m_buffer.clear();
    while (peek(0) != '\\' && peek(0) != 0)
        m_buffer += next();
    qelValue name = bufferText();
    if (m_hotOpen) {
        m_hotTarget = name;
        m_hotIsImage = true;
    }
    emit(type, name);
    skip(2);
    m_buffer.clear();
}

// Control words -----------------------------------------------------------------------------

// The control words by prefix, in matching order: a longer word before the shorter prefix it
// begins with ("pard" before "pa"), and a letter's own entry ("b", "h") after every word it
// begins. A word that matches no entry is skipped.
const parseRTF::ControlWord parseRTF::controlWords[] = {
    { "'", &parseRTF::hexCharacter, 0 },
    { "box", &parseRTF::box, 0 },
    { "bu", &parseRTF::symbol, 0x95 },
    { "b", &parseRTF::styleBit, 2 },
    { "em", &parseRTF::symbol, 0x97 },
    { "en", &parseRTF::symbol, 0x96 },
    { "fs", &parseRTF::fontSize, 0 },
    { "fi", &parseRTF::indent, QEL_RTF_FIRST_INDENT },
    { "height", &parseRTF::skipToGroupEnd, 0 },
    { "h", &parseRTF::skipCharacters, 1 },
    { "i", &parseRTF::styleBit, 1 },
    { "lq", &parseRTF::symbol, 0x91 },
    { "line", &parseRTF::skipControlWord, 0 },
    { "li", &parseRTF::indent, QEL_RTF_LEFT_INDENT },
    { "ldb", &parseRTF::symbol, 0x93 },
    { "page", &parseRTF::bareItem, QEL_RTF_PAGE },
    { "pard", &parseRTF::bareItem, QEL_RTF_PARD },
    { "pa", &parseRTF::bareItem, QEL_RTF_PAR },
    { "pl", &parseRTF::plain, 0 },
    { "qc", &parseRTF::alignment, QEL_RTF_CENTER },
    { "ql", &parseRTF::alignment, QEL_RTF_LEFT },
    { "qr", &parseRTF::alignment, QEL_RTF_RIGHT },
    { "rq", &parseRTF::symbol, 0x92 },
    { "rdb", &parseRTF::symbol, 0x94 },
    { "strike", &parseRTF::strike, 0 },
    { "tab", &parseRTF::bareItem, QEL_RTF_TAB },
    { "tx", &parseRTF::tabStop, 0 },
    { "tqr", &parseRTF::rightTab, 0 },
    { "uldb", &parseRTF::doubleUnderline, 0 },
    { "ul", &parseRTF::underline, 0 },
    { "width", &parseRTF::skipToGroupEnd, 0 },
    { "w", &parseRTF::skipCharacters, 1 },
};

void parseRTF::controlWord()
{
    bool optionalSpace = true;
    bool matched = false;
    for (const ControlWord& word : controlWords) {
        if (peekIs(word.prefix)) {
            optionalSpace = (this->*word.handle)(word.argument);
            matched = true;
            break;
        }
    }
    // \*, \fN, \fonttbl and every other word: the word is skipped. \{, \} and \\ skip
    // nothing, so their second character then acts on its own.
    if (!matched)
        skipWord();
    if (optionalSpace)
        skipOptionalSpace();
}

bool parseRTF::hexCharacter(int32_t)
{
    int32_t high = hexDigit(peek(1));
    int32_t low = hexDigit(peek(2));
    // Inside link or struck text the character joins that text, where it stands; an item of its
    // own would come out ahead of the text it belongs to.
    if (m_hotOpen || m_struckOpen) {
        m_buffer += char(16 * high + low);
    } else {
        flushText();
        emit(QEL_RTF_CHAR, qelMakeInt(16 * high + low));
    }
    skip(3);
    return false;
}

bool parseRTF::box(int32_t)
{
    skip(3);
    std::string number(1, next());
    readDigits(number);
    emit(QEL_RTF_BOX, qelMakeInt(decimalValue(number)));
    return true;
}

bool parseRTF::symbol(int32_t character)
{
    m_buffer += char(character);
    skipWord();
    return true;
}

bool parseRTF::styleBit(int32_t bit)
{
    flushText();
    setStyleBit(bit);
    return true;
}

bool parseRTF::fontSize(int32_t)
{
    flushText();
    skip(2);
    // One to three digits of half-points; a size that does not start with a digit is left
    // unchanged (its first character is consumed all the same).
    char first = next();
    if (isDigit(first)) {
        int32_t halfPoints = first - '0';
        for (int32_t i = 0; i < 2 && isDigit(peek(0)); ++i)
            halfPoints = halfPoints * 10 + (next() - '0');
        m_size = std::max(minimumPointSize, halfPoints / 2);
    }
    return true;
}

bool parseRTF::indent(int32_t type)
{
    skip(2);
    emit(type, qelMakeInt(readSignedNumber()));
    // \li takes the rest of its word with it; \fi leaves it to be read as text.
    if (type == QEL_RTF_LEFT_INDENT)
        skipWord();
    return true;
}

bool parseRTF::skipToGroupEnd(int32_t)
{
    while (peek(0) != '}' && peek(0) != 0)
        next();
    return true;
}

bool parseRTF::skipCharacters(int32_t count)
{
    skip(count);
    return true;
}

bool parseRTF::skipControlWord(int32_t)
{
    skipWord();
    return true;
}

bool parseRTF::bareItem(int32_t type)
{
    flushText();
    emitBare(type);
    // \par, \tab, \page and \pard: the whole word.
    skip(type == QEL_RTF_PAR || type == QEL_RTF_TAB ? 3 : 4);
    return true;
}

bool parseRTF::plain(int32_t)
{
    flushText();
    m_style = 0;
    m_foreColor = m_requestFore;
    skip(5);
    return true;
}

bool parseRTF::alignment(int32_t type)
{
    // Alignment words leave collected text in the buffer.
    emitBare(type);
    m_align = type == QEL_RTF_CENTER ? 1 : type == QEL_RTF_RIGHT ? 2 : 0;
    skip(2);
    return true;
}

bool parseRTF::strike(int32_t)
{
    skip(6);
    beginStrike();
    m_buffer.clear();
    return false;
}

bool parseRTF::tabStop(int32_t)
{
    skip(2);
    std::string number(1, next());
    readDigits(number);
    emit(m_rightTabPending ? QEL_RTF_RIGHT_TAB_STOP : QEL_RTF_TAB_STOP, qelMakeInt(decimalValue(number)));
    m_rightTabPending = false;
    return true;
}

bool parseRTF::rightTab(int32_t)
{
    skip(3);
    m_rightTabPending = true;
    return true;
}

bool parseRTF::doubleUnderline(int32_t)
{
    skip(4);
    beginDoubleUnderline();
    m_buffer.clear();
    return false;
}

bool parseRTF::underline(int32_t)
{
    skip(2);
    flushText();
    if (peek(0) == '0') {
        next();
        m_style &= ~4;
    } else {
        m_style |= 4;
    }
    hotStyleTest();
    return true;
}

void parseRTF::setStyleBit(int32_t bit)
{
    if (peek(1) == '0') {
        m_style &= ~bit;
        skip(2);
    } else {
        m_style |= bit;
        skip(1);
    }
    m_buffer.clear();
    hotStyleTest();
}

void parseRTF::hotStyleTest()
{
    if (m_hotStyle > 0 && (m_style & m_hotStyle)) {
        m_hotOpen = true;
        m_foreColor = m_hotColor;
        m_hotIsImage = false;
    } else {
        m_foreColor = m_requestFore;
    }
}

// Hot and struck text -----------------------------------------------------------------------

void parseRTF::beginDoubleUnderline()
{
    if (peek(0) == '0') {
        m_style &= ~QEL_STYLE_HOT;
        next();
        endHotText();
        return;
    }
    flushText();
    m_style |= QEL_STYLE_HOT;
    m_foreColor = m_hotColor;
    m_hotOpen = true;
    skipOptionalSpace();
}

void parseRTF::beginStrike()
{
    flushText();
    m_style |= QEL_STYLE_HOT;
    m_foreColor = m_hotColor;
    m_struckOpen = true;
    skipOptionalSpace();
}

void parseRTF::endHotText()
{
    flushStyle();
    m_foreColor = m_requestFore;
    m_hotOpen = false;
    qelValue item = qelMakeList(2, 100, QEL_GENERAL_LIST);
    qelListObject* list = qelListObjectOf(item);
    if (m_buffer.empty()) {
        if (!m_hotIsImage) {
            m_buffer.clear();
            return;
        }
        list->append(qelMakeInt(QEL_RTF_LINKED_IMAGE));
        m_hotIsImage = false;
    } else {
        qelValue text = bufferText();
        if (m_buffer == "marker") {
            list->append(qelMakeInt(QEL_RTF_MARKER));
            m_hotTarget = qelValue("MARKER");
        } else {
            list->append(qelMakeInt(m_struckOpen ? QEL_RTF_STRUCK_LINK : QEL_RTF_LINK));
            m_hotTarget = text;
        }
    }
    list->append(m_hotTarget);
    // The link's target follows the next "!".
    for (char c = next(); c != '!' && c != 0; c = next()) { }
    m_buffer.clear();
    if (peek(0) == '\\' && peek(1) == '{') {
        skip(2);
        while (peek(0) != '\\' && peek(0) != 0)
            m_buffer += next();
        skip(2);
        list->append(bufferText());
    } else if (peek(0) == ' ') {
        next();
        list->append(qelEmptyString());
    } else {
        list->append(list->elementAt(1));
    }
    m_buffer.clear();
    // Hot items go in at once, ahead of the pending item.
    commit(item);
}

void parseRTF::closeStrike()
{
    flushStyle();
    m_foreColor = m_requestFore;
    m_struckOpen = false;
    if (!m_buffer.empty()) {
        commit(qelListOf({ qelMakeInt(QEL_RTF_STRUCK), bufferText() }));
        m_buffer.clear();
    }
}

// Main loop ---------------------------------------------------------------------------------

qelValue parseRTF::parse()
{
    if (!m_ready)
        return qelNil;
    m_buffer.clear();
    m_buffer.reserve(2048);
    while (m_position < m_end) {
        char c = next();
        switch (c) {
        case 0:
        case '\t':
            break;
        case '{':
            flushText();
            if (peekIs("bmc"))
                imageRef(QEL_RTF_BMC);
            else if (peekIs("img"))
                imageRef(QEL_RTF_IMG);
            else
                pushGroup();
            break;
        case '}':
            flushText();
            popGroup();
            break;
        case '\\':
            controlWord();
            break;
        default:
            m_buffer += c;
            break;
        }
    }
    flushText();
    // A trailing font item is never committed.
    if (!m_pending.isNil() && m_pendingType != QEL_RTF_FONT)
        commit(m_pending);
    qelValue result = qelTable(2, 100, 75);
    qelTableObject* table = qelTableOf(result);
    table->put(qelValue("TextRuns"), m_runs);
    table->put(qelValue("ListFonts"), m_fonts);
    return result;
}
