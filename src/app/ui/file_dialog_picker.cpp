#include "app/ui/file_dialog_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

void CFileDialogPicker::NoteFileUsed(const QString& path) {
    if (!path.isEmpty())
        m_lastDir = QFileInfo(path).absolutePath();
}

QString CFileDialogPicker::Pick(const Request& request) {
    const QString startDir = m_lastDir.isEmpty() ? QDir::currentPath() : m_lastDir;
    if (request.kind == FOLDER) {
        const QString start = request.initialName.isEmpty() ? startDir : request.initialName;
        const QString dir = QFileDialog::getExistingDirectory(m_parent, request.caption, start);
        if (!dir.isEmpty())
            m_lastDir = dir;
        return dir;
    }
    QFileDialog dialog(m_parent, request.caption, startDir);
    dialog.setAcceptMode(request.kind == SAVE_FILE ? QFileDialog::AcceptSave
                                                   : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == SAVE_FILE ? QFileDialog::AnyFile
                                                 : QFileDialog::ExistingFile);
    if (!request.filter.isEmpty())
        dialog.setNameFilters(NameFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (request.kind == SAVE_FILE && !request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().first();
    m_lastDir = QFileInfo(chosen).absolutePath();
    return chosen;
}
