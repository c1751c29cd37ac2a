#include "QueryWindow.h"

#include "Language.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "DbError.h"
#include "DiagramWindow.h"
#include "PartListExport.h"
#include "PartsArchive.h"
#include "RecentFolders.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorn {

namespace {

enum class Shade { Grid, InactiveCaptionText, White };

struct PartColumn {
    const char* field;
    const char* title; // empty: the column's display label
    int width;         // 0: the grid's default
    Shade shade;
};

const PartColumn kPartColumns[] = {
    {"Part_number", "", 63, Shade::Grid},
    {"Customer_Part", "", 80, Shade::Grid},
    {"Layer", "", 31, Shade::Grid},
    {"SetSize", "", 90, Shade::Grid},
    {"Set_C", "", 50, Shade::Grid},
    {"Panel1Size", "", 95, Shade::InactiveCaptionText},
    {"Panel1bian", QT_TRANSLATE_NOOP("TForm3", "边距(左右/上下)"), 90, Shade::InactiveCaptionText},
    {"Panel", QT_TRANSLATE_NOOP("TForm3", "拼板数"), 42, Shade::InactiveCaptionText},
    {"Panel_lv", "", 0, Shade::InactiveCaptionText},
    {"Panel2Size", "", 95, Shade::White},
    {"Panel2bian", QT_TRANSLATE_NOOP("TForm3", "边距(左右/上下)"), 90, Shade::White},
    {"Panel2", QT_TRANSLATE_NOOP("TForm3", "拼板数"), 42, Shade::White},
    {"Panel_lv2", QT_TRANSLATE_NOOP("TForm3", "拼板利用率"), 0, Shade::White},
    {"BaseSize", "", 82, Shade::Grid},
    {"Panel_N", "", 44, Shade::Grid},
    {"Base_lv", "", 0, Shade::Grid},
    {"Employee", "", 75, Shade::Grid},
    {"Date", "", 71, Shade::Grid},
    {"Time", "", 60, Shade::Grid},
};

// Search fields of the drop-down list and the columns they search.
const char* const kSearchFields[][2] = {{QT_TRANSLATE_NOOP("TForm3", "部件编号"), "Part_number"},
                                        {QT_TRANSLATE_NOOP("TForm3", "客户型号"), "Customer_Part"},
                                        {QT_TRANSLATE_NOOP("TForm3", "层数"), "Layer"},
                                        {QT_TRANSLATE_NOOP("TForm3", "操作员"), "Employee"},
                                        {QT_TRANSLATE_NOOP("TForm3", "保存日期"), "Date"}};

const char* const kToolingTypes[][2] = {
    {"Panel1Tooling", "Panel1"}, {"Panel2Tooling", "Panel2"}, {"ArrayTooling", "Array"}};

// The parts grid: each column in its colour.
class PartsModel : public CursorModel {
public:
    using CursorModel::CursorModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole && index.column() < int(std::size(kPartColumns))) {
            switch (kPartColumns[index.column()].shade) {
            case Shade::Grid:
                return QPalette().color(QPalette::ToolTipBase);
            case Shade::InactiveCaptionText:
                return QColor(0xD8, 0xE4, 0xF8);
            case Shade::White:
                return QColor(Qt::white);
            }
        }
        return CursorModel::data(index, role);
    }
};

QToolButton* Button(QToolBar* bar, const char* name, const QString& text, const QString& hint,
                    const QIcon& icon = {}) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(hint);
    if (!icon.isNull()) {
        b->setIcon(icon);
        b->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly
                                             : Qt::ToolButtonTextBesideIcon);
    }
    bar->addWidget(b);
    return b;
}

void Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Vorn"), text, QMessageBox::Ok);
}

