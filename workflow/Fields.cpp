#include "Fields.h"

#include <QFont>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace vorn {

void SetLook(QWidget* w, Look look) {
    QPalette pal = w->palette();
    switch (look) {
    case Look::Plain:
        return;
    case Look::Cyan:
        pal.setColor(QPalette::Base, QColor(0x00, 0xff, 0xff));
        break;
    case Look::Info:
        pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
        break;
    case Look::Face:
        pal.setColor(QPalette::Base, pal.color(QPalette::Midlight));
        break;
    }
    w->setPalette(pal);
}

namespace {

// A pattern for what may be typed, and how many characters.
class TypedNumberValidator : public QRegularExpressionValidator {
public:
    TypedNumberValidator(const QString& pattern, int maxLength, QObject* parent)
        : QRegularExpressionValidator(QRegularExpression(pattern), parent), max_(maxLength) {}
    State validate(QString& input, int& pos) const override {
        if (max_ > 0 && input.size() > max_)
            return Invalid;
        return QRegularExpressionValidator::validate(input, pos);
    }

private:
    int max_;
};

} // namespace

QValidator* NumberValidator(QObject* parent, int maxLength) {
    return new TypedNumberValidator(QStringLiteral("\\d*\\.?\\d*"), maxLength, parent);
}

QValidator* IntegerValidator(QObject* parent, int maxLength) {
    return new TypedNumberValidator(QStringLiteral("\\d{0,9}"), maxLength, parent);
}

QLineEdit* BoundField(QWidget* parent, const char* name, const char* table, const char* column,
                      Look look, Input input, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setProperty("vornTable", QString::fromLatin1(table));
    e->setProperty("vornColumn", QString::fromLatin1(column));
    e->setFixedSize(kFieldWidth, kRowHeight);
    // One pixel smaller than the labels, so that the longest values the
    // formats produce ("1244.6000" in mm, "83.486%") fit the narrow fields.
    QFont font = e->font();
    font.setPixelSize(11);
    e->setFont(font);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The limit is on typing; QLineEdit's own maximum would cut shown values.
    switch (input) {
    case Input::Number:
        e->setValidator(NumberValidator(e, maxLength));
        break;
    case Input::Integer:
        e->setValidator(IntegerValidator(e, maxLength));
        break;
    case Input::Shown:
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        break;
    }
    SetLook(e, look);
    return e;
}

void ChainTabOrder(QWidget* window, const char* const* names, int count) {
    QWidget* previous = nullptr;
    for (int i = 0; i < count; ++i) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(names[i]));
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

} // namespace vorn
