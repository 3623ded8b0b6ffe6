#include "document/head_metas.h"

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"

std::vector<CHeadMeta> ListHeadMetas(const CHtmlPage& page) {
    std::vector<CHeadMeta> metas;
    std::string name, content;
    int httpEquiv = 0;
    // The rows GetMetaAt gives, each matched with its tag for the charset.
    POSITION pos = page.GetHeadPosition();
    for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i) {
        CHeadMeta meta;
        meta.name = name;
        meta.content = content;
        meta.kind = httpEquiv ? CHeadMeta::Kind::HTTP_EQUIV : CHeadMeta::Kind::NAME;
        for (; pos; pos = CHtmlPage::GetNextPosition(pos)) {
            const CHtmlSection* section = CHtmlPage::GetAt(pos);
            if (section->GetType() == SECTION_TAG &&
                static_cast<const CTagSection*>(section)->Tag().GetElementRow() == ROW_META)
                break;
        }
        if (name.empty()) {
            std::string value;
            const CHtmlTag* tag =
                pos ? &static_cast<const CTagSection*>(CHtmlPage::GetAt(pos))->Tag() : nullptr;
            if (tag && tag->GetAttribute("charset", value)) {
                meta.kind = CHeadMeta::Kind::CHARSET;
                meta.content = std::string(TrimAscii(value));
            } else if (tag && tag->GetAttribute("property", value) && !value.empty()) {
                meta.kind = CHeadMeta::Kind::PROPERTY;
                meta.name = value;
            } else {
                meta.kind = CHeadMeta::Kind::NAMELESS;
            }
        }
        pos = CHtmlPage::GetNextPosition(pos);
        metas.push_back(std::move(meta));
        httpEquiv = 0;
    }
    return metas;
}

std::string MetaCharsetOf(const CHtmlPage& page) {
    for (const CHeadMeta& meta : ListHeadMetas(page)) {
        if (meta.kind == CHeadMeta::Kind::CHARSET)
            return meta.content;
    }
    return {};
}
