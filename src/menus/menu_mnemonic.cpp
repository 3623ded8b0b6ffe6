#include "menus/menu_mnemonic.h"

CMenuText SplitMenuText(const QString& text) {
    const qsizetype tab = text.indexOf(u'\t');
    if (tab < 0)
        return {text, QString()};
    return {text.left(tab), text.mid(tab + 1)};
}

bool IsMnemonic(const QString& label, QChar ch) {
    const QChar wanted = ch.toUpper();
    // Read from the left so that each "&&" pair is taken as a literal "&"
    // before the character after it is looked at: in "A&&B" B is no
    // mnemonic, in "&&&B" it is.
    for (qsizetype i = 0; i + 1 < label.size(); ++i) {
        if (label.at(i) != u'&')
            continue;
        ++i;
        if (label.at(i) != u'&' && label.at(i).toUpper() == wanted)
            return true;
    }
    return false;
}

int MenuCharToItem(const QStringList& labels, QChar ch) {
    for (qsizetype pos = 0; pos < labels.size(); ++pos) {
        if (IsMnemonic(labels.at(pos), ch))
            return static_cast<int>(pos);
    }
    return -1;
}
