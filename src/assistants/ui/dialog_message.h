// Helpers shared by the assistant dialogs: their messages, and naming
// controls for tests and screen readers.
#pragma once

#include <QString>
#include <initializer_list>
#include <string_view>

class QAbstractButton;
class QDialog;
class QPushButton;
class QWidget;

// Shows a dialog's validation message (an OK box over parent); the dialog
// stays open.
void ShowDialogMessage(QWidget* parent, std::string_view message);

// Gives widget its control id as object name and its accessible name.
void NameControl(QWidget* widget, int id, const QString& accessibleName);

// The OK and Cancel buttons of a dialog (ids 1 and 2): OK is the default
// button; they accept and reject dialog.
QPushButton* MakeOkButton(QDialog* dialog);
QPushButton* MakeCancelButton(QDialog* dialog);

// Chains the focus order of widgets as listed.
void SetTabOrder(std::initializer_list<QWidget*> widgets);
