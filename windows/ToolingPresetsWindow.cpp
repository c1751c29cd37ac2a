#include "ToolingPresetsWindow.h"

#include "DataModule.h"
#include "NumberedGrid.h"
#include "NumberedList.h"
#include "PanelJob.h"
#include "UnitWalk.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace vorn {

namespace {

constexpr int kReferenceColumn = 1;

const char* const kReferences[] = {"Top_Edge",  "Top_Center",  "Bottom_Edge", "Bottom_Center",
                                   "Left_Edge", "Left_Center", "Right_Edge",  "Right_Center"};

// The reference column is chosen from a list lying over the focused cell:
// 2 pixels right of and 1 below its corner, 2 wider and 2 less tall.
class ReferenceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != kReferenceColumn)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        list->setObjectName(QStringLiteral("ComboBox1"));
        list->setEditable(true); // typed keys go to the list
        for (const char* r : kReferences)
            list->addItem(QString::fromLatin1(r));
        return list;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            list->setCurrentText(index.data(Qt::EditRole).toString());
            if (list->lineEdit())
                list->lineEdit()->selectAll(); // a typed reference replaces the shown one
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            if (list->currentText() != index.data(Qt::EditRole).toString())
                model->setData(index, list->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override {
        if (index.column() != kReferenceColumn) {
            QStyledItemDelegate::updateEditorGeometry(editor, option, index);
            return;
        }
        const QRect cell = option.rect;
        editor->setGeometry(cell.x() + 2, cell.y() + 1, cell.width() + 2, cell.height() - 2);
    }
};

// Lv / Wv brought to 1.5 by widening the shorter side.
void Shape(double& Lv, double& Wv) {
    if (Lv / Wv > 1.5)
        Wv = Lv / 1.5;
    if (Lv / Wv < 1.5)
        Lv = Wv * 1.5;
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

} // namespace

PreviewOutline ToolingPreviewOutline(const std::vector<ToolingPreset>& shown, bool mm) {
    const double unit = mm ? kMillimetresPerInch : 1.0;
    double Lv = 6, Wv = 4;
    for (const ToolingPreset& p : shown) {
        const double E = std::fabs(p.EdgeSize / unit), O = std::fabs(p.OtherSize / unit);
        if (StartsWith(p.Level_Edge, "Top") || StartsWith(p.Level_Edge, "Bottom")) {
            Lv = std::max(Lv, 6 * O);
            Wv = std::max(Wv, 6 * E);
        } else {
            Wv = std::max(Wv, 6 * O);
            Lv = std::max(Lv, 6 * E);
        }
    }
    Shape(Lv, Wv);
    if (Lv > 18) {
        Lv = 18;
        Wv = 12;
    }
    // Every hole inside.
    for (const ToolingPreset& p : shown) {
        const double E = std::fabs(p.EdgeSize / unit), O = std::fabs(p.OtherSize / unit);
        const std::string& r = p.Level_Edge;
        if (r == "Top_Edge" || r == "Bottom_Edge") {
            Lv = std::max(Lv, O + 1);
            Wv = std::max(Wv, E + 1);
        } else if (r == "Top_Center" || r == "Bottom_Center") {
            Lv = std::max(Lv, 2 * O + 2);
            Wv = std::max(Wv, 2 * E + 2);
        } else if (r == "Left_Edge" || r == "Right_Edge") {
            Wv = std::max(Wv, O + 1);
            Lv = std::max(Lv, E + 1);
        } else if (r == "Left_Center" || r == "Right_Center") {
            Wv = std::max(Wv, 2 * O + 2);
            Lv = std::max(Lv, 2 * E + 2);
        }
    }
    Shape(Lv, Wv);
    return {Lv * unit, Wv * unit};
}

