// A stand-in for the editing view while the form is not built in: the same
// interface, an empty area and no commands.
#pragma once

#include <QScrollArea>

class CTesselDoc;
class IProfile;
class IFieldAssistants;
struct CAppSettings;

class CTesselView : public QScrollArea {
    Q_OBJECT

public:
    CTesselView(CTesselDoc& doc, IProfile& profile, CAppSettings& settings,
                QWidget* parent = nullptr);

    void SetAssistants(IFieldAssistants*) {}
    void SetCommonWords(const QString&) {}
    void SaveSettings() {}
    bool CanUndo() const { return false; }
    bool CanCut() const { return false; }
    bool CanCopy() const { return false; }
    bool CanPaste() const { return false; }
    void Undo() {}
    void Cut() {}
    void Copy() {}
    void Paste() {}
    bool IsDisplayAll() const { return m_bDisplayAll; }
    void ToggleDisplayAll();
    void ShowOptions() {}
    void RefreshFields() {}

signals:
    void statusTextChanged(const QString& text);
    void commandStatesChanged();

private:
    bool m_bDisplayAll = false;
};
