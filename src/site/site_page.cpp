#include "site/site_page.h"
#include "document/fingerprint.h"

#include <unordered_set>

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"

void ReadPageHead(CHtmlPage& page, const std::string& text, bool /*headOnly*/) {
    // The page model itself cuts only the head into pieces; the part after
    // the body tag it only scans for the meta tags that may stand there.
    page.SetText(text, BodyMode::PRESERVE);
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
        metas.push_back(
            {codec.Decode(name), httpEquiv, ValueText(codec, content, RefPlace::ATTRIBUTE)});
    }
    for (const QString& wanted : names) {
        std::string bytesName;
        QString error;
        if (!codec.Encode(wanted, bytesName, error) || seen.count(MetaNameKey(bytesName)))
            continue;
        const POSITION pos = page.FindMeta(bytesName);
        if (!pos)
            continue;
        seen.insert(MetaNameKey(bytesName));
        const CHtmlTag& tag = static_cast<const CTagSection*>(CHtmlPage::GetAt(pos))->Tag();
        std::string written;
        httpEquiv = !tag.GetAttribute("name", written) || written.empty();
        if (httpEquiv)
            tag.GetAttribute("http-equiv", written);
        tag.GetAttribute("content", content);
        metas.push_back(
            {codec.Decode(written), httpEquiv, ValueText(codec, content, RefPlace::ATTRIBUTE)});
    }
}

const CPageMetaValue* CPageValues::FindMeta(const QString& name) const {
    const std::string key = MetaTextKey(name);
    for (const CPageMetaValue& meta : metas) {
        if (MetaTextKey(meta.name) == key)
            return &meta;
    }
    return nullptr;
}

QString CollapseSpaces(const QString& text) {
    // HTML's white space only: a no-break space is shown as a space of its own.
    const auto isSpace = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
               c == QLatin1Char('\r') || c == QLatin1Char('\f');
    };
    // Most texts are collapsed already: they are shared, not copied.
    bool collapsed = text.isEmpty() || (!isSpace(text.front()) && !isSpace(text.back()));
    for (qsizetype i = 1; collapsed && i < text.size(); ++i) {
        const QChar c = text.at(i);
        collapsed = !isSpace(c) || (c == QLatin1Char(' ') && !isSpace(text.at(i - 1)));
    }
    if (collapsed)
        return text;
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (isSpace(c)) {
            space = !out.isEmpty();
            continue;
        }
        if (space)
            out += QLatin1Char(' ');
        space = false;
        out += c;
    }
    return out;
}

int ShownLength(const QString& text) {
    const QString shown = CollapseSpaces(text);
    int length = 0;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c.isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate())
            ++i;
        ++length;
    }
    return length;
}
