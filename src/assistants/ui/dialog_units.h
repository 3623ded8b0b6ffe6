// Dialog units: the sizes of the dialog layouts, converted for a widget's font
// so that the dialogs keep their proportions whatever the font.
#pragma once

#include <QSize>

class QWidget;

class CDialogUnits {
public:
    // The base units of widget's font: the average width of the Latin letters
    // and the line height.
    explicit CDialogUnits(const QWidget* widget);

    // A horizontal size: a quarter of the average character width per unit.
    int X(int units) const;
    // A vertical size: an eighth of the line height per unit.
    int Y(int units) const;
    QSize Size(int width, int height) const { return {X(width), Y(height)}; }

    // Gives widget at least width x height units.
    void SetMinimum(QWidget* widget, int width, int height) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};
