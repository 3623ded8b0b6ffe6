// CLengthMeter: the live length of a title or description, as the figures
// ("45 characters, 702 px, too wide") and a bar that fills up to the limit,
// green while the text fits and red once search results would cut it.
// CWidthMeter decides every figure; the widget only paints them.
#pragma once

#include <QWidget>

#include "snippet/snippet_meter.h"

class CLengthMeter : public QWidget {
    Q_OBJECT

public:
    explicit CLengthMeter(QWidget* parent = nullptr);
    void SetMeter(const CWidthMeter& meter);
    // Without the search font: the characters only, and why there are no
    // pixels.
    void SetUnmeasured(const CWidthMeter& meter, const QString& reason);
    const CWidthMeter& GetMeter() const { return m_meter; }
    // The figures as shown and announced.
    QString Text() const { return m_strText; }
    // The bar's colour for a verdict.
    static QColor BarColor(WidthVerdict verdict);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CWidthMeter m_meter;
    QString m_strText = m_meter.Text();
};
