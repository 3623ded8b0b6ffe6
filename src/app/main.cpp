// tsle: the desktop editor for the meta-data of web pages.
#include <QStringList>
#include <csignal>
#include <cstdio>

#include "app/startup_options.h"
#include "app/ui/tessel_app.h"

int main(int argc, char** argv) {
    // A write beyond the file-size limit then fails with EFBIG, which the save
    // reports, instead of ending the program with unsaved edits.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help and version are answered before the application object exists:
    // it needs a display, and they must work without one.
    CTesselApp::SetIdentity();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString output;
    if (AnswerHelpOrVersion(arguments, output)) {
        std::fputs(qPrintable(output), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    // Without a display Qt would end the program with an abort.
    const QString noDisplay = NoDisplayMessage(arguments, QProcessEnvironment::systemEnvironment());
    if (!noDisplay.isEmpty()) {
        std::fputs(qPrintable(noDisplay), stderr);
        return 1;
    }
    CTesselApp app(argc, argv);
    const int status = app.InitInstance();
    if (status >= 0)
        return status;
    return app.ExitInstance(app.exec());
}
