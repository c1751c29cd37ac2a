#pragma once
// Helpers of the tests that drive the real windows as a user does: program
// directories with the shipped files, a defaults file written by hand, the
// answers to message boxes, typing into fields, and a consistent plan.
// Header only: the tests that use it link the shell (VORN_SOURCE_DIR names
// the source tree).

#include "Cursor.h"
#include "DataModule.h"
#include "VornTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVariantList>
#include <functional>
#include <memory>

// A fresh program directory: database, shipped defaults and the help file.
inline std::unique_ptr<vorn::test::ProgramDir> NewProgramDir() {
    auto dir = std::make_unique<vorn::test::ProgramDir>();
    if (!dir->isValid())
        return nullptr;
    if (!QFile::copy(QStringLiteral(VORN_SOURCE_DIR "/shell/Vorn.html"),
                     dir->file(QStringLiteral("Vorn.html"))))
        return nullptr;
    return dir;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// 4 × 2 boards, twelve on an 18 × 12 panel, on a 48-inch sheet: a consistent
// plan, posted into the job row.
inline void PutValidPlan(vorn::TDataM1& data) {
    vorn::Cursor& job = data.TempInput;
    job.edit();
    job.setValue("Set_L", 4.0);
    job.setValue("Set_W", 2.0);
    job.setValue("Panel_L", 18.0);
    job.setValue("Panel_W", 12.0);
    job.setValue("Panel", 12);
    job.setValue("Panel_lv", 100.0 * 4 * 2 * 12 / (18 * 12));
    job.setValue("Base_L", 48.0);
    job.setValue("Layer", 4);
    job.post();
}

// Every column of the current row but the autonumber, which the first post
// assigns, to compare a row before and after.
inline QVariantList RowValues(const vorn::Cursor& cursor) {
    QVariantList values;
    for (int i = 0; i < cursor.fieldCount(); ++i) {
        if (cursor.field(i).name != QLatin1String("ID"))
            values << cursor.value(i);
    }
    return values;
}

namespace vorn::test {

// Runs `fn` once on the next modal window of type T, while it is shown.
template <class T> inline void InModal(std::function<void(T*)> fn) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fn] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        fn(w);
    });
    timer->start(10);
}

// Picks a row of a grid as a user does: a click on a cell, then a double click.
inline void DoubleClickRow(QTableView* grid, int row, int column = 0) {
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    const QPoint at = grid->visualRect(index).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// The defaults file of a program directory, and one written by hand.
inline QString DefaultsPath(const ProgramDir& dir) {
    return dir.file(QStringLiteral("VornInitS.int"));
}

inline void WriteDefaults(const ProgramDir& dir, const QByteArray& text) {
    ::WriteFile(DefaultsPath(dir), text);
}

// What a message box showed before the test answered it.
struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton byDefault = QMessageBox::NoButton; // what Enter answers
    int count = 0;
};

// Runs `answer` on the next message box that comes up, once.
inline void OnNextBox(std::function<void(QMessageBox*)> answer) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->deleteLater();
        answer(box);
    });
    timer->start();
}

// Answers the next message box with `button` and records what it showed;
// `before` runs first while the box is up (for example to release a key).
inline void AnswerBoxes(SeenBox* seen, QMessageBox::StandardButton button,
                        std::function<void()> before = {}) {
    OnNextBox([=](QMessageBox* box) {
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->byDefault = box->standardButton(box->defaultButton());
        ++seen->count;
        if (before)
            before();
        box->button(button)->click();
    });
}

// Answers the next message box with OK and records its text (and, given a
// name, its picture).
inline void AnswerNextBox(QString* text, const QString& shot = {}) {
    OnNextBox([=](QMessageBox* box) {
        *text = box->text();
        if (!shot.isEmpty())
            Shot(box, shot);
        box->button(QMessageBox::Ok)->click();
    });
}

// Typed into a field as a user does: select all, type (an empty text
// deletes), Return.
inline void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}

} // namespace vorn::test
