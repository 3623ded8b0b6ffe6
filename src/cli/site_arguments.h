// The options of the commands that need to know where pages are published
// (apply's template variables, audit's links) or how wide their texts are
// (audit, export), with the defaults the user's profile gives.
#pragma once

#include <QCommandLineOption>
#include <QString>
#include <string>

#include "settings/project_sites.h"
#include "settings/search_limits.h"
#include "site/site_links.h"

class QCommandLineParser;
class ITextMeasurer;

// --site URL and --project-root DIR.
class CSiteArguments {
public:
    CSiteArguments();
    void AddTo(QCommandLineParser& parser) const;
    // After parsing: false, with the usage error said, when --site is no site
    // address or --project-root no folder. Reads the projects' stored
    // addresses.
    bool Check(const QCommandLineParser& parser, int& exitCode);
    // Where the page at path (bytes, relative to the current folder or
    // absolute) is published: the folder --project-root names, else the
    // innermost project folder whose site address the options store that
    // holds the page, else the current folder; the address --site gives, else
    // the one stored for that folder ("" when none).
    CSiteAddress AddressOf(const std::string& path) const;

private:
    QCommandLineOption m_site, m_root;
    QString m_givenSite, m_givenRoot;
    CProjectSites m_stored;
};

// The width limits of the profile (the options' "Search" settings), with
// --title-px N, --description-px N and --device desktop|mobile.
class CWidthArguments {
public:
    CWidthArguments();
    void AddTo(QCommandLineParser& parser) const;
    // After parsing: false, with the usage error said, on a bad number or device.
    bool Check(const QCommandLineParser& parser, int& exitCode);
    const CSearchLimits& Limits() const { return m_limits; }
    bool Mobile() const { return m_mobile; }

private:
    QCommandLineOption m_title, m_description, m_device;
    CSearchLimits m_limits;
    bool m_mobile = false;
};

// What widths are measured with: the search results' font, or null (said
// once on stderr) when it cannot be had.
const ITextMeasurer* TextMeasurer();
