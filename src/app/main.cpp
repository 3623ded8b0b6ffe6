// tsle: the desktop editor for the meta-data of web pages.
#include <csignal>

#include "app/ui/tessel_app.h"

int main(int argc, char** argv) {
    // A write beyond the file-size limit then fails with EFBIG, which the save
    // reports, instead of ending the program with unsaved edits.
    std::signal(SIGXFSZ, SIG_IGN);
    CTesselApp app(argc, argv);
    const int status = app.InitInstance();
    if (status >= 0)
        return status;
    return app.ExitInstance(app.exec());
}
