// IFilePicker: how the document asks for a file or folder name.
//
// The document decides when a name is needed and what the dialog should offer;
// the GUI answers with a file dialog, tests with a scripted answer.
#pragma once

#include <QString>
#include <QStringList>

class IFilePicker {
public:
    enum Kind { OPEN_FILE, SAVE_FILE, FOLDER };

    struct Request {
        Kind kind = OPEN_FILE;
        QString caption;
        // Filter pairs "Description|patterns|...|", patterns separated by ";",
        // ending in "||"; NameFilters() turns it into Qt's form.
        QString filter;
        // Extension (without ".") added to a typed name that has none; may be empty.
        QString defaultExtension;
        // File name proposed in the dialog; may be empty.
        QString initialName;
        // Open: the chosen file's folder must exist. Save: ask before overwriting.
        bool folderMustExist = false;
        bool confirmOverwrite = false;
    };

    virtual ~IFilePicker() = default;
    // The chosen full path, or an empty string when the user cancelled.
    virtual QString Pick(const Request& request) = 0;
};

// The filter pairs of a request as Qt name filters: "Web page files (*.htm;*.html)|*.htm;*.html|"
// gives "Web page files (*.htm *.html)".
QStringList NameFilters(const QString& filter);
