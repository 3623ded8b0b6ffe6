// Template variables: a template value may name what it stands for on each
// page it is applied to.
//
//   {title}        the page's title
//   {description}  the page's description
//   {filename}     the page's file name ("about.html")
//   {path}         the page's path relative to the project folder, "/"
//                  between folders, with the characters a URL cannot hold
//                  as they are (space, '"', "#", "%", "<", ">", "?",
//                  controls) percent-encoded ("docs/a%20b.html")
//   {site}         the project's site address ("https://example.org")
//   {{ and }}      a brace
//
// so that og:title = "{title}" and canonical = "{site}/{path}" fill a whole
// site in one run. A brace that starts no "{name}" stands for itself; a
// "{name}" that names none of the above is an error that names it.
#pragma once

#include <QString>
#include <vector>

enum class TemplateVariable { TITLE, DESCRIPTION, FILENAME, PATH, SITE };

// One piece of a value: literal text, or a variable.
struct CTemplatePiece {
    bool isVariable = false;
    TemplateVariable variable = TemplateVariable::TITLE;
    QString text; // the literal text, or the variable as written ("{title}")
};

// Splits value into its pieces. Returns true, or false with error naming the
// first unknown variable ("unknown template variable {Title}").
bool ParseTemplateValue(const QString& value, std::vector<CTemplatePiece>& pieces, QString& error);
// Whether the pieces use a variable at all.
bool UsesVariables(const std::vector<CTemplatePiece>& pieces);

// Where a page stands, for the variables that are not read from the page.
struct CTemplateContext {
    QString pagePath;    // absolute; "" for a page not saved yet
    QString projectRoot; // absolute folder; "" for none
    QString site;        // see NormalizeSiteAddress; "" for none

    // The text of a variable that is not read from the page: true, or false
    // with error saying why it has none here ("{site}: no site address is set
    // for the project").
    bool Resolve(TemplateVariable variable, QString& text, QString& error) const;
};

// A site address as the user typed it, made the form {site} gives: trimmed,
// an http or https address with a host, without "/" at its end
// ("https://example.org/" gives "https://example.org"). "" stays "" (no
// address). False, with error set, for anything else.
bool NormalizeSiteAddress(const QString& text, QString& address, QString& error);

// The path of file relative to root ("/" between folders), percent-encoded
// for a URL as {path} gives it; false when file is not inside root.
bool ProjectRelativeUrlPath(const QString& file, const QString& root, QString& path);
