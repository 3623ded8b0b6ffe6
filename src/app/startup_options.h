// What the command line asks of the desktop program at start-up, and opening
// the first document accordingly. No window is involved: the application
// object acts on the result.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class CTesselDoc;

struct StartupOptions {
    enum class Kind {
        NEW_PAGE,     // no file named: a new, untitled page
        OPEN_FILE,    // a page, or a template (".mtpl") over a new page
        OPEN_PROJECT, // a folder: a new page, with the folder as the project
    };
    Kind kind = Kind::NEW_PAGE;
    // The file to open (OPEN_FILE), or the folder (OPEN_PROJECT).
    QString path;
    // The project folder for the file browser: the folder named alone, or
    // the first of a folder and a file.
    QString projectDir;
    // --site DIR: the folder shown in the site view (and the project folder).
    QString siteDir;
    bool splash = true;
    // Hidden options for tools: render a scene to a PNG file and exit, or
    // print "first-paint" once the window has been painted and exit.
    QString screenshotScene;
    QString screenshotFile;
    bool reportFirstPaint = false;
};

// Parses arguments (the program name first): none, a file, a folder, or a
// folder and a file. Returns -1 when the program is to
// start, else the exit status; output is the text to print then (help and
// version on stdout with status 0, errors on stderr with status 2).
int ParseStartupOptions(const QStringList& arguments, StartupOptions& options, QString& output);

// Whether arguments ask for --help or --version, with the text to print on
// standard output then (and exit 0). Needs no application object, so that it
// works where no display is: unknown options (those of the window system)
// are ignored here and reported by ParseStartupOptions.
bool AnswerHelpOrVersion(const QStringList& arguments, QString& output);

// Why no window can open: no display is named and no other window system is
// chosen (arguments, environment). Empty when one may be there.
QString NoDisplayMessage(const QStringList& arguments, const QProcessEnvironment& environment);

// Opens the first document as options say: a new page, else the named file
// through the document's open routing. A template opens over a new, empty
// page; a file that cannot be opened is reported by the document and leaves
// the new page. Returns whether everything named was opened.
bool OpenStartupDocument(CTesselDoc& doc, const StartupOptions& options);
