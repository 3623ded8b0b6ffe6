// One page's title and meta tags as text, read for the whole-site commands.
//
// Values are text as a reader sees it: decoded from the page's own encoding
// (CPageCodec) with their character references resolved, so that they can be
// shown, compared and written as UTF-8; text written back is escaped and
// encoded into that encoding again.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "document/page_codec.h"
#include "page/html_page.h"
#include "snippet/shown_text.h" // CollapseSpaces, ShownLength

// A page read from text for its title and meta tags, in preserve-body mode:
// the page model cuts only the part before the first body tag into pieces and
// scans the rest for the meta tags that may stand there. It borrows text
// rather than copying it: text is empty while the CPageHead lives and holds
// its bytes (and its memory, for the next file) again afterwards.
class CPageHead {
public:
    explicit CPageHead(std::string& text);
    ~CPageHead();
    CPageHead(const CPageHead&) = delete;
    CPageHead& operator=(const CPageHead&) = delete;

    const CHtmlPage& Page() const { return m_page; }
    const std::string& Bytes() const { return m_page.GetSourceText(); }

private:
    std::string& m_text;
    CHtmlPage m_page;
};

// A value of a page (a title, TEXT, or a meta tag's content, ATTRIBUTE, as the
// page's bytes) as the text that tables, reports and the site view show and
// compare: decoded, character references resolved; and such a text as the
// page's bytes again, "&" escaped where it would start a reference (false,
// with error set, when the page's encoding cannot hold one of its
// characters). Every whole-site tool converts values with these two alone.
QString ValueText(const CPageCodec& codec, std::string_view bytes, RefPlace place);
bool ValueBytes(const CPageCodec& codec, const QString& text, RefPlace place, std::string& bytes,
                QString& error);

// The name a meta tag is compared by, for a name given as text: MetaNameKey of
// its UTF-8.
std::string MetaTextKey(const QString& name);

struct CPageMetaValue {
    QString name; // as the page writes it
    int httpEquiv = 0;
    QString content;
    std::string key; // MetaTextKey(name), kept to compare by ("" when not made yet)
};

struct CPageValues {
    std::string fingerprint;
    CPageCodec codec;
    int hasTitle = 0;
    QString title;
    // The first meta tag of each name before the body, in page order; and of
    // each name asked for by Read, wherever it is.
    std::vector<CPageMetaValue> metas;
    // The first property tag of each property ("og:title") before the body,
    // in page order (name: the property as written).
    std::vector<CPageMetaValue> properties;
    // The first canonical link's href, and the first alternate link's href of
    // each hreflang (name: the hreflang as written), in page order.
    int hasCanonical = 0;
    QString canonical;
    std::vector<CPageMetaValue> alternates;
    // The lang of the <html> tag, and whether the page has one to carry it.
    int hasHtmlTag = 0;
    int hasLang = 0;
    QString lang;

    // Reads the values of page, whose text is bytes; names: meta names to
    // look up too (as text), also when they lie after the body.
    void Read(std::string_view bytes, const CHtmlPage& page,
              const std::vector<QString>& names = {});
    // The meta tag of that name (compared by MetaTextKey), or null; and of
    // the name whose key is given.
    const CPageMetaValue* FindMeta(const QString& name) const;
    const CPageMetaValue* FindMetaByKey(std::string_view key) const;
    // The property tag of that property (compared as names), or null.
    const CPageMetaValue* FindProperty(const QString& property) const;
    const CPageMetaValue* FindPropertyByKey(std::string_view key) const;
    // The alternate link of that hreflang (ASCII case ignored), or null.
    const CPageMetaValue* FindAlternate(const QString& hreflang) const;
};
