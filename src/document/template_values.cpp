#include "document/template_values.h"

#include <algorithm>
#include <unordered_map>

#include "document/template_merge.h"
#include "page/html_page.h"
#include "page/social_tags.h"

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool WritesValue(int action) {
    return action == ACTION_ALWAYS_SET || action == ACTION_SET_IF_MISSING ||
           action == ACTION_REPLACE_IF_EXISTS || action == ACTION_APPEND ||
           action == ACTION_PREPEND;
}

// What an action makes of a page's current value: false when it leaves the
// value alone; remove when it takes the tag away.
bool Merge(int action, const std::string& current, const std::string& value, std::string& result,
           bool& remove) {
    result.clear();
    const TemplateMerge merge = MergeTemplateValue(action, current, value, result);
    remove = merge == TemplateMerge::REMOVE;
    return merge != TemplateMerge::KEEP;
}

QString Named(const std::string& tag, const CPageCodec& codec, const QString& error) {
    return codec.Decode(tag) + ": " + error;
}

} // namespace

CTemplateValues::Parsed CTemplateValues::Parse(const std::string& bytes) const {
    Parsed parsed;
    if (bytes.find_first_of("{}") == std::string::npos)
        return parsed;
    ParseTemplateValue(m_codec.Decode(bytes), parsed.pieces, parsed.error);
    // A value whose braces all stand for themselves keeps its bytes.
    parsed.plain = parsed.error.isEmpty() && parsed.pieces.size() <= 1 &&
                   (parsed.pieces.empty() || !parsed.pieces.front().isVariable) &&
                   bytes.find("{{") == std::string::npos && bytes.find("}}") == std::string::npos;
    return parsed;
}

void CTemplateValues::Read(CHtmlPage& templ) {
    m_codec = CPageCodec::ForPage(templ.GetText(), templ);
    m_strTitle.clear();
    m_nTitleAction = 0;
    m_bHasTitle = templ.GetTitleWithAction(m_strTitle, m_nTitleAction);
    m_title = Parse(m_strTitle);
    m_metas.clear();
    m_tags.clear();
    CTemplateTag tag;
    for (int i = 0; templ.GetMetaAt(i, tag.name, tag.value, tag.httpEquiv); ++i) {
        // By name, so two template tags of one name both carry the first one's action.
        tag.action = templ.GetMetaAction(tag.name);
        m_metas.push_back(tag);
        tag.httpEquiv = 0;
    }
    tag = CTemplateTag();
    tag.kind = CTemplateTag::Kind::PROPERTY;
    for (int i = 0; GetPropertyAt(templ, i, tag.name, tag.value); ++i) {
        tag.action = templ.GetTagAction(FindProperty(templ, tag.name));
        m_tags.push_back(tag);
    }
    for (const CHeadLink& link : ListHeadLinks(templ)) {
        tag = CTemplateTag();
        tag.kind = CTemplateTag::Kind::LINK;
        tag.link = link.kind;
        tag.name = link.hreflang;
        tag.value = link.href;
        tag.action = templ.GetTagAction(link.pos);
        m_tags.push_back(tag);
    }
    tag = CTemplateTag();
    tag.kind = CTemplateTag::Kind::LANG;
    if (GetHtmlLang(templ, tag.value)) {
        tag.action = templ.GetTagAction(FindHtmlTag(templ));
        m_tags.push_back(tag);
    }
    m_entries.clear();
    for (const std::vector<CTemplateTag>* list : {&m_metas, &m_tags}) {
        for (const CTemplateTag& t : *list)
            m_entries.push_back({&t, Parse(t.value)});
    }
}

