// The text of a page as a reader sees it, for the suggestions.
#pragma once

#include <QString>

class CHtmlPage;
class CPageCodec;

// The page's reader text (CHtmlPage::GetReaderText) decoded with codec, its
// character references resolved and no-break spaces shown as the spaces they
// are to a reader.
QString PageReaderText(const CHtmlPage& page, const CPageCodec& codec);
