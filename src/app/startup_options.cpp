#include "app/startup_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcessEnvironment>

#include "document/tessel_doc.h"

namespace {

// The program's options and arguments, for both readings of the command line.
struct StartupParser {
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption noSplash{QStringLiteral("no-splash"),
                                QStringLiteral("Start without the splash screen.")};
    QCommandLineOption site{QStringLiteral("site"),
                            QStringLiteral("Show the web pages of DIR in one table (the site "
                                           "view), DIR being the project folder."),
                            QStringLiteral("DIR")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Render SCENE,FILE to a PNG file and exit."),
                                  QStringLiteral("SCENE,FILE")};
    QCommandLineOption firstPaint{QStringLiteral("report-first-paint"),
                                  QStringLiteral("Print first-paint once painted, then exit.")};

    StartupParser() : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.setApplicationDescription(
            QStringLiteral("Edits the title and meta tags of web pages and meta-data templates."));
        parser.addOption(noSplash);
        parser.addOption(site);
        screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(screenshot);
        firstPaint.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(firstPaint);
        parser.addPositionalArgument(
            QStringLiteral("folder"),
            QStringLiteral("A project folder to show in the file browser."),
            QStringLiteral("[folder]"));
        parser.addPositionalArgument(
            QStringLiteral("file"),
            QStringLiteral("A web page to open, or a meta-data template (.mtpl)."),
            QStringLiteral("[file]"));
    }

    // The help or version text when either is asked for, else nothing.
    QString InfoText(const QStringList& arguments) const {
        if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
            QString text = parser.helpText();
            // Without an application object Qt cannot know the program's name.
            if (!QCoreApplication::instance() && !arguments.isEmpty())
                text.replace(QLatin1String("<executable_name>"), arguments.first());
            return text;
        }
        if (parser.isSet(version))
            return QCoreApplication::applicationName() + QLatin1Char(' ') +
                   QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return {};
    }
};

} // namespace

QString NoDisplayMessage(const QStringList& arguments, const QProcessEnvironment& environment) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QString::fromLatin1(name)).isEmpty())
            return {};
    }
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform"))
            return {};
    }
    return QStringLiteral("tsle: no display to open a window on (DISPLAY is not set); "
                          "tsle-cli works without one\n");
}

bool AnswerHelpOrVersion(const QStringList& arguments, QString& output) {
    StartupParser p;
    // The window system's options ("-reverse", "-platform xcb") are not known
    // here: read as words, not as strings of one-letter options, they cannot
    // pass for -v or -h.
    p.parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    p.parser.parse(arguments);
    output = p.InfoText(arguments);
    return !output.isEmpty();
}

int ParseStartupOptions(const QStringList& arguments, StartupOptions& options, QString& output) {
    StartupParser p;
    QCommandLineParser& parser = p.parser;
    if (!parser.parse(arguments)) {
        output = parser.errorText() + QLatin1Char('\n');
        return 2;
    }
    output = p.InfoText(arguments);
    if (!output.isEmpty())
        return 0;
    const QStringList files = parser.positionalArguments();
    if (files.size() > 2) {
        output = QStringLiteral("Too many arguments: a folder, a file, or a folder and a file.\n");
        return 2;
    }
    if (files.size() == 2 && !QFileInfo(files[0]).isDir()) {
        output = QStringLiteral("%1 is not a folder: with two arguments, the first is the "
                                "project folder and the second the file to open.\n")
                     .arg(files[0]);
        return 2;
    }
    if (files.size() == 2 && QFileInfo(files[1]).isDir()) {
        output = QStringLiteral("%1 is a folder: the second argument is the file to open.\n")
                     .arg(files[1]);
        return 2;
    }
    if (parser.isSet(p.screenshot)) {
        // Scene names hold no comma; the file name is everything after the first.
        const QString value = parser.value(p.screenshot);
        const qsizetype comma = value.indexOf(QLatin1Char(','));
        if (comma <= 0 || comma + 1 >= value.size()) {
            output = QStringLiteral("--screenshot takes SCENE,FILE.\n");
            return 2;
        }
        options.screenshotScene = value.left(comma);
        options.screenshotFile = value.mid(comma + 1);
    }
    options.siteDir.clear();
    if (parser.isSet(p.site)) {
        options.siteDir = parser.value(p.site);
        if (!QFileInfo(options.siteDir).isDir()) {
            output = QStringLiteral("%1 is not a folder: --site takes the folder of a site.\n")
                         .arg(options.siteDir);
            return 2;
        }
        if (!files.isEmpty() && QFileInfo(files.first()).isDir()) {
            output = QStringLiteral("Name the folder once: --site DIR, or a folder argument.\n");
            return 2;
        }
    }
    options.reportFirstPaint = parser.isSet(p.firstPaint);
    options.splash =
        !parser.isSet(p.noSplash) && options.screenshotScene.isEmpty() && !options.reportFirstPaint;
    options.kind = StartupOptions::Kind::NEW_PAGE;
    options.path.clear();
    options.projectDir.clear();
    if (!files.isEmpty()) {
        options.path = files.last();
        options.kind = QFileInfo(options.path).isDir() ? StartupOptions::Kind::OPEN_PROJECT
                                                       : StartupOptions::Kind::OPEN_FILE;
        if (QFileInfo(files.first()).isDir())
            options.projectDir = files.first();
    }
    if (!options.siteDir.isEmpty())
        options.projectDir = options.siteDir;
    return -1;
}

bool OpenStartupDocument(CTesselDoc& doc, const StartupOptions& options) {
    if (options.kind == StartupOptions::Kind::OPEN_FILE && !IsTemplateFileName(options.path))
        return doc.OpenDocumentFile(options.path) != 0; // a failed open leaves a new page
    doc.OnNewDocument();
    doc.InitialUpdate();
    if (options.kind == StartupOptions::Kind::OPEN_FILE)
        return doc.OpenDocumentFile(options.path) != 0; // the template, over the new page
    return true;
}
