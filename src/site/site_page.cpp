#include "site/site_page.h"
#include "document/fingerprint.h"

#include <unordered_set>

#include "page/ascii_text.h"
#include "page/page_names.h"
#include "page/social_tags.h"

CPageHead::CPageHead(std::string& text) : m_text(text) {
    m_page.SetText(std::move(text), BodyMode::PRESERVE);
}

CPageHead::~CPageHead() {
    m_text = m_page.TakeSourceText();
}

QString ValueText(const CPageCodec& codec, std::string_view bytes, RefPlace place) {
    return codec.DecodeValue(bytes, place);
}

bool ValueBytes(const CPageCodec& codec, const QString& text, RefPlace place, std::string& bytes,
                QString& error) {
    return codec.EncodeValue(text, place, bytes, error);
}

std::string MetaTextKey(const QString& name) {
    return MetaNameKey(name.toUtf8().toStdString());
}

void CPageValues::Read(std::string_view bytes, const CHtmlPage& page,
                       const std::vector<QString>& names) {
    fingerprint = PageFingerprint(bytes);
    codec = CPageCodec::ForPage(bytes, page);
    // A tag's value, with its name's key made once, here on the reader's
    // thread, rather than at every look-up of a table's columns.
    const auto tagValue = [&](QString name, int httpEquiv, const std::string& content) {
        std::string key = MetaTextKey(name);
        return CPageMetaValue{std::move(name), httpEquiv,
                              ValueText(codec, content, RefPlace::ATTRIBUTE), std::move(key)};
    };
    std::string raw;
    int action = 0;
    hasTitle = page.GetTitleWithAction(raw, action);
    title = ValueText(codec, raw, RefPlace::TEXT);
    metas.clear();
    std::unordered_set<std::string> seen;
    std::string name, content;
    int httpEquiv = 0;
    for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i) {
        if (name.empty() || !seen.insert(MetaNameKey(name)).second)
            continue;
        metas.push_back(tagValue(codec.Decode(name), httpEquiv, content));
    }
    for (const QString& wanted : names) {
        std::string bytesName;
        QString error;
        if (!codec.Encode(wanted, bytesName, error) || seen.count(MetaNameKey(bytesName)))
            continue;
        POSITION pos = page.FindMeta(bytesName);
        if (!pos)
            continue;
        seen.insert(MetaNameKey(bytesName));
        const CHtmlTag& tag = static_cast<const CTagSection*>(CHtmlPage::GetAt(pos))->Tag();
        std::string written;
        httpEquiv = !tag.GetAttribute("name", written) || written.empty();
        if (httpEquiv)
            tag.GetAttribute("http-equiv", written);
        tag.GetAttribute("content", content);
        metas.push_back(tagValue(codec.Decode(written), httpEquiv, content));
    }
    properties.clear();
    seen.clear();
    for (int i = 0; GetPropertyAt(page, i, name, content); ++i) {
        if (seen.insert(MetaNameKey(name)).second)
            properties.push_back(tagValue(codec.Decode(name), 0, content));
    }
    hasCanonical = 0;
    canonical.clear();
    alternates.clear();
    for (const CHeadLink& link : ListHeadLinks(page)) {
        const QString href = ValueText(codec, link.href, RefPlace::ATTRIBUTE);
        if (link.kind == LinkKind::CANONICAL) {
            if (!hasCanonical)
                canonical = href;
            hasCanonical = 1;
        } else {
            const QString hreflang = ValueText(codec, link.hreflang, RefPlace::ATTRIBUTE);
            if (!FindAlternate(hreflang))
                alternates.push_back({hreflang, 0, href, {}});
        }
    }
    hasHtmlTag = FindHtmlTag(page) != nullptr;
    hasLang = GetHtmlLang(page, raw);
    lang = ValueText(codec, raw, RefPlace::ATTRIBUTE);
}

namespace {

const CPageMetaValue* FindByKey(const std::vector<CPageMetaValue>& values, std::string_view key) {
    for (const CPageMetaValue& value : values) {
        if ((value.key.empty() ? MetaTextKey(value.name) : value.key) == key)
            return &value;
    }
    return nullptr;
}

} // namespace

const CPageMetaValue* CPageValues::FindProperty(const QString& property) const {
    return FindByKey(properties, MetaTextKey(property));
}

const CPageMetaValue* CPageValues::FindPropertyByKey(std::string_view key) const {
    return FindByKey(properties, key);
}

const CPageMetaValue* CPageValues::FindAlternate(const QString& hreflang) const {
    for (const CPageMetaValue& value : alternates) {
        if (value.name.trimmed().compare(hreflang.trimmed(), Qt::CaseInsensitive) == 0)
            return &value;
    }
    return nullptr;
}

const CPageMetaValue* CPageValues::FindMeta(const QString& name) const {
    return FindByKey(metas, MetaTextKey(name));
}

const CPageMetaValue* CPageValues::FindMetaByKey(std::string_view key) const {
    return FindByKey(metas, key);
}