namespace {

// How a tag is named in messages and compared with the others of its kind.
std::string TagLabel(const CTemplateTag& tag) {
    switch (tag.kind) {
    case CTemplateTag::Kind::META:
        return tag.name;
    case CTemplateTag::Kind::PROPERTY:
        return tag.name;
    case CTemplateTag::Kind::LINK:
        return tag.link == LinkKind::CANONICAL ? "canonical" : "alternate " + tag.name;
    case CTemplateTag::Kind::LANG:
        break;
    }
    return "lang";
}

std::string TagKey(const CTemplateTag& tag, const std::string& name) {
    switch (tag.kind) {
    case CTemplateTag::Kind::META:
        return "m" + MetaNameKey(name);
    case CTemplateTag::Kind::PROPERTY:
        return "p" + MetaNameKey(name);
    case CTemplateTag::Kind::LINK:
        return tag.link == LinkKind::CANONICAL ? "c" : "a" + AttributeValueKey(name, true);
    case CTemplateTag::Kind::LANG:
        break;
    }
    return "l";
}

// The page's current value of the tag (name: in the page's encoding).
std::string PageValue(const CHtmlPage& page, const CTemplateTag& tag, const std::string& name) {
    std::string value;
    switch (tag.kind) {
    case CTemplateTag::Kind::META:
        return page.GetMetaContent(name);
    case CTemplateTag::Kind::PROPERTY:
        return GetPropertyContent(page, name);
    case CTemplateTag::Kind::LINK:
        return GetLinkHref(page, tag.link, name);
    case CTemplateTag::Kind::LANG:
        GetHtmlLang(page, value);
        break;
    }
    return value;
}

void WriteTag(CHtmlPage& page, const CTemplateTag& tag, const std::string& name,
              const std::string& value, bool remove) {
    switch (tag.kind) {
    case CTemplateTag::Kind::META:
        if (remove)
            page.RemoveMeta(name);
        else
            page.SetMeta(name, value, tag.httpEquiv);
        break;
    case CTemplateTag::Kind::PROPERTY:
        if (remove)
            page.RemoveProperty(name);
        else
            page.SetProperty(name, value);
        break;
    case CTemplateTag::Kind::LINK:
        if (remove)
            page.RemoveLink(tag.link, name);
        else
            page.SetLink(tag.link, name, value);
        break;
    case CTemplateTag::Kind::LANG:
        page.SetHtmlLang(remove ? std::string() : value);
        break;
    }
}

} // namespace

int CTemplateValues::CheckVariables(QString& error) const {
    if (m_bHasTitle && WritesValue(m_nTitleAction) && !m_title.error.isEmpty()) {
        error = "title: " + m_title.error;
        return 0;
    }
    for (const Entry& entry : m_entries) {
        if (WritesValue(entry.tag->action) && !entry.parsed.error.isEmpty()) {
            error = Named(TagLabel(*entry.tag), m_codec, entry.parsed.error);
            return 0;
        }
    }
    return 1;
}

bool CTemplateValues::UsesVariable(TemplateVariable variable) const {
    const auto uses = [&](const Parsed& parsed) {
        return std::any_of(parsed.pieces.begin(), parsed.pieces.end(),
                           [&](const CTemplatePiece& piece) {
                               return piece.isVariable && piece.variable == variable;
                           });
    };
    if (m_bHasTitle && WritesValue(m_nTitleAction) && uses(m_title))
        return true;
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        return WritesValue(entry.tag->action) && uses(entry.parsed);
    });
}

bool CTemplateValues::Resolve(const std::string& bytes, const Parsed& parsed, RefPlace place,
                              const CPageCodec& codec, const CTemplateContext& context,
                              const std::string& title, const std::string& description,
                              std::string& out, QString& error) const {
    if (!parsed.error.isEmpty()) {
        error = parsed.error;
        return false;
    }
    if (parsed.plain) {
        // Text in ASCII is the same in every encoding a page may have.
        out = bytes;
        return codec == m_codec || IsAscii(bytes) ||
               codec.Encode(m_codec.Decode(bytes), out, error);
    }
    out.clear();
    for (const CTemplatePiece& piece : parsed.pieces) {
        std::string part;
        if (!piece.isVariable) {
            if (!codec.Encode(piece.text, part, error))
                return false;
        } else if (piece.variable == TemplateVariable::TITLE) {
            part = title;
        } else if (piece.variable == TemplateVariable::DESCRIPTION) {
            part = description;
        } else {
            QString text;
            if (!context.Resolve(piece.variable, text, error) ||
                !codec.EncodeValue(text, place, part, error))
                return false;
        }
        out += part;
    }
    return true;
}

