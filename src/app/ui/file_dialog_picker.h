// CFileDialogPicker: the document's requests for file and folder names as
// file dialogs.
//
// Each dialog starts in the folder of the last name chosen (the current folder
// at first, or of the file last opened or saved), like a dialog that keeps the process's current
// directory.
#pragma once

#include <QPointer>
#include <QWidget>

#include "document/file_picker.h"

class CFileDialogPicker : public IFilePicker {
public:
    void SetParent(QWidget* parent) { m_parent = parent; }
    // The next dialog starts in the folder of path (a file just opened or saved).
    void NoteFileUsed(const QString& path);
    QString Pick(const Request& request) override;

private:
    QPointer<QWidget> m_parent;
    QString m_lastDir;
};
