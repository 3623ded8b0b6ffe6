// Menu texts: the label and accelerator parts, and the mnemonic keys.
//
// An item's text is its label, then optionally a tab and the accelerator
// text ("&Open...\tCtrl+O"). In the label "&x" makes x the item's mnemonic
// (underlined; typing it picks the item) and "&&" stands for one "&".
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

struct CMenuText {
    QString strLabel;
    QString strAccel;
};

// The text before the first tab and the text after it.
CMenuText SplitMenuText(const QString& text);

// Whether ch, in either case, is a mnemonic of the label.
bool IsMnemonic(const QString& label, QChar ch);

// The position of the first label that has ch as a mnemonic, -1 when none.
int MenuCharToItem(const QStringList& labels, QChar ch);
