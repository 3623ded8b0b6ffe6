// CTemplateValues: the title and meta tags of a template with their actions,
// read once and merged into any number of pages.
//
// Values are text: they are read in the template's encoding and written into
// each page in the page's encoding (see CPageCodec), so that a template saved
// as UTF-8 gives a page in windows-1252 the same characters, never bytes the
// page would show as other characters. A value may use the template
// variables (see template_variables.h), worked out for each page: the title
// first, then the description, then the other tags, so that {title} and
// {description} in a tag give the values the page has once the template has
// set them (in the title itself, and in the description, the values before).
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "document/page_codec.h"
#include "document/template_variables.h"

#include "page/html_page.h"

struct CTemplateTag {
    enum class Kind { META, PROPERTY, LINK, LANG };
    Kind kind = Kind::META;
    // META: the name; PROPERTY: the property; LINK: the hreflang (alternates).
    std::string name;
    // The content, the href or the language.
    std::string value;
    int httpEquiv = 0;
    LinkKind link = LinkKind::CANONICAL;
    int action = -1;
};

class CTemplateValues {
public:
    CTemplateValues() = default;
    // Holds pointers into its own lists.
    CTemplateValues(const CTemplateValues&) = delete;
    CTemplateValues& operator=(const CTemplateValues&) = delete;

    // Reads the values of a template page (one loaded with preserve-body off)
    // and the template's encoding.
    void Read(CHtmlPage& templ);
    // Returns 1 when every value that an action writes into pages uses only
    // known variables; otherwise 0 with error naming the tag and the first
    // unknown variable.
    int CheckVariables(QString& error) const;
    // Whether a value that is written into pages uses the variable.
    bool UsesVariable(TemplateVariable variable) const;

    // Merges the values into page, title first, then the meta tags in template
    // order, then the property tags, the links and the language. Values are
    // used as they are: no trimming; an empty page value counts as missing,
    // and adding before or after it gives the template's value alone, without
    // a separating space. Tags with an action outside 1..7 are left alone.
    // Returns 1; or 0 with the page unchanged and error (when given) saying
    // why: a value holds a character that the page's encoding cannot hold, an
    // unknown variable, or a variable that has no value for this page (see
    // CTemplateContext::Resolve), each named with its tag.
    int ApplyTo(CHtmlPage& page, const CTemplateContext& context, QString* error = nullptr) const;
    // The same for a page that has no file name or project: {filename},
    // {path} and {site} are errors.
    int ApplyTo(CHtmlPage& page, QString* error = nullptr) const;

    int m_bHasTitle = 0;
    std::string m_strTitle;
    int m_nTitleAction = 0;
    std::vector<CTemplateTag> m_metas;
    // The property tags, links and language, in that order (each in
    // template order).
    std::vector<CTemplateTag> m_tags;
    CPageCodec m_codec; // the template's encoding

private:
    // A value split into its pieces, or why it cannot be.
    struct Parsed {
        std::vector<CTemplatePiece> pieces;
        bool plain = true; // no variable and no escaped brace: the bytes as they are
        QString error;
    };
    Parsed Parse(const std::string& bytes) const;
    // The bytes of a value on a page: false (error set) when it cannot be
    // written there. title and description are the page's values (bytes) for
    // their variables.
    bool Resolve(const std::string& bytes, const Parsed& parsed, RefPlace place,
                 const CPageCodec& codec, const CTemplateContext& context, const std::string& title,
                 const std::string& description, std::string& out, QString& error) const;

    // The tags to merge (of m_metas, then m_tags), with their values parsed.
    struct Entry {
        const CTemplateTag* tag;
        Parsed parsed;
    };

    Parsed m_title;
    std::vector<Entry> m_entries; // one per tag of m_metas and m_tags
};
