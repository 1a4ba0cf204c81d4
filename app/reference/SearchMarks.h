#pragma once

// The words of a word search struck through in an entry's rich text, so the reader sees where
// the search found them.
//
// The searched text is read as the search reads it (accents folded, lower case, words between
// blanks): a word ending in "*" is matched as the start of longer words, and so is every word
// after it; "(a b c)" is one phrase; "(a)" is the word a. The entry text is searched without
// regard to accents or case. A match counts when it starts a word (at the start of the text or
// after a blank, "(", "{", a double quote or "-") and ends one (at the end of the text or before
// a blank, ".", ",", a double quote, ";", "}", ")", "!", "?" or "-"; any character for a prefix).
// A counted match is wrapped in "{\strike " ... "}"; one in the shown words of a hyperlink
// ("{\uldb words}!\{type:target\}") strikes the whole link, its target included, so the link
// still works. The text is read once from left to right, taking at each point the earliest
// match of any word (the longest of those starting there); nothing else of the text changes.

#include <string>
#include <string_view>

std::string markSearchWords(std::string_view text, std::string_view searchedText);
