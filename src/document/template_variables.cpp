#include "document/template_variables.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

struct Known {
    QLatin1String name;
    TemplateVariable variable;
};
const Known kKnown[] = {
    {QLatin1String("title"), TemplateVariable::TITLE},
    {QLatin1String("description"), TemplateVariable::DESCRIPTION},
    {QLatin1String("filename"), TemplateVariable::FILENAME},
    {QLatin1String("path"), TemplateVariable::PATH},
    {QLatin1String("site"), TemplateVariable::SITE},
};

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == '_' || c == '-' || c == ':' || c == '.';
}

void AddLiteral(std::vector<CTemplatePiece>& pieces, const QString& text) {
    if (text.isEmpty())
        return;
    if (!pieces.empty() && !pieces.back().isVariable) {
        pieces.back().text += text;
        return;
    }
    pieces.push_back({false, TemplateVariable::TITLE, text});
}

} // namespace

bool ParseTemplateValue(const QString& value, std::vector<CTemplatePiece>& pieces, QString& error) {
    pieces.clear();
    QString literal;
    const qsizetype n = value.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = value[i];
        if ((c == '{' || c == '}') && i + 1 < n && value[i + 1] == c) {
            literal += c;
            ++i;
            continue;
        }
        if (c != '{') {
            literal += c;
            continue;
        }
        qsizetype end = i + 1;
        while (end < n && IsNameChar(value[end]))
            ++end;
        if (end == i + 1 || end >= n || value[end] != '}') {
            literal += c; // a brace that starts no variable
            continue;
        }
        const QString name = value.mid(i + 1, end - i - 1);
        const QString written = value.mid(i, end - i + 1);
        const Known* known = nullptr;
        for (const Known& k : kKnown) {
            if (name == k.name)
                known = &k;
        }
        if (!known) {
            error = QStringLiteral("unknown template variable %1 (known: {title}, "
                                   "{description}, {filename}, {path}, {site}; {{ and }} "
                                   "for braces)")
                        .arg(written);
            pieces.clear();
            return false;
        }
        AddLiteral(pieces, literal);
        literal.clear();
        pieces.push_back({true, known->variable, written});
        i = end;
    }
    AddLiteral(pieces, literal);
    return true;
}

bool UsesVariables(const std::vector<CTemplatePiece>& pieces) {
    for (const CTemplatePiece& piece : pieces) {
        if (piece.isVariable)
            return true;
    }
    return false;
}

bool CTemplateContext::Resolve(TemplateVariable variable, QString& text, QString& error) const {
    switch (variable) {
    case TemplateVariable::FILENAME:
        if (pagePath.isEmpty()) {
            error = QStringLiteral("{filename}: the page has no file name yet (save it first)");
            return false;
        }
        text = QFileInfo(pagePath).fileName();
        return true;
    case TemplateVariable::PATH:
        if (pagePath.isEmpty()) {
            error = QStringLiteral("{path}: the page has no file name yet (save it first)");
            return false;
        }
        if (projectRoot.isEmpty() || !ProjectRelativeUrlPath(pagePath, projectRoot, text)) {
            error = projectRoot.isEmpty()
                        ? QStringLiteral("{path}: no project folder is set")
                        : QStringLiteral("{path}: the page is not inside the project folder %1")
                              .arg(projectRoot);
            return false;
        }
        return true;
    case TemplateVariable::SITE:
        if (site.isEmpty()) {
            error = QStringLiteral("{site}: no site address is set for the project");
            return false;
        }
        text = site;
        return true;
    case TemplateVariable::TITLE:
    case TemplateVariable::DESCRIPTION:
        break;
    }
    error = QStringLiteral("the variable is read from the page");
    return false;
}

bool NormalizeSiteAddress(const QString& text, QString& address, QString& error) {
    QString trimmed = text.trimmed();
    while (trimmed.endsWith('/'))
        trimmed.chop(1);
    if (trimmed.isEmpty()) {
        address.clear();
        return true;
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty() ||
        url.hasQuery() || url.hasFragment()) {
        error = QStringLiteral("'%1' is not a site address such as https://example.org")
                    .arg(text.trimmed());
        return false;
    }
    address = trimmed;
    return true;
}

bool ProjectRelativeUrlPath(const QString& file, const QString& root, QString& path) {
    const QString cleanFile = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    QString cleanRoot = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    if (!cleanRoot.endsWith('/'))
        cleanRoot += '/';
    if (!cleanFile.startsWith(cleanRoot))
        return false;
    const QString relative = cleanFile.mid(cleanRoot.size());
    path.clear();
    for (const QChar c : relative) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u == 0x7F || u == '"' || u == '#' || u == '%' || u == '<' || u == '>' ||
            u == '?') {
            path += QStringLiteral("%%1").arg(unsigned(u), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            path += c;
        }
    }
    return true;
}
