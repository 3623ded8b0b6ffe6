// CTesselView: the form in which the meta-data of the open page (or of the
// template while it is edited) is read and edited.
//
// A scroll area over a canvas that holds one row per shown field (label,
// value box, assistant button, template action list) and, while a template
// is open, the template bar. The rules live in CFieldForm; the view creates
// the widgets, places them, and forwards what the user does. It follows the
// document's initialUpdate and updateAllViews signals by itself, and tells
// the user things through the document's prompt.
//
// The document, profile and settings must outlive the view. Settings are read
// when the view is made and written by SaveSettings (the window calls it when
// it closes and after the options).
#pragma once

#include <QScrollArea>
#include <QString>
#include <memory>
#include <vector>

#include "form/field_form.h"

struct CAppSettings;
class CDiskChangeBar;
class CFieldRow;
class CFormCanvas;
class CTesselDoc;
class IFieldAssistants;
class IProfile;
class CLengthMeter;
class IFilePicker;
class ITextMeasurer;
class QLabel;
class QPushButton;

class CTesselView : public QScrollArea {
    Q_OBJECT

public:
    // Builds the catalogue and reads the settings (field display modes, user
    // fields, file types) from profile into its field list and settings.
    CTesselView(CTesselDoc& doc, IProfile& profile, CAppSettings& settings,
                QWidget* parent = nullptr);
    ~CTesselView() override;

    // Null: assistant buttons show "Clicked button ID %u, no action setup!".
    void SetAssistants(IFieldAssistants* assistants) { m_assistants = assistants; }
    // Asks for the picture of og:image and twitter:image ("Choose..."); null
    // leaves those buttons without effect.
    void SetImagePicker(IFilePicker* picker) { m_imagePicker = picker; }
    // Measures the title and description for their meters; null (no search
    // font) shows the characters only.
    void SetMeasurer(const ITextMeasurer* measurer);
    // The meter beside the title (0) or description (1) box.
    CLengthMeter* Meter(int pos) const;
    // For keyword suggestion (the window reads common_words.txt).
    void SetCommonWords(const QString& words) { m_strCommonWords = words; }
    // Writes the settings to the profile now.
    void SaveSettings();

    bool CanUndo() const { return m_form->CanUndo(); }
    bool CanCut() const { return m_form->CanCut(); }
    bool CanCopy() const { return m_form->CanCopy(); }
    bool CanPaste() const { return m_form->CanPaste(); }
    void Undo();
    void Cut();
    void Copy();
    void Paste();

    bool IsDisplayAll() const { return m_form->IsDisplayAll(); }
    void ToggleDisplayAll();

    // The options sheet through the assistants; afterwards RefreshFields and
    // SaveSettings.
    void ShowOptions();
    // After the field list or the all-fields switch changed: widgets for new
    // fields, visibility, layout.
    void RefreshFields();

    // The status text of the focused field ("" when idle).
    const QString& GetStatusText() const { return m_form->GetStatusText(); }
    CFieldForm& GetForm() { return *m_form; }
    // The widget of a control of the row at pos (FormControl), or of the
    // template bar (pos -1, CONTROL_APPLY or CONTROL_EDIT_TEMPLATE); null when
    // there is none.
    QWidget* ControlWidget(int pos, int control) const;
    // The template bar's text ("Template - " and the name), shown while a
    // template is open.
    QLabel* TemplateBarText() const { return m_barText; }
    // The bar over the rows that tells of a change made on disk.
    CDiskChangeBar* DiskChangeBar() const { return m_diskBar; }

signals:
    // Text for the status bar's message pane; "" means idle.
    void statusTextChanged(const QString& text);
    // Clipboard / display-all enable or check states may differ now.
    void commandStatesChanged();
    // A value shown in the form changed (typed, set, or loaded): the
    // previews follow it.
    void valuesChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateTemplateBar();
    // Makes room for the disk change bar over the rows while it shows.
    void PlaceDiskChangeBar();
    void OnInitialUpdate();
    void OnUpdate();
    // Widgets for the first fields that have none yet, or none for their
    // definition; the others get theirs in SyncRows.
    void CreateMissingRows();
    CFieldRow* CreateRow(int pos);
    // The row at pos has widgets, in their place.
    void EnsureRow(int pos);
    void LayoutFields();
    void PlaceRow(int pos);
    // Widgets and labels for the rows in and near the visible part.
    void SyncRows();
    void FocusCurrentField(bool toFirst);
    void EnsureFieldVisible(int pos);
    CFieldRow* RowAt(int pos) const;
    int PositionOf(const CFieldRow* row) const;
    // The row and control of a widget inside the view; false when none.
    bool Locate(const QWidget* widget, TabStop& stop) const;
    void OnValueChanged(const CFieldRow* row);
    void OnActionChanged(const CFieldRow* row);
    void OnAssistantButton(const CFieldRow* row);
    void ChooseImage(int pos);
    void UpdateMeters();
    void OnFocusChange(QWidget* widget, bool in, Qt::FocusReason reason);
    void AfterFocusChange(const QString& oldStatus);
    double Scale() const;

    CTesselDoc& m_doc;
    IProfile& m_profile;
    CAppSettings& m_settings;
    std::unique_ptr<CFieldForm> m_form;
    // The rows up to this position always have widgets.
    static constexpr int EAGER_ROWS = 64;
    // The last layout (96-dpi pixels) and each field's row in it (-1: hidden).
    CFormLayout m_layout;
    std::vector<int> m_rowOf;
    CFormCanvas* m_canvas = nullptr;
    QLabel* m_barText = nullptr;
    CDiskChangeBar* m_diskBar = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_editButton = nullptr;
    IFieldAssistants* m_assistants = nullptr;
    IFilePicker* m_imagePicker = nullptr;
    const ITextMeasurer* m_measurer = nullptr;
    CLengthMeter* m_meters[2] = {nullptr, nullptr};
    QString m_strCommonWords;
    bool m_bClosing = false;
};
