// The meta tags of a page's head as rows to show: what GetMetaAt lists, with
// a tag that declares the page's charset told apart from a nameless one.
#pragma once

#include <string>
#include <vector>

class CHtmlPage;

struct CHeadMeta {
    enum class Kind {
        NAME,       // name="..."
        HTTP_EQUIV, // http-equiv="..."
        CHARSET,    // <meta charset="...">: content is the charset
        PROPERTY,   // property="..." (Open Graph) without a name
        NAMELESS,   // none of these (itemprop ...)
    };
    Kind kind = Kind::NAME;
    std::string name;    // as stored (PROPERTY: the property); "" for CHARSET and NAMELESS
    std::string content; // as stored
};

// The meta tags before the first body tag, in page order, as GetMetaAt
// counts them.
std::vector<CHeadMeta> ListHeadMetas(const CHtmlPage& page);

// The charset of the page's first <meta charset> before the body, as
// written; "" when there is none.
std::string MetaCharsetOf(const CHtmlPage& page);
