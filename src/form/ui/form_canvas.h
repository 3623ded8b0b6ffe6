// CFormCanvas: the scrolled content of the editing view. It paints the
// background pattern, the template bar's box and the rows' labels; the rows'
// widgets and the template bar's text (a label, which screen readers read)
// are its children.
#pragma once

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
        int frameWidth = 1;
    };

    explicit CFormCanvas(QWidget* parent = nullptr);
    void SetPainting(Painting painting);
    const Painting& GetPainting() const { return m_painting; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painting m_painting;
    QPixmap m_background;
};
