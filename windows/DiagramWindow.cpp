#include "DiagramWindow.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace vorn {

namespace {

constexpr int kBarHeight = 25;
const QColor kMaroon(0x80, 0, 0);

} // namespace

TForm4::TForm4(SavedPlanSource source, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QCoreApplication::translate("TForm4", "图形显示"));
    setMinimumSize(524, 395);
    resize(524, 395);
    if (parent)
        move(parent->geometry().center() - rect().center());

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setMinimumSize(1, 1);
    image1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    v->addWidget(image1_, 1);
    image1_->installEventFilter(this);

    auto* bar = new QWidget(this);
    bar_ = bar;
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFixedHeight(kBarHeight);
    v->addWidget(bar);
    group_ = new QFrame(bar);
    group_->setObjectName(QStringLiteral("GroupBox1"));
    group_->setFrameShape(QFrame::Panel);
    group_->setFrameShadow(QFrame::Sunken);
    group_->setGeometry(0, 0, 392, kBarHeight);
    const char* names[] = {"RadioButton1", "RadioButton3", "RadioButton2", "RadioButton4"};
    const char* captions[] = {
        QT_TRANSLATE_NOOP("TForm4", "拼板图"), QT_TRANSLATE_NOOP("TForm4", "Panel2 拼板图"),
        QT_TRANSLATE_NOOP("TForm4", "开料图"), QT_TRANSLATE_NOOP("TForm4", "成品拼板图")};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QCoreApplication::translate("TForm4", captions[i]), group_);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->adjustSize();
        b->move(8, (kBarHeight - b->height()) / 2);
        connect(b, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
        selectors_[i] = b;
    }
    selectors_[int(DiagramView::Panel2)]->move(112, selectors_[1]->y());
    panel4_ = new QLabel(bar);
    panel4_->setObjectName(QStringLiteral("Panel4"));
    QPalette pal = panel4_->palette();
    pal.setColor(QPalette::WindowText, kMaroon);
    panel4_->setPalette(pal);
    FormCreate();
}

void TForm4::FormCreate() {
    QRadioButton* first = Selector(DiagramView::Panel1);
    QRadioButton* second = Selector(DiagramView::Panel2);
    QRadioButton* cutting = Selector(DiagramView::Cutting);
    QRadioButton* array = Selector(DiagramView::Array);
    int groupWidth = 0, titleX = 0;
    if (source_.plan.number("Panel2") != 0) {
        first->setText(QCoreApplication::translate("TForm4", "Panel1拼板图"));
        second->show();
        cutting->move(232, cutting->y());
        groupWidth = 304;
        titleX = 312;
    } else {
        first->setText(QCoreApplication::translate("TForm4", "拼板图"));
        second->hide();
        cutting->move(88, cutting->y());
        groupWidth = 165;
        titleX = 173;
    }
    first->adjustSize();
    if (source_.plan.number("PanelCu") > 0) {
        array->move(cutting->x() + 73, array->y());
        array->show();
        // The group ends after the array selector and the title follows it.
        groupWidth = array->x() + 87;
        titleX = groupWidth + 8;
    } else {
        array->hide();
    }
    group_->setFixedWidth(groupWidth);
    titleX_ = titleX;
    panel4_->move(titleX, 0);
    first->setChecked(true);
}

DiagramView TForm4::SelectedView() const {
    for (DiagramView v :
         {DiagramView::Panel1, DiagramView::Panel2, DiagramView::Cutting, DiagramView::Array})
        if (Selector(v)->isChecked())
            return v;
    return DiagramView::Panel1;
}

