// Driving the assistant dialogs as a user does: finding controls by their
// accessible names, acting in a modal dialog, and answering message boxes.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <functional>

// The child of root of type T whose accessible name is name; fails the test
// (returning null) when there is none.
template <class T = QWidget>
T* Control(QWidget* root, const QString& name) {
    for (T* child : root->findChildren<T*>())
        if (child->accessibleName() == name)
            return child;
    qWarning() << "no control named" << name << "in" << root->windowTitle();
    return nullptr;
}

inline void Click(QWidget* root, const QString& name) {
    auto* button = Control<QAbstractButton>(root, name);
    QVERIFY(button);
    QVERIFY2(button->isEnabled(), qPrintable(name + " is disabled"));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the entry text of list with modifiers (Ctrl, Shift) held.
inline void ClickEntry(QListWidget* list, const QString& text,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(items.front()).center());
}

// Runs script on the next modal dialog that opens, once the event loop runs
// (call it before the action that opens the dialog).
inline void OnNextModal(std::function<void(QWidget*)> script) {
    QTimer::singleShot(0, qApp, [script = std::move(script)] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        script(modal);
    });
}

// Answers the next message box with OK and keeps its text in text.
inline void AnswerNextMessage(QString& text) {
    OnNextModal([&text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY2(box, "no message box");
        text = box->text();
        box->accept();
    });
}
