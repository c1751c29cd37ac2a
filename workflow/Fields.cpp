#include "Fields.h"

#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QStyle>

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

// The font size of bound fields: one pixel smaller than the labels, so that
// the longest values the formats produce ("1244.6000" in mm, "83.486%") fit.
constexpr int kFieldFontPixels = 11;
constexpr int kSmallestFontPixels = 8;

// A pattern for what may be typed, and how many characters; optionally a
// test that the typed value can be shown whole.
class TypedNumberValidator : public QRegularExpressionValidator {
public:
    TypedNumberValidator(const QString& pattern, int maxLength, QObject* parent)
        : QRegularExpressionValidator(QRegularExpression(pattern), parent), max_(maxLength) {}
    State validate(QString& input, int& pos) const override {
        if (max_ > 0 && input.size() > max_)
            return Invalid;
        const State state = QRegularExpressionValidator::validate(input, pos);
        if (state != Invalid && fits_ && !input.isEmpty() && !fits_(input))
            return Invalid;
        return state;
    }
    void SetFits(std::function<bool(const QString&)> fits) { fits_ = std::move(fits); }

private:
    int max_;
    std::function<bool(const QString&)> fits_;
};

// Pixels a field has for its text: its width without frame and the line
// edit's own margins.
int TextRoom(const QLineEdit* e) {
    const int frame = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e);
    const QMargins m = e->textMargins();
    return e->width() - 2 * frame - 4 - m.left() - m.right();
}

bool Fits(const QLineEdit* e, const QString& text, int pixels) {
    QFont f = e->font();
    f.setPixelSize(pixels);
    return QFontMetrics(f).horizontalAdvance(text) <= TextRoom(e);
}

void FitFont(QLineEdit* e) {
    int pixels = kFieldFontPixels;
    while (pixels > kSmallestFontPixels && !Fits(e, e->text(), pixels))
        --pixels;
    if (e->font().pixelSize() != pixels) {
        QFont f = e->font();
        f.setPixelSize(pixels);
        e->setFont(f);
    }
}

} // namespace

void RefuseUnshownValues(QLineEdit* e, std::function<QString(double)> shown) {
    auto* v = dynamic_cast<TypedNumberValidator*>(const_cast<QValidator*>(e->validator()));
    if (!v)
        return;
    v->SetFits([e, shown = std::move(shown)](const QString& typed) {
        bool ok = false;
        const double value = QLocale::c().toDouble(typed, &ok);
        return !ok || Fits(e, shown(value), kSmallestFontPixels);
    });
}

void KeepValueWhole(QLineEdit* e) {
    QObject::connect(e, &QLineEdit::textChanged, e, [e] { FitFont(e); });
}

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
    QFont font = e->font();
    font.setPixelSize(kFieldFontPixels);
    e->setFont(font);
    KeepValueWhole(e);
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
