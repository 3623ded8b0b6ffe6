// CMemoryDC: paints a rectangle off-screen and copies it to its target in
// one operation when it goes out of scope, so that what is being painted is
// never seen half done (menus and toolbars do not flicker).
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

class CMemoryDC {
public:
    // rect is in the target painter's coordinates; so is the painter given
    // by Painter(). The pixmap starts transparent.
    CMemoryDC(QPainter* target, const QRect& rect);
    ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    QPainter& Painter() { return m_painter; }

private:
    QPainter* m_pTarget;
    QRect m_rect;
    QPixmap m_pixmap;
    QPainter m_painter;
};