QString TForm4::TitleText(DiagramView view) const {
    const QString u = source_.unit ? source_.unit() : QStringLiteral("Inch");
    auto t = [this](const char* f) { return source_.plan.text(f); };
    auto size = [&](const char* l, const char* w) {
        return t(l) + QStringLiteral("×") + t(w) + QStringLiteral(" (") + u + u')';
    };
    switch (view) {
    case DiagramView::Panel1:
        return QStringLiteral("Panel Size: ") + size("Panel_L", "Panel_W") +
               QStringLiteral(";  Pcb Size: ") + size("Set_L", "Set_W");
    case DiagramView::Array:
        return QStringLiteral("Array Size: ") + size("Set_L", "Set_W") +
               QStringLiteral(";  Part Size: ") + size("Part_L", "Part_W");
    case DiagramView::Panel2:
        return QStringLiteral("Panel Size: ") + size("Panel_L2", "Panel_W2") +
               QStringLiteral(";  Pcb Size: ") + size("Set_L", "Set_W");
    case DiagramView::Cutting:
        if (source_.plan.number("Panel2") > 0)
            return QStringLiteral("Material Size: ") + size("Base_L", "Base_W") +
                   QStringLiteral(";   Panel1 Size: ") + size("Panel_L", "Panel_W") +
                   QStringLiteral(";  Panel2 Size: ") + size("Panel_L2", "Panel_W2");
        return QStringLiteral("Material Size: ") + size("Base_L", "Base_W") +
               QStringLiteral(";   Panel Size: ") + size("Panel_L", "Panel_W");
    }
    return {};
}

void TForm4::RadioButton1Click() {
    if (!panel4_)
        return; // still being made
    const DiagramView view = SelectedView();
    FitTitle(TitleText(view));
    QImage image(image1_->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (view == DiagramView::Cutting && source_.plan.number("Panel2") > 0) {
        DrawTwoPanelCutting(TwoPanelCuttingArgsOf(source_.plan), image);
    } else {
        LayoutDrawing args = LayoutArgsOf(view, source_.plan);
        // The count each view's placements must make up.
        const char* count = view == DiagramView::Panel1   ? "Panel"
                            : view == DiagramView::Panel2 ? "Panel2"
                            : view == DiagramView::Array  ? "PanelCu"
                                                          : nullptr;
        if (count && source_.boards) {
            try {
                args.Boards = BoardsOfRow(source_.boards(view), args, source_.plan.number(count));
            } catch (const std::exception& e) {
                QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
            }
        }
        const double scale = DrawLayoutDiagram(args, image);
        // The cutting view carries no holes.
        const QString type = ToolingTypeOf(view);
        if (!type.isEmpty() && source_.holes) {
            try {
                DrawSavedToolingMarks(image, args.ContainerL, args.ContainerW, args.Kind, scale,
                                      source_.holes(type));
            } catch (const std::exception& e) {
                QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
            }
        }
    }
    image1_->setPixmap(QPixmap::fromImage(image));
}

void TForm4::FitTitle(const QString& text) {
    // A clipped title ("…Pcb Size: 251.46×") reads as another size: beside
    // the selectors where it fits, else under them, one size a line, the bar
    // growing to hold it.
    int height = kBarHeight;
    if (QFontMetrics(panel4_->font()).horizontalAdvance(text) <= bar_->width() - titleX_ - 4) {
        panel4_->setText(text);
        panel4_->adjustSize();
        panel4_->move(titleX_, (kBarHeight - panel4_->height()) / 2);
    } else {
        QStringList lines = text.split(QLatin1Char(';'));
        for (QString& line : lines)
            line = line.trimmed();
        panel4_->setText(lines.join(QLatin1Char('\n')));
        panel4_->adjustSize();
        panel4_->move(8, kBarHeight);
        height = kBarHeight + panel4_->height() + 2;
    }
    if (bar_->height() != height) {
        bar_->setFixedHeight(height);
        layout()->activate(); // the picture shrinks now, not at the next event
    }
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    // The picture follows the image's size, whatever resized it.
    if (watched == image1_ && event->type() == QEvent::Resize)
        RadioButton1Click();
    return QDialog::eventFilter(watched, event);
}

} // namespace vorn
