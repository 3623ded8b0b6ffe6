// Character references ("&amp;", "&#8212;", "&eacute;") as HTML reads them,
// and the escaping that keeps a text from being read as one.
//
// Decoding follows the HTML tokenizer: every named reference of the HTML
// standard, the legacy ones also without their ";" (except, in an attribute
// value, before "=" or a letter or digit, as in "?a=1&copy=2"), decimal and
// hexadecimal references with or without ";", 0x80 to 0x9F read as
// windows-1252 ("&#150;" is the en dash), and 0, surrogates and numbers past
// U+10FFFF as U+FFFD. Anything else, an "&" that starts no reference
// included, stays as it is.
#pragma once

#include <QString>

// Where a text stands: references read a little differently in attribute
// values.
enum class RefPlace { TEXT, ATTRIBUTE };

// The text with every character reference resolved.
QString DecodeCharRefs(const QString& text, RefPlace place);

// The text with "&amp;" for each "&" that would start a reference, and
// nothing else changed: DecodeCharRefs gives text back.
QString EscapeAmpersands(const QString& text, RefPlace place);
