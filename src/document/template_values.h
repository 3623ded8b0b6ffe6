// CTemplateValues: the title and meta tags of a template with their actions,
// read once and merged into any number of pages.
//
// Values are text: they are read in the template's encoding and written into
// each page in the page's encoding (see CPageCodec), so that a template saved
// as UTF-8 gives a page in windows-1252 the same characters, never bytes the
// page would show as other characters.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "document/page_codec.h"

class CHtmlPage;

struct CTemplateTag {
    std::string name;
    std::string value;
    int httpEquiv = 0;
    int action = -1;
};

class CTemplateValues {
public:
    // Reads the values of a template page (one loaded with preserve-body off)
    // and the template's encoding.
    void Read(CHtmlPage& templ);
    // Merges the values into page, title first, then the meta tags in template
    // order. Values are used as they are: no trimming; an empty page value
    // counts as missing, and adding before or after it gives the template's
    // value alone, without a separating space. Tags with an action outside
    // 1..7 are left alone.
    // Returns 1; or 0 with the page unchanged and error (when given) naming
    // the tag and the character, when a value holds a character that the
    // page's encoding cannot hold.
    int ApplyTo(CHtmlPage& page, QString* error = nullptr) const;

    int m_bHasTitle = 0;
    std::string m_strTitle;
    int m_nTitleAction = 0;
    std::vector<CTemplateTag> m_metas;
    CPageCodec m_codec; // the template's encoding

private:
    // The values in the encoding of a page: false (error set) when one
    // cannot be written in it.
    bool ConvertTo(const CPageCodec& codec, std::string& title, std::vector<CTemplateTag>& metas,
                   QString& error) const;
};
