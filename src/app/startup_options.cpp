#include "app/startup_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include "document/tessel_doc.h"

int ParseStartupOptions(const QStringList& arguments, StartupOptions& options, QString& output) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits the title and meta tags of web pages and meta-data templates."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                QStringLiteral("Start without the splash screen."));
    parser.addOption(noSplash);
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Render SCENE,FILE to a PNG file and exit."),
                                  QStringLiteral("SCENE,FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshot);
    QCommandLineOption firstPaint(QStringLiteral("report-first-paint"),
                                  QStringLiteral("Print first-paint once painted, then exit."));
    firstPaint.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(firstPaint);
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("A project folder to show in the file browser."),
                                 QStringLiteral("[folder]"));
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("A web page to open, or a meta-data template (.mtpl)."),
        QStringLiteral("[file]"));

    if (!parser.parse(arguments)) {
        output = parser.errorText() + QLatin1Char('\n');
        return 2;
    }
    if (parser.isSet(help)) {
        output = parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        output = QCoreApplication::applicationName() + QLatin1Char(' ') +
                 QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return 0;
    }
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
    if (parser.isSet(screenshot)) {
        // Scene names hold no comma; the file name is everything after the first.
        const QString value = parser.value(screenshot);
        const qsizetype comma = value.indexOf(QLatin1Char(','));
        if (comma <= 0 || comma + 1 >= value.size()) {
            output = QStringLiteral("--screenshot takes SCENE,FILE.\n");
            return 2;
        }
        options.screenshotScene = value.left(comma);
        options.screenshotFile = value.mid(comma + 1);
    }
    options.reportFirstPaint = parser.isSet(firstPaint);
    options.splash =
        !parser.isSet(noSplash) && options.screenshotScene.isEmpty() && !options.reportFirstPaint;
    options.kind = StartupOptions::NEW_PAGE;
    options.path.clear();
    options.projectDir.clear();
    if (!files.isEmpty()) {
        options.path = files.last();
        options.kind = QFileInfo(options.path).isDir() ? StartupOptions::OPEN_PROJECT
                                                       : StartupOptions::OPEN_FILE;
        if (QFileInfo(files.first()).isDir())
            options.projectDir = files.first();
    }
    return -1;
}

int OpenStartupDocument(CTesselDoc& doc, const StartupOptions& options) {
    if (options.kind == StartupOptions::OPEN_FILE && !IsTemplateFileName(options.path))
        return doc.OpenDocumentFile(options.path); // a failed open leaves a new page
    doc.OnNewDocument();
    doc.InitialUpdate();
    if (options.kind == StartupOptions::OPEN_FILE)
        return doc.OpenDocumentFile(options.path); // the template, over the new page
    return 1;
}
