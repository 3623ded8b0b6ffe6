#include "document/page_text.h"

#include "document/page_codec.h"
#include "page/html_page.h"

QString PageReaderText(const CHtmlPage& page, const CPageCodec& codec) {
    QString text = codec.DecodeValue(page.GetReaderText(), RefPlace::TEXT);
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    return text;
}