void DrawToolingPreview(QImage& image, const std::vector<ToolingPreset>& shown,
                        const std::vector<int>& numbers, bool mm) {
    image.fill(Qt::white);
    const int w = image.width(), h = image.height();
    if (w <= 10 || h <= 10)
        return;
    const PreviewOutline o = ToolingPreviewOutline(shown, mm);
    const double S =
        double(w - 5) / double(h - 5) > 1.5 ? double(h - 10) / o.Wv : double(w - 10) / o.Lv;
    const double ox = (w - o.Lv * S) / 2, oy = (h - o.Wv * S) / 2;
    auto px = [&](double x) { return int(std::lround(x * S + ox)); };
    auto py = [&](double y) { return int(std::lround(y * S + oy)); };
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(px(0), py(0)), QPoint(px(o.Lv), py(o.Wv))));
    const QFontMetrics fm(p.font());
    for (size_t i = 0; i < shown.size(); ++i) {
        const ToolingPreset& t = shown[i];
        const auto c = PlaceHole(t.Level_Edge, o.Lv, o.Wv, t.EdgeSize, t.OtherSize);
        if (!c)
            continue; // a preset without reference has no place
        const double r = t.Diameter / 2;
        p.drawEllipse(QRect(QPoint(px(c->X - r) - 1, py(c->Y - r) - 1),
                            QPoint(px(c->X + r) + 1, py(c->Y + r) + 1)));
        // The number at the upper right: left edge at X + d/2, bottom at Y - d/2.
        p.drawText(QPoint(px(c->X + r), py(c->Y - r) - fm.descent()),
                   QString::number(i < numbers.size() ? numbers[i] : int(i + 1)));
    }
}

// ---- the window ----

TForm8::TForm8(TDataM1& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QCoreApplication::translate("TForm8", "Tooling 设定"));
    resize(436, 538);
    if (parent) {
        const QRect p = parent->frameGeometry();
        move(p.center() - QPoint(436 / 2, 538 / 2));
    }

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* bar = new QWidget(this);
    auto* b = new QHBoxLayout(bar);
    b->setContentsMargins(2, 2, 2, 2);
    b->setSpacing(1);
    type_ = Button("TypeButton", QStringLiteral("Panel"), &TForm8::TypeClick);
    b->addWidget(type_);
    b->addWidget(
        Button("SaveButton", QCoreApplication::translate("TForm8", "保存"), &TForm8::SaveClick));
    b->addWidget(Button("InsertAboveButton", QCoreApplication::translate("TForm8", "上插记录"),
                        &TForm8::InsertAboveClick));
    QToolButton* below =
        Button("InsertBelowButton", QCoreApplication::translate("TForm8", "下插记录"),
               &TForm8::InsertBelowClick);
    below->hide(); // present but hidden
    b->addWidget(below);
    b->addWidget(Button("DeleteButton", QCoreApplication::translate("TForm8", "删除"),
                        &TForm8::DeleteClick));
    b->addWidget(
        Button("UpButton", QCoreApplication::translate("TForm8", "上移"), &TForm8::MoveUpClick));
    b->addWidget(Button("DownButton", QCoreApplication::translate("TForm8", "下移"),
                        &TForm8::MoveDownClick));
    unit_ = Button("UnitButton", QStringLiteral("Inch"), &TForm8::UnitClick);
    unit_->setToolTip(QCoreApplication::translate("TForm8", "单位转换"));
    b->addWidget(unit_);
    b->addStretch(1);
    v->addWidget(bar);

    splitter_ = new QSplitter(Qt::Vertical, this);
    grid_ = new QTableView(splitter_);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setItemDelegate(new ReferenceDelegate(grid_));
    grid_->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    auto* lower = new QWidget(splitter_);
    auto* lv = new QVBoxLayout(lower);
    lv->setContentsMargins(0, 0, 0, 0);
    lv->setSpacing(0);
    auto* caption = new QLabel(QCoreApplication::translate("TForm8", "  示意图"), lower);
    caption->setObjectName(QStringLiteral("Panel2"));
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Mid);
    caption->setFixedHeight(20);
    lv->addWidget(caption);
    image_ = new QLabel(lower);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setMinimumSize(40, 40);
    image_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    lv->addWidget(image_, 1);
    image_->installEventFilter(this);
    splitter_->addWidget(grid_);
    splitter_->addWidget(lower);
    splitter_->setSizes({220, 290});
    v->addWidget(splitter_, 1);

    // Open with the panel presets, in inches.
    Cursor& t = dm_.SetTooling;
    t.close();
    t.setFilter(QStringLiteral("Type='Panel'"));
    t.setFiltered(true);
    t.setSort(QStringLiteral("SerialNumber"));
    dm_.setToolingPresetType(QStringLiteral("Panel"));
    dm_.setInsertMode(TDataM1::Numbered::SetTooling, QString());
    t.open();
    model_ = new NumberedGridModel(grid_);
    model_->setCursor(&t);
    model_->setColumns({QStringLiteral("SerialNumber"), QStringLiteral("Level_Edge"),
                        QStringLiteral("EdgeSize"), QStringLiteral("OtherSize"),
                        QStringLiteral("Diameter")});
    model_->setEditable(true);
    grid_->setModel(model_);
    model_->followSelection(grid_->selectionModel());
    model_->appendOnDownAtEnd(grid_);
    grid_->setColumnWidth(0, 40);
    grid_->setColumnWidth(1, 110);
    for (int c = 2; c <= 4; ++c)
        grid_->setColumnWidth(c, 80);
    connect(model_, &CursorModel::error, this, [this](const QString& text) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), text);
    });
    connect(&dm_, &TDataM1::toolingPresetPosted, this, [this] { RedrawPreview(); });
    // A new preset is typed from its reference on.
    connect(&dm_, &TDataM1::numberedRowInserted, this, [this](Cursor* c) {
        if (c != &dm_.SetTooling || c->recNo() < 0)
            return;
        grid_->setCurrentIndex(model_->index(c->recNo(), kReferenceColumn));
    });
}