void UserInfo(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::translate("TForm3", "用户信息"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace

TForm3::TForm3(TDataM1& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(PartListCaption());
    setMinimumSize(488, 200);
    resize(791, 539);
    if (parent)
        move(parent->geometry().center() - rect().center());

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* band = new QHBoxLayout;
    band->setSpacing(2);
    band->setContentsMargins(2, 2, 2, 2);
    auto* unitBar = new QToolBar(this);
    unitBar->setObjectName(QStringLiteral("ToolBar3"));
    speedButton1_ = Button(unitBar, "SpeedButton1", QStringLiteral("Inch"),
                           QCoreApplication::translate("TForm3", "单位"));
    speedButton1_->setMinimumWidth(44);
    auto* bar1 = new QToolBar(this);
    bar1->setObjectName(QStringLiteral("ToolBar1"));
    toolButton1_ = Button(bar1, "ToolButton1", QCoreApplication::translate("TForm3", "示意图显示"),
                          QCoreApplication::translate("TForm3", "示意图显示"),
                          style()->standardIcon(QStyle::SP_FileDialogContentsView));
    toolButton2_ = Button(bar1, "ToolButton2", QCoreApplication::translate("TForm3", "数据导出"),
                          QCoreApplication::translate("TForm3", "数据导出"),
                          style()->standardIcon(QStyle::SP_DialogSaveButton));
    toolButton3_ =
        Button(bar1, "ToolButton3", QString(), QCoreApplication::translate("TForm3", "查看Tooling"),
               style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    toolButton4_ = Button(bar1, "ToolButton4", QStringLiteral("Type"), QString());
    toolButton4_->setEnabled(false);
    auto* bar2 = new QToolBar(this);
    bar2->setObjectName(QStringLiteral("ToolBar2"));
    comboBox1_ = new QComboBox(bar2);
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    comboBox1_->addItem(QCoreApplication::translate("TForm3", "<查询项>"));
    for (const auto& f : kSearchFields)
        comboBox1_->addItem(QCoreApplication::translate("TForm3", f[0]));
    bar2->addWidget(comboBox1_);
    edit1_ = new QLineEdit(QCoreApplication::translate("TForm3", "<查找内容>"), bar2);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setFixedWidth(140);
    bar2->addWidget(edit1_);
    toolButton5_ =
        Button(bar2, "ToolButton5", QString(), QCoreApplication::translate("TForm3", "查找"),
               style()->standardIcon(QStyle::SP_ArrowRight));
    band->addWidget(unitBar);
    band->addWidget(bar1);
    band->addWidget(bar2);
    band->addStretch();
    v->addLayout(band);

    auto* body = new QHBoxLayout;
    body->setSpacing(2);
    dbGrid1_ = new QTableView(this);
    dbGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    dbGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    dbGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbGrid1_->verticalHeader()->setDefaultSectionSize(20);
    dbGrid1_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    dbGrid1_->horizontalHeader()->setSectionsClickable(true);
    QPalette pal = dbGrid1_->palette();
    pal.setColor(QPalette::Base, QPalette().color(QPalette::ToolTipBase));
    dbGrid1_->setPalette(pal);
    body->addWidget(dbGrid1_, 1);

    panel2_ = new QFrame(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel2_->setFixedWidth(215);
    panel2_->setFrameShape(QFrame::StyledPanel);
    auto* pv = new QVBoxLayout(panel2_);
    pv->setContentsMargins(1, 1, 1, 1);
    pv->setSpacing(1);
    label1_ = new QLabel(QStringLiteral("Panel1Tooling"), panel2_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    pv->addWidget(label1_);
    dbGrid2_ = new QTableView(panel2_);
    dbGrid2_->setObjectName(QStringLiteral("DBGrid2"));
    dbGrid2_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbGrid2_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbGrid2_->verticalHeader()->hide();
    dbGrid2_->verticalHeader()->setDefaultSectionSize(20);
    dbGrid2_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    pv->addWidget(dbGrid2_, 1);
    panel2_->hide();
    body->addWidget(panel2_);
    v->addLayout(body, 1);

    // Creation: every saved part in inches, by part number.
    Cursor& q = dm_.SavedPartsQuery;
    try {
        SetSavedPartsSql(dm_, false, QueryText::SavedPartsOrder);
        SetPartToolingSql(dm_, false);
        dm_.PartToolingQuery.setParam(QStringLiteral("Type"), QStringLiteral("Panel1"));
        q.open();
    } catch (const DbError& e) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vorn"), e.text(), QMessageBox::Ok,
                        parent);
        box.exec();
        return;
    }
    usable_ = true;

    model_ = new PartsModel(this);
    model_->setCursor(&q);
    QStringList fields;
    for (const PartColumn& c : kPartColumns)
        fields << QString::fromLatin1(c.field);
    model_->setColumns(fields);
    for (int i = 0; i < int(std::size(kPartColumns)); ++i)
        if (*kPartColumns[i].title)
            model_->setColumnTitle(i, QCoreApplication::translate("TForm3", kPartColumns[i].title));
    dbGrid1_->setModel(model_);
    model_->followSelection(dbGrid1_->selectionModel());
    // The widths are made for the Chinese titles; a translated title that is
    // longer widens its column rather than being cut.
    const bool translated = CurrentLanguage() != Language::Chinese;
    const QHeaderView* header = dbGrid1_->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int i = 0; i < int(std::size(kPartColumns)); ++i) {
        int width = kPartColumns[i].width;
        if (width > 0 && translated)
            width = std::max(width, header->fontMetrics().horizontalAdvance(
                                        model_->headerData(i, Qt::Horizontal).toString()) +
                                        2 * margin + 2);
        if (width > 0)
            dbGrid1_->setColumnWidth(i, width);
    }

    toolingModel_ = new CursorModel(this);
    toolingModel_->setCursor(&dm_.PartToolingQuery);
    toolingModel_->setColumns({QStringLiteral("SerialNumber"), QStringLiteral("Xcoordinate"),
                               QStringLiteral("Ycoordinate"), QStringLiteral("Diameter")});
    dbGrid2_->setModel(toolingModel_);
    dbGrid2_->setColumnWidth(0, 27);
    for (int c = 1; c <= 3; ++c)
        dbGrid2_->setColumnWidth(c, 51);
    // Sizes in millimetres and long part numbers are read whole.
    FitColumnsToContents(dbGrid1_, true);
    FitColumnsToContents(dbGrid2_, true);

    auto guarded = [this](void (TForm3::*handler)()) {
        return [this, handler] {
            try {
                (this->*handler)();
            } catch (const std::exception& e) {
                QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
            }
        };
    };
    connect(dbGrid1_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        try {
            DBGrid1TitleClick(column);
        } catch (const std::exception& e) {
            QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
        }
    });
    connect(toolButton5_, &QToolButton::clicked, this, guarded(&TForm3::ToolButton5Click));
    connect(speedButton1_, &QToolButton::clicked, this, guarded(&TForm3::SpeedButton1Click));
    connect(toolButton3_, &QToolButton::clicked, this, guarded(&TForm3::ToolButton3Click));
    connect(toolButton4_, &QToolButton::clicked, this, guarded(&TForm3::ToolButton4Click));
    connect(toolButton1_, &QToolButton::clicked, this, guarded(&TForm3::ToolButton1Click));
    connect(toolButton2_, &QToolButton::clicked, this, guarded(&TForm3::ToolButton2Click));
    connect(dbGrid1_, &QTableView::doubleClicked, this, guarded(&TForm3::ToolButton1Click));
}

TForm3::~TForm3() = default;

void TForm3::done(int result) {
    // Closing ends the listing; the tooling query is not left running on a
    // closed list either.
    try {
        dm_.PartToolingQuery.close();
        dm_.SavedPartsQuery.close();
    } catch (...) {
    }
    QDialog::done(result);
}

QString TForm3::OrderLine() const {
    const QStringList& sql = dm_.SavedPartsQuery.sql();
    return sql.isEmpty() ? QString() : sql.last();
}

void TForm3::ReopenWithOrder(const QString& orderLine) {
    Cursor& q = dm_.SavedPartsQuery;
    q.close();
    q.sql().last() = orderLine;
    q.open();
}

void TForm3::DBGrid1TitleClick(int column) {
    if (column < 0 || column >= int(std::size(kPartColumns)))
        return;
    const QString field = QString::fromLatin1(kPartColumns[column].field);
    const Cursor& q = dm_.SavedPartsQuery;
    const int index = q.findField(field);
    if (index < 0 || q.field(index).isCalculated()) {
        UserInfo(this, QMessageBox::Information,
                 QCoreApplication::translate("TForm3", "   此列不能排序        "));
        return;
    }
    // Each click turns the order round, whichever column was sorted before.
    const QString last = OrderLine();
    const bool descending = last.size() >= 5 && last.mid(last.size() - 5, 4) == u"desc";
    ReopenWithOrder(SavedPartsOrderLine(dm_, field, !descending));
}

void TForm3::ToolButton5Click() {
    const int choice = comboBox1_->currentIndex();
    if (choice <= 0) {
        Inform(this, QCoreApplication::translate("TForm3", "     请选择适当的“查询项”！      "));
        return;
    }
    const QString column = QString::fromLatin1(kSearchFields[choice - 1][1]);
    ReopenWithOrder(SavedPartsOrderLine(dm_, column, false));
    const QString text = edit1_->text();
    if (!dm_.SavedPartsQuery.locate(column, {text}, Cursor::CaseInsensitive | Cursor::PartialKey)) {
        Inform(this, QCoreApplication::translate("TForm3", "     没有找到 “%1='%2...'”的纪录！    ")
                         .arg(comboBox1_->currentText(), text));
    }
}

void TForm3::SpeedButton1Click() {
    Cursor& q = dm_.SavedPartsQuery;
    Cursor& t = dm_.PartToolingQuery;
    // 1. The selected part and the order are kept.
    const QVariant id = q.isOpen() && !q.isEmpty() ? q.value(QStringLiteral("ID")) : QVariant();
    const QString order = OrderLine();
    q.close();
    // 2. The other unit.
    const bool mm = speedButton1_->text() == QLatin1String("Inch");
    speedButton1_->setText(mm ? QStringLiteral("mm") : QStringLiteral("Inch"));
    SetSavedPartsSql(dm_, mm, order);
    // 3. The holes follow, of the same panel type.
    const bool toolingOpen = t.isOpen();
    const QVariant type = t.param(QStringLiteral("Type"));
    SetPartToolingSql(dm_, mm);
    t.setParam(QStringLiteral("Type"), type);
    if (toolingOpen)
        t.open();
    // 4. Reopen on the same part.
    q.open();
    if (!id.isNull())
        q.locate(QStringLiteral("ID"), {id});
}

void TForm3::ToolButton3Click() {
    Cursor& t = dm_.PartToolingQuery;
    if (panel2_->isHidden()) {
        panel2_->show();
        toolButton3_->setToolTip(QCoreApplication::translate("TForm3", "关闭Tooling"));
        toolButton3_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
        toolButton4_->setEnabled(true);
        label1_->setText(QStringLiteral("Panel1Tooling"));
        t.close();
        t.setParam(QStringLiteral("Type"), QStringLiteral("Panel1"));
        t.open();
    } else {
        panel2_->hide();
        toolButton3_->setToolTip(QCoreApplication::translate("TForm3", "查看Tooling"));
        toolButton3_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
        toolButton4_->setEnabled(false);
        t.close();
    }
}

void TForm3::ToolButton4Click() {
    int now = 0;
    while (now < 3 && label1_->text() != QLatin1String(kToolingTypes[now][0]))
        ++now;
    const int next = (now + 1) % 3;
    label1_->setText(QString::fromLatin1(kToolingTypes[next][0]));
    Cursor& t = dm_.PartToolingQuery;
    t.close();
    t.setParam(QStringLiteral("Type"), QString::fromLatin1(kToolingTypes[next][1]));
    t.open();
}

void TForm3::ToolButton1Click() {
    Cursor* q = &dm_.SavedPartsQuery;
    if (!q->isOpen() || q->isEmpty())
        return;
    SavedPlanSource source;
    source.plan = {[q](const char* f) { return q->asDouble(QString::fromLatin1(f)); },
                   [q](const char* f) { return q->asString(QString::fromLatin1(f)); }};
    source.unit = [this] { return speedButton1_->text(); };
    source.holes = [this](const QString& type) {
        std::vector<ToolingHole> holes;
        for (const SavedHole& h : SavedHolesOfType(dm_, type))
            holes.push_back({h.serialNumber, h.x, h.y, h.diameter});
        return holes;
    };
    source.boards = [this](DiagramView view) {
        const int panel = view == DiagramView::Array    ? kArrayUnitsPanel
                          : view == DiagramView::Panel2 ? 2
                                                        : 1;
        return SavedBoardsOfCurrentPart(dm_, speedButton1_->text() == QLatin1String("mm"), panel);
    };
    TForm4 window(std::move(source), this);
    window.exec();
}

void TForm3::ToolButton2Click() {
    const QStringList filters{
        QCoreApplication::translate("TForm3", "文本文件 (Text)  [*.Txt] (*.Txt)"),
        QCoreApplication::translate("TForm3", "Microsoft Excel 工作簿 [*.xlsx] (*.xlsx)")};
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked below, in its own words
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("Txt"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& f) {
        dialog.setDefaultSuffix(filters.indexOf(f) == 1 ? QStringLiteral("xlsx")
                                                        : QStringLiteral("Txt"));
    });
    auto choose = [&dialog](QString* file) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        *file = dialog.selectedFiles().first();
        return true;
    };
    StartInLastFolder(dialog, FileKind::PartLists);
    QString file;
    if (!choose(&file))
        return;
    RememberFolder(FileKind::PartLists, file);
    while (QFileInfo::exists(file)) {
        QMessageBox box(
            QMessageBox::Question, QCoreApplication::translate("TForm3", "用户信息"),
            QCoreApplication::translate("TForm3", "   文件已存在，是否覆盖它？        "),
            QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::No); // overwriting is for good
        if (box.exec() == QMessageBox::Yes)
            break;
        if (!choose(&file))
            return;
    }
    const PartListFormat format = filters.indexOf(dialog.selectedNameFilter()) == 1
                                      ? PartListFormat::Workbook
                                      : PartListFormat::Text;

    // The grids let go of the queries while the list is read, and take them
    // up again however the export ends.
    model_->detach();
    toolingModel_->detach();
    QString error;
    const bool ok = ExportPartList(dm_, file, format, speedButton1_->text() == QLatin1String("mm"),
                                   QDateTime::currentDateTime(), &error);
    model_->attach();
    toolingModel_->attach();
    if (!ok) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), error);
        return;
    }
    UserInfo(this, QMessageBox::Information,
             QCoreApplication::translate("TForm3", "   数据导出成功        "));
}

} // namespace vorn