int CTemplateValues::ApplyTo(CHtmlPage& page, QString* error) const {
    return ApplyTo(page, CTemplateContext(), error);
}

int CTemplateValues::ApplyTo(CHtmlPage& page, const CTemplateContext& context,
                             QString* error) const {
    const CPageCodec codec = CPageCodec::ForPage(page.GetText(), page);
    QString why;
    const auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return 0;
    };
    // Every value is worked out before the page changes, so that a value
    // that cannot be written leaves the page as it was.
    std::string title = page.GetTitle();
    std::string description = page.GetMetaContent("description");
    bool writeTitle = false;
    std::string newTitle;
    if (m_bHasTitle) {
        std::string value;
        bool remove = false;
        if (WritesValue(m_nTitleAction) && !Resolve(m_strTitle, m_title, RefPlace::TEXT, codec,
                                                    context, title, description, value, why))
            return fail("title: " + why);
        writeTitle = Merge(m_nTitleAction, title, value, newTitle, remove);
        if (writeTitle)
            title = newTitle;
    }
    struct Write {
        size_t order; // in m_entries
        const CTemplateTag* tag;
        bool remove;
        std::string name, value;
    };
    std::vector<Write> writes;
    // The description first, so that the other tags see it as the template leaves it.
    const auto isDescription = [&](const Entry& entry) {
        return entry.tag->kind == CTemplateTag::Kind::META &&
               MetaNameKey(m_codec.Decode(entry.tag->name).toStdString()) == "description";
    };
    std::vector<size_t> order(m_entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_partition(order.begin(), order.end(),
                          [&](size_t i) { return isDescription(m_entries[i]); });
    // The page's values as the writes so far leave them, by tag (looked up,
    // not searched: a template may hold tens of thousands of tags).
    std::unordered_map<std::string, std::string> pending;
    const auto current = [&](const CTemplateTag& tag, const std::string& name) {
        const auto it = pending.find(TagKey(tag, name));
        return it != pending.end() ? it->second : PageValue(page, tag, name);
    };
    for (size_t i : order) {
        const CTemplateTag& tag = *m_entries[i].tag;
        if (tag.action < ACTION_ALWAYS_SET || tag.action > ACTION_PREPEND)
            continue;
        Write write{i, &tag, false, tag.name, {}};
        if (!(codec == m_codec || IsAscii(tag.name) ||
              codec.Encode(m_codec.Decode(tag.name), write.name, why)))
            return fail(Named(TagLabel(tag), m_codec, why));
        std::string value;
        if (WritesValue(tag.action) && !Resolve(tag.value, m_entries[i].parsed, RefPlace::ATTRIBUTE,
                                                codec, context, title, description, value, why))
            return fail(Named(TagLabel(tag), m_codec, why));
        if (!Merge(tag.action, current(tag, write.name), value, write.value, write.remove))
            continue;
        pending[TagKey(tag, write.name)] = write.remove ? "" : write.value;
        if (isDescription(m_entries[i]))
            description = write.remove ? "" : write.value;
        writes.push_back(std::move(write));
    }
    // The tags in template order, as they would be written one by one.
    std::stable_sort(writes.begin(), writes.end(),
                     [](const Write& a, const Write& b) { return a.order < b.order; });
    if (writeTitle)
        page.SetTitle(newTitle);
    for (const Write& write : writes)
        WriteTag(page, *write.tag, write.name, write.value, write.remove);
    return 1;
}
