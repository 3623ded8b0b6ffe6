// CFormCanvas: the scrolled content of the editing view. It paints the
// background pattern, the template bar's box and the rows' labels; the rows'
// widgets and the template bar's text (a label, which screen readers read)
// are its children.
//
// Its colours come from one palette, the widget's (the desktop's): the
// pattern is laid over the window colour and the labels are in the window's
// text colour, so that a dark desktop theme gets a dark canvas with light
// labels rather than light labels on a light pattern.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

class CFormCanvas : public QWidget {
    Q_OBJECT

public:
    // What is painted, in the canvas's (scaled) coordinates.
    struct Painting {
        bool templateBar = false;
        QRect barBox;
        // Top-left corners of the labels and their texts.
        std::vector<std::pair<QPoint, QString>> labels;
        // The groups' headings ("Search", "Social"), in bold.
        std::vector<std::pair<QPoint, QString>> headings;
        int frameWidth = 1;
    };

    // The colours the canvas paints with under a palette.
    struct Colors {
        QColor background; // behind the pattern's threads
        QColor text;       // the labels and the template bar's text
        QColor barFill;    // the template bar's box
    };
    static Colors ColorsFor(const QPalette& palette);

    explicit CFormCanvas(QWidget* parent = nullptr);
    void SetPainting(Painting painting);
    const Painting& GetPainting() const { return m_painting; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The pattern laid over background (kept until the colour changes).
    const QPixmap& Pattern(const QColor& background);

    Painting m_painting;
    QImage m_pattern; // as drawn, over its own light ground
    QRgb m_patternGround = 0;
    QPixmap m_tinted;
    QColor m_tintedFor;
};
