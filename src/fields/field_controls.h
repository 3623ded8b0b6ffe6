// IFieldControls: the seam between a field record and the widgets of its row.
//
// The editing view creates a row's widgets and attaches an implementation of
// this interface to the field, which then owns it (destroying it destroys the
// widgets). A field without controls keeps its value and action itself.
#pragma once

#include <string>

class IFieldControls {
public:
    virtual ~IFieldControls() = default;
    // The text of the edit box, or of the drop-down's edit field.
    virtual std::string GetValue() const = 0;
    // Puts text into the edit box or drop-down; must raise the same change
    // notification as typing does.
    virtual void SetValue(const std::string& text) = 0;
    // The template action list: the selected entry's code (-1 for none), and
    // selecting the first entry with a code (none when no entry has it).
    virtual int GetAction() const = 0;
    virtual void SetAction(int code) = 0;

    // The clipboard and undo of the value box. Rows whose box takes no part
    // (a drop-down) may keep these defaults.
    virtual int HasSelection() const { return 0; }
    virtual int CanUndo() const { return 0; }
    virtual void Cut() {}
    virtual void Copy() {}
    virtual void Paste() {}
    virtual void Undo() {}
};
