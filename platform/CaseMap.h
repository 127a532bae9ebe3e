// The simple case mapping of Unicode (one character to one character) for
// the letters of the Latin, Greek, Cyrillic and Armenian scripts and the
// full-width Latin letters: what turning text to upper or lower case needs
// without knowing the user's language or the machine's locale.
#pragma once

namespace vx {

// The character's upper-case or lower-case partner, the character itself when
// it has none. A letter whose partner is written in UTF-8 with a different
// number of bytes (dotless i, dotted capital I, long s) counts as having none,
// so that a text and its case-changed copy hold each character at the same
// byte offset: callers find a word in the copy and use the offset in the text.
char32_t SimpleUpper(char32_t c);
char32_t SimpleLower(char32_t c);

} // namespace vx
