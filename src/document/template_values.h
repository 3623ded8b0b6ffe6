// CTemplateValues: the title and meta tags of a template with their actions,
// read once and merged into any number of pages.
#pragma once

#include <string>
#include <vector>

class CHtmlPage;

struct CTemplateTag {
    std::string name;
    std::string value;
    int httpEquiv = 0;
    int action = -1;
};

class CTemplateValues {
public:
    // Reads the values of a template page (one loaded with preserve-body off).
    void Read(const CHtmlPage& templ);
    // Merges the values into page, title first, then the meta tags in template
    // order. Values are used as they are: no trimming; an empty page value
    // counts as missing. Tags with an action outside 1..7 are left alone.
    void ApplyTo(CHtmlPage& page) const;

    int m_bHasTitle = 0;
    std::string m_strTitle;
    int m_nTitleAction = 0;
    std::vector<CTemplateTag> m_metas;
};