TForm8::~TForm8() {
    try {
        dm_.SetTooling.close(); // unsaved edits go with it
    } catch (...) {
    }
}

QToolButton* TForm8::Button(const char* name, const QString& text, void (TForm8::*command)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(text);
    connect(button, &QToolButton::clicked, this, [this, command] { Run(command); });
    return button;
}

void TForm8::Run(void (TForm8::*command)()) {
    try {
        (this->*command)();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
    }
}

bool TForm8::ShowsMm() const {
    return unit_->text() == QLatin1String("mm");
}

void TForm8::HideDropDown() {
    // Closing the open editor of the reference column writes what it shows.
    const QModelIndex at = grid_->currentIndex();
    if (at.isValid() && at.column() == kReferenceColumn)
        grid_->setCurrentIndex(model_->index(at.row(), kReferenceColumn - 1));
}

bool TForm8::eventFilter(QObject* watched, QEvent* event) {
    if (watched == image_ && event->type() == QEvent::Resize)
        RedrawPreview();
    return QDialog::eventFilter(watched, event);
}

void TForm8::RedrawPreview() {
    if (!image_)
        return;
    const Cursor& t = dm_.SetTooling;
    std::vector<ToolingPreset> shown;
    std::vector<int> numbers;
    if (t.isOpen()) {
        const int n = t.fieldIndex(QStringLiteral("SerialNumber"));
        const int r = t.fieldIndex(QStringLiteral("Level_Edge"));
        const int e = t.fieldIndex(QStringLiteral("EdgeSize"));
        const int o = t.fieldIndex(QStringLiteral("OtherSize"));
        const int d = t.fieldIndex(QStringLiteral("Diameter"));
        for (int row = 0; row < t.recordCount(); ++row) {
            shown.push_back({t.valueAt(row, r).toString().toStdString(),
                             t.valueAt(row, e).toDouble(), t.valueAt(row, o).toDouble(),
                             t.valueAt(row, d).toDouble()});
            numbers.push_back(t.valueAt(row, n).toInt());
        }
    }
    QImage picture(image_->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    DrawToolingPreview(picture, shown, numbers, ShowsMm());
    image_->setPixmap(QPixmap::fromImage(picture));
}

void TForm8::TypeClick() {
    HideDropDown();
    Cursor& t = dm_.SetTooling;
    const bool toArray = type_->text() == QLatin1String("Panel");
    if (!toArray && type_->text() != QLatin1String("Array"))
        return;
    type_->setText(toArray ? QStringLiteral("Array") : QStringLiteral("Panel"));
    dm_.setToolingPresetType(type_->text());
    model_->detach();
    try {
        t.setFilter(QStringLiteral("Type='%1'").arg(type_->text()));
    } catch (...) {
        model_->attach();
        throw;
    }
    RedrawPreview();
    model_->attach();
}

void TForm8::ScaleAllRows(bool toMm) {
    const QStringList lengths{QStringLiteral("EdgeSize"), QStringLiteral("OtherSize"),
                              QStringLiteral("Diameter")};
    ScaleEveryRow(dm_.SetTooling, lengths, {kMillimetresPerInch, !toMm}, &memory_);
}

void TForm8::ReturnTo(int serialNumber, int column) {
    Cursor& t = dm_.SetTooling;
    if (serialNumber > 0)
        t.locate(QStringLiteral("SerialNumber"), {serialNumber});
    if (t.recNo() >= 0 && column >= 0)
        grid_->setCurrentIndex(model_->index(t.recNo(), column));
}

void TForm8::UnitClick() {
    Cursor& t = dm_.SetTooling;
    if (!t.isOpen())
        return;
    if (t.state() != Cursor::State::Browse)
        t.post();
    const int number = t.isEmpty() ? 0 : t.asInt(QStringLiteral("SerialNumber"));
    const int column = grid_->currentIndex().column();
    model_->detach();
    try {
        // All types together: the unit is the window's, not the shown type's.
        const QString filter = t.filter();
        t.setFilter(QString());
        const bool rows = !t.isEmpty();
        t.setFilter(filter);
        if (rows) {
            const bool toMm = !ShowsMm();
            ScaleAllRows(toMm);
            unit_->setText(toMm ? QStringLiteral("mm") : QStringLiteral("Inch"));
        }
        RedrawPreview();
        ReturnTo(number, -1);
    } catch (...) {
        model_->attach();
        throw;
    }
    model_->attach();
    ReturnTo(0, column);
}

void TForm8::SaveClick() {
    HideDropDown();
    Cursor& t = dm_.SetTooling;
    if (!t.isOpen())
        return;
    if (t.state() != Cursor::State::Browse)
        t.post();
    if (!ShowsMm()) {
        t.applyUpdates();
        return;
    }
    // The database always receives inches.
    const int number = t.isEmpty() ? 0 : t.asInt(QStringLiteral("SerialNumber"));
    const int column = grid_->currentIndex().column();
    model_->detach();
    try {
        ScaleAllRows(false);
        try {
            t.applyUpdates();
        } catch (...) {
            ScaleAllRows(true);
            throw;
        }
        ScaleAllRows(true);
        ReturnTo(number, -1);
    } catch (...) {
        model_->attach();
        throw;
    }
    model_->attach();
    ReturnTo(0, column);
}

namespace {
NumberedList Presets(TDataM1& dm) {
    return NumberedList(dm, TDataM1::Numbered::SetTooling, dm.SetTooling,
                        QStringLiteral("SerialNumber"));
}
} // namespace

void TForm8::InsertAboveClick() {
    HideDropDown();
    Presets(dm_).insertAbove();
    RedrawPreview();
}

void TForm8::InsertBelowClick() {
    HideDropDown();
    Presets(dm_).insertBelow();
    RedrawPreview();
}

void TForm8::DeleteClick() {
    HideDropDown();
    if (Presets(dm_).removeCurrent() > 0)
        RedrawPreview();
}

void TForm8::MoveUpClick() {
    HideDropDown();
    if (Presets(dm_).moveUp())
        RedrawPreview();
}

void TForm8::MoveDownClick() {
    HideDropDown();
    if (Presets(dm_).moveDown())
        RedrawPreview();
}

} // namespace vorn
