#pragma once
// Helpers of the tests that drive the main window as a user does.

#include "VornTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vorn::test {

// What a message box showed before the test answered it.
struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int count = 0;
};

// Answers the next message box with `button`; `before` runs first while the
// box is up (for example to release a key).
inline void AnswerBoxes(SeenBox* seen, QMessageBox::StandardButton button,
                        std::function<void()> before = {}) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        ++seen->count;
        if (before)
            before();
        timer->deleteLater();
        box->button(button)->click();
    });
    timer->start();
}

// Typed into a field as a user does: select all, type, Return.
inline void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}

} // namespace vorn::test
