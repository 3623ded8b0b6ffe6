#include "cli/site_arguments.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "cli/cli_util.h"
#include "cli/search_font_loader.h"
#include "document/template_variables.h"
#include "document/text_file.h"
#include "settings/preview_settings.h"
#include "settings/settings_profile.h"
#include "snippet/text_measurer.h"

CSiteArguments::CSiteArguments()
    : m_site("site",
             "The site's address (e.g. https://example.org): what {site} gives, and where "
             "links between pages lead. Default: the address set for the project in the "
             "editor's options.",
             "URL"),
      m_root("project-root",
             "The project folder: where {path} starts, and the site address's folder. "
             "Default: the project folder with a site address set in the options that holds "
             "the page, else the current folder.",
             "DIR") {}

void CSiteArguments::AddTo(QCommandLineParser& parser) const {
    parser.addOptions({m_site, m_root});
}

bool CSiteArguments::Check(const QCommandLineParser& parser, int& exitCode) {
    LoadProjectSites(CSettingsProfile(), m_stored);
    QString error;
    if (parser.isSet(m_site) && (!NormalizeSiteAddress(parser.value(m_site), m_givenSite, error) ||
                                 m_givenSite.isEmpty())) {
        exitCode = UsageError("--site: " + (error.isEmpty() ? "an empty address" : error));
        return false;
    }
    if (parser.isSet(m_root)) {
        const QFileInfo root(parser.value(m_root));
        if (!root.isDir()) {
            exitCode = UsageError("--project-root: '" + parser.value(m_root) + "' is no folder");
            return false;
        }
        m_givenRoot = QDir::cleanPath(root.absoluteFilePath());
    }
    return true;
}

CSiteAddress CSiteArguments::AddressOf(const std::string& path) const {
    CSiteAddress address;
    address.root = m_givenRoot;
    if (address.root.isEmpty()) {
        const std::string file = ScriptFolderKey(FileNameFromBytes(path));
        const std::string project = m_stored.ProjectOf(file);
        address.root = project.empty() ? QDir::currentPath() : QString::fromStdString(project);
    }
    address.site = m_givenSite;
    if (address.site.isEmpty())
        address.site = QString::fromStdString(m_stored.SiteOf(ScriptFolderKey(address.root)));
    return address;
}

CWidthArguments::CWidthArguments()
    : m_title("title-px",
              "A title wider than N pixels (in the search results' font, Liberation Sans, at "
              "20 px) is reported (default 600, or the options' setting).",
              "N"),
      m_description("description-px",
                    "A description wider than N pixels (at 14 px) is reported (default 920 on a "
                    "desktop, 680 on a phone, or the options' settings).",
                    "N"),
      m_device("device", "Which width a description is measured against: desktop or mobile.",
               "DEVICE", "desktop") {}

void CWidthArguments::AddTo(QCommandLineParser& parser) const {
    parser.addOptions({m_title, m_description, m_device});
}

bool CWidthArguments::Check(const QCommandLineParser& parser, int& exitCode) {
    LoadSearchLimits(CSettingsProfile(), m_limits);
    const QString device = parser.value(m_device);
    if (device != "desktop" && device != "mobile") {
        exitCode = UsageError("--device must be desktop or mobile, not '" + device + "'");
        return false;
    }
    m_mobile = device == "mobile";
    const std::pair<const QCommandLineOption*, int*> numbers[] = {
        {&m_title, &m_limits.m_nTitlePx},
        {&m_description, m_mobile ? &m_limits.m_nDescriptionMobilePx : &m_limits.m_nDescriptionPx}};
    for (const auto& [option, value] : numbers) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        *value = parser.value(*option).toInt(&ok);
        if (!ok || *value < 1) {
            exitCode =
                UsageError("--" + option->names().first() + " expects a number of pixels, not '" +
                           parser.value(*option) + "'");
            return false;
        }
    }
    return true;
}

const ITextMeasurer* TextMeasurer() {
    QString why;
    const ITextMeasurer* font = OpenSearchFont(why);
    static bool said = false;
    if (!font && !said) {
        said = true;
        std::fputs(("tsle-cli: " + ArgBytes(why) + "\n").c_str(), stderr);
    }
    return font;
}
