// The text tests shared by the field checks, the reports, the printed form and
// the name resolution. Multi-byte aware: a lead byte of the locale's code page
// starts a double-byte character. Each takes the locale to judge by; the
// default is the locale now in force.
#ifndef ENROLWIZ_TABLES_TEXT_TESTS_H
#define ENROLWIZ_TABLES_TEXT_TESTS_H

#include "framework/cstring.h"
#include "framework/text_locale.h"

// Empty, or every byte white space; a double-byte character makes it non-blank.
bool isBlankText(const CString& text, const TextLocale& locale = TextLocale::current());

// Some byte is a lead byte or alphabetic; a blank text contains no letter.
bool containsLetter(const CString& text, const TextLocale& locale = TextLocale::current());

// The 1-based position of the first decimal digit, skipping both bytes of each
// double-byte character; 0 when there is none.
int firstDigitPosition(const CString& text, const TextLocale& locale = TextLocale::current());

// The text holds "|" or "\" outside double-byte characters.
bool hasForbiddenCharacters(const CString& text, const TextLocale& locale = TextLocale::current());

// Empty, or it contains "@" and "." and no blank.
bool hasEmailForm(const CString& text);

#endif
