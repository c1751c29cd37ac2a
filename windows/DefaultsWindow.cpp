#include "DefaultsWindow.h"

#include "DefaultsList.h"
#include "Fields.h"
#include "NewJob.h"
#include "Units.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>
#include <iterator>

namespace vorn {

namespace {

const QString kTrue = QStringLiteral("True");

QLabel* Label(QWidget* parent, const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QGridLayout* Grid(QWidget* parent) {
    auto* g = new QGridLayout(parent);
    g->setContentsMargins(8, 6, 8, 8);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(4);
    g->setColumnStretch(6, 1);
    return g;
}

// Caption over columns 0-1, first field, "×", second field.
void SizeRow(QGridLayout* g, int row, QWidget* parent, const QString& caption, QLineEdit* a,
             QLineEdit* b) {
    g->addWidget(Label(parent, caption), row, 0, 1, 2);
    g->addWidget(a, row, 2);
    if (b) {
        g->addWidget(Label(parent, QStringLiteral("×"), Qt::AlignHCenter), row, 3);
        g->addWidget(b, row, 4);
    }
}

void MarginRow(QGridLayout* g, int row, QWidget* parent, const QString& caption,
               const QString& first, QLineEdit* a, QLineEdit* b) {
    if (first.isEmpty()) {
        g->addWidget(Label(parent, caption), row, 0, 1, 2);
    } else {
        g->addWidget(Label(parent, caption), row, 0);
        g->addWidget(Label(parent, first), row, 1);
    }
    g->addWidget(a, row, 2);
    g->addWidget(Label(parent, QCoreApplication::translate("TForm9", "上下"), Qt::AlignHCenter),
                 row, 3);
    g->addWidget(b, row, 4);
}

} // namespace

void ApplyJobDefaults(const DefaultsList& list, WorkRow& job, bool mm, QStringList* problems) {
    for (const char* name : kJobLengthEntries)
        job.SetNumber(name, DefaultLength(list, name, mm, problems));
    for (const char* name : kJobNumberEntries)
        job.SetNumber(name, DefaultNumber(list, name, problems));
}

void ApplyArrayDefaults(const DefaultsList& list, WorkRow& array, bool mm, QStringList* problems) {
    for (const char* name : kArrayLengthEntries)
        array.SetNumber(name, DefaultLength(list, name, mm, problems));
}

SearchOptions OptionsFromDefaults(const DefaultsList& list, QStringList* problems) {
    SearchOptions o;
    o.panelKinds = QString::number(DefaultPanelKinds(list, problems));
    o.autoPanel = list.Flag(QStringLiteral("AUTOPanel"));
    o.bestBase = list.Flag(QStringLiteral("GoodBase"));
    o.bothPanel = list.Flag(QStringLiteral("BothPanel"));
    o.bothBase = list.Flag(QStringLiteral("BothBase"));
    o.tooling = list.Flag(QStringLiteral("Tooling"));
    // Absent means off; a file without the entry reads as it always did.
    const QString packing = list.Value(QStringLiteral("BestPacking")).trimmed();
    if (!packing.isEmpty() && !PackingOptionFromWord(packing.toStdString(), o.packing) && problems)
        problems->append(QCoreApplication::translate(
                             "TForm9", "%1: BestPacking=%2 只能是 Off、Routed 或 VScored；改用 Off")
                             .arg(DefaultsList::FileName(), packing));
    return o;
}

void ReportDefaultsProblems(QWidget* parent, const QStringList& problems) {
    if (problems.isEmpty())
        return;
    QMessageBox::warning(parent, QStringLiteral("Vorn"), problems.join(QLatin1Char('\n')),
                         QMessageBox::Ok);
}

TForm9::TForm9(DefaultsHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QCoreApplication::translate("TForm9", "默认参数值设置"));
    setFixedSize(550, 438);

    // The window edits the rows from their last posted state.
    for (WorkRow* row : {host_.JobRow(), host_.ArrayRow()}) {
        row->Edit();
        row->Post();
    }

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    v->setSpacing(6);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setIconSize(QSize(20, 20));
    QStyle* st = style();
    store_ = bar->addAction(st->standardIcon(QStyle::SP_DialogSaveButton),
                            QCoreApplication::translate("TForm9", "设为默认值"));
    undo_ = bar->addAction(st->standardIcon(QStyle::SP_ArrowBack),
                           QCoreApplication::translate("TForm9", "撤消编辑"));
    restore_ = bar->addAction(st->standardIcon(QStyle::SP_BrowserReload),
                              QCoreApplication::translate("TForm9", "恢复默认值"));
    bar->addSeparator();
    close_ = bar->addAction(st->standardIcon(QStyle::SP_DialogCloseButton),
                            QCoreApplication::translate("TForm9", "退出"));
    // Picture buttons: the captions are their hints.
    for (QAction* a : {store_, undo_, restore_, close_})
        a->setToolTip(a->text());
    connect(store_, &QAction::triggered, this, [this] { Guarded(&TForm9::StoreDefaults); });
    connect(undo_, &QAction::triggered, this, [this] { Guarded(&TForm9::UndoEdits); });
    connect(restore_, &QAction::triggered, this, [this] { Guarded(&TForm9::RestoreDefaults); });
    connect(close_, &QAction::triggered, this, &QDialog::reject);
    v->addWidget(bar);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->setSpacing(8);
    body->addWidget(BuildJobGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(BuildArrayGroup());
    right->addWidget(BuildCompanyGroup());
    right->addStretch();
    body->addLayout(right);
    v->addLayout(body, 1);

    static const char* const order[] = {
        "DBEdit1",      "DBEdit2",      "DBEdit3",      "DBEdit4",      "DBEdit5",   "Edit1",
        "DBEdit6",      "DBEdit7",      "DBEdit8",      "DBEdit9",      "DBEdit10",  "DBEdit11",
        "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4", "CheckBox1", "CheckBox2",
        "CheckBox3",    "DBEdit12",     "DBEdit13",     "DBEdit14",     "DBEdit15",  "DBEdit16",
        "DBEdit17",     "DBEdit18",     "DBEdit19",     "DBEdit20",     "Edit2"};
    ChainTabOrder(this, order, int(std::size(order)));

    SetState({host_.Options(), host_.Defaults().Value(QStringLiteral("CompName"))});
    Remember();

    // Enter moves on; any change allows undo.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
            qobject_cast<QSpinBox*>(w))
            w->installEventFilter(this);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            connect(e, &QLineEdit::textEdited, this, &TForm9::Changed);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            connect(b, &QAbstractButton::toggled, this, &TForm9::Changed);
    }
    connect(panelKinds_, &QSpinBox::textChanged, this, &TForm9::Changed);
    // The panel-kind field takes only "1", "2" and backspace.
    panelKinds_->findChild<QLineEdit*>()->installEventFilter(this);
    settingUp_ = false;
}

QWidget* TForm9::BuildJobGroup() {
    auto* box = new QGroupBox(QCoreApplication::translate("TForm9", "生产拼板开料参数"), this);
    auto* g = Grid(box);
    WorkRow& job = *host_.JobRow();
    auto field = [&](const char* name, const char* column, Look look, int maxLength = 0) {
        QLineEdit* e = BoundField(box, name, "TempInput", column, look, Input::Number, maxLength);
        job.Bind(e, column);
        return e;
    };
    SizeRow(g, 0, box, QCoreApplication::translate("TForm9", "成品尺寸"),
            field("DBEdit1", "Set_L", Look::Cyan, 7), field("DBEdit2", "Set_W", Look::Cyan, 7));
    SizeRow(g, 1, box, QCoreApplication::translate("TForm9", "拼板间距"),
            field("DBEdit3", "Set_C", Look::Cyan, 7), nullptr);
    MarginRow(g, 2, box, QCoreApplication::translate("TForm9", "边距限制"),
              QCoreApplication::translate("TForm9", "左右"),
              field("DBEdit4", "BorderX_L", Look::Plain, 7),
              field("DBEdit5", "BorderX_W", Look::Plain, 7));
    panelKinds_ = new QSpinBox(box);
    panelKinds_->setObjectName(QStringLiteral("Edit1"));
    panelKinds_->setRange(1, 2);
    panelKinds_->setFixedSize(kFieldWidth, kRowHeight);
    panelKinds_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panelKinds_->findChild<QLineEdit*>()->setMaxLength(1);
    g->addWidget(Label(box, QCoreApplication::translate("TForm9", "Panel种类")), 3, 0, 1, 2);
    g->addWidget(panelKinds_, 3, 2);
    SizeRow(g, 4, box, QCoreApplication::translate("TForm9", "最大Panel"),
            field("DBEdit6", "Max_PL", Look::Plain), field("DBEdit7", "Max_PW", Look::Plain));
    SizeRow(g, 5, box, QCoreApplication::translate("TForm9", "最小Panel"),
            field("DBEdit8", "Min_PL", Look::Plain), field("DBEdit9", "Min_PW", Look::Plain));
    g->addWidget(Label(box, QCoreApplication::translate("TForm9", "Panel 最大长宽比例")), 6, 0, 1,
                 4);
    g->addWidget(field("DBEdit10", "PLPW_ratio", Look::Plain), 6, 4);
    g->addWidget(Label(box, QCoreApplication::translate("TForm9", "最低板材利用率限制")), 7, 0, 1,
                 4);
    g->addWidget(field("DBEdit11", "Min_lv", Look::Plain), 7, 4);
    g->addWidget(Label(box, QStringLiteral("%")), 7, 5);

    autoPanel_ = new QRadioButton(QCoreApplication::translate("TForm9", "自动Panel"), box);
    autoPanel_->setObjectName(QStringLiteral("RadioButton1"));
    setPanel_ = new QRadioButton(QCoreApplication::translate("TForm9", "设定Panel"), box);
    setPanel_->setObjectName(QStringLiteral("RadioButton2"));
    auto* panelMode = new QButtonGroup(box);
    panelMode->addButton(autoPanel_);
    panelMode->addButton(setPanel_);
    bestBase_ = new QRadioButton(QCoreApplication::translate("TForm9", "获取最佳板材"), box);
    bestBase_->setObjectName(QStringLiteral("RadioButton3"));
    allBases_ = new QRadioButton(QCoreApplication::translate("TForm9", "扫描所有板材"), box);
    allBases_->setObjectName(QStringLiteral("RadioButton4"));
    auto* baseMode = new QButtonGroup(box);
    baseMode->addButton(bestBase_);
    baseMode->addButton(allBases_);
    bothPanel_ = new QCheckBox(QCoreApplication::translate("TForm9", "允许异向拼板"), box);
    bothPanel_->setObjectName(QStringLiteral("CheckBox1"));
    bothBase_ = new QCheckBox(QCoreApplication::translate("TForm9", "允许异向开料"), box);
    bothBase_->setObjectName(QStringLiteral("CheckBox2"));
    tooling_ = new QCheckBox(QCoreApplication::translate("TForm9", "允许Tooking"), box);
    tooling_->setObjectName(QStringLiteral("CheckBox3"));
    g->setRowMinimumHeight(8, 6);
    g->addWidget(autoPanel_, 9, 0, 1, 3);
    g->addWidget(setPanel_, 9, 3, 1, 3);
    g->addWidget(bestBase_, 10, 0, 1, 3);
    g->addWidget(allBases_, 10, 3, 1, 3);
    g->addWidget(bothPanel_, 11, 0, 1, 3);
    g->addWidget(bothBase_, 11, 3, 1, 3);
    g->addWidget(tooling_, 12, 0, 1, 3);
    g->setRowStretch(13, 1);
    return box;
}

QWidget* TForm9::BuildArrayGroup() {
    auto* box = new QGroupBox(QCoreApplication::translate("TForm9", "交货拼板参数"), this);
    auto* g = Grid(box);
    WorkRow& array = *host_.ArrayRow();
    auto field = [&](const char* name, const char* column, Look look, int maxLength = 0) {
        QLineEdit* e =
            BoundField(box, name, "TempInputCus", column, look, Input::Number, maxLength);
        array.Bind(e, column);
        return e;
    };
    SizeRow(g, 0, box, QCoreApplication::translate("TForm9", "单元尺寸"),
            field("DBEdit12", "Part_L", Look::Cyan, 7), field("DBEdit13", "Part_W", Look::Cyan, 7));
    SizeRow(g, 1, box, QCoreApplication::translate("TForm9", "拼板间距"),
            field("DBEdit14", "Part_C", Look::Cyan, 7), nullptr);
    MarginRow(g, 2, box, QCoreApplication::translate("TForm9", "边距  左右"), QString(),
              field("DBEdit15", "SetBorder_L", Look::Cyan, 7),
              field("DBEdit16", "SetBorder_W", Look::Cyan, 7));
    SizeRow(g, 3, box, QCoreApplication::translate("TForm9", "最大成品尺寸"),
            field("DBEdit17", "Max_SetL", Look::Plain), field("DBEdit18", "Max_SetW", Look::Plain));
    SizeRow(g, 4, box, QCoreApplication::translate("TForm9", "最小成品尺寸"),
            field("DBEdit19", "Min_SetL", Look::Plain), field("DBEdit20", "Min_SetW", Look::Plain));
    return box;
}

QWidget* TForm9::BuildCompanyGroup() {
    auto* box = new QGroupBox(QCoreApplication::translate("TForm9", "公司信息"), this);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(8, 6, 8, 8);
    h->addWidget(Label(box, QCoreApplication::translate("TForm9", "公司名称")));
    company_ = new QLineEdit(box);
    company_->setObjectName(QStringLiteral("Edit2"));
    h->addWidget(company_, 1);
    return box;
}

DefaultsWindowState TForm9::State() const {
    DefaultsWindowState s;
    s.options.panelKinds = panelKinds_->text();
    s.options.autoPanel = autoPanel_->isChecked();
    s.options.bestBase = bestBase_->isChecked();
    s.options.bothPanel = bothPanel_->isChecked();
    s.options.bothBase = bothBase_->isChecked();
    s.options.tooling = tooling_->isChecked();
    s.options.packing = packing_; // chosen on the job panel, kept as it is
    s.company = company_->text();
    return s;
}

void TForm9::SetState(const DefaultsWindowState& s) {
    const bool was = settingUp_;
    settingUp_ = true;
    bool ok = false;
    const int kinds = s.options.panelKinds.toInt(&ok);
    panelKinds_->setValue(ok ? kinds : 1);
    (s.options.autoPanel ? autoPanel_ : setPanel_)->setChecked(true);
    (s.options.bestBase ? bestBase_ : allBases_)->setChecked(true);
    bothPanel_->setChecked(s.options.bothPanel);
    bothBase_->setChecked(s.options.bothBase);
    tooling_->setChecked(s.options.tooling);
    packing_ = s.options.packing;
    company_->setText(s.company);
    settingUp_ = was;
}

void TForm9::Remember() {
    saved_ = State();
    undo_->setEnabled(false);
}

void TForm9::Changed() {
    if (!settingUp_)
        undo_->setEnabled(true);
}

void TForm9::Guarded(void (TForm9::*command)()) {
    try {
        (this->*command)();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
    }
}

void TForm9::StoreDefaults() {
    WorkRow& job = *host_.JobRow();
    WorkRow& array = *host_.ArrayRow();
    job.CommitFields();
    array.CommitFields();
    const bool mm = host_.UnitIsMm();
    DefaultsList& list = host_.Defaults();
    // An empty column removes its entry rather than storing a zero.
    auto length = [&](WorkRow& row, const char* column) {
        list.SetValue(QString::fromLatin1(column),
                      row.IsNull(column)
                          ? QString()
                          : DefaultsList::LengthText(DisplayToInches(row.Number(column), mm)));
    };
    for (const char* c : kJobLengthEntries)
        length(job, c);
    for (const char* c : kArrayLengthEntries)
        length(array, c);
    for (const char* c : kJobNumberEntries)
        list.SetValue(QString::fromLatin1(c), job.Text(c));
    const DefaultsWindowState s = State();
    list.SetValue(QStringLiteral("PanelNumber"), s.options.panelKinds);
    list.SetFlag(QStringLiteral("AUTOPanel"), s.options.autoPanel);
    list.SetFlag(QStringLiteral("GoodBase"), s.options.bestBase);
    list.SetFlag(QStringLiteral("BothPanel"), s.options.bothPanel);
    list.SetFlag(QStringLiteral("BothBase"), s.options.bothBase);
    list.SetFlag(QStringLiteral("Tooling"), s.options.tooling);
    // Off leaves no entry: the file stays as it was before the option existed.
    list.SetValue(QStringLiteral("BestPacking"),
                  QString::fromLatin1(PackingOptionWord(s.options.packing)));
    list.SetValue(QStringLiteral("CompName"), s.company);

    QString error;
    if (!list.Save(host_.DefaultsPath(), &error)) {
        // The file keeps its old text; the window keeps the edits to retry.
        // The message names the file and the reason.
        throw std::runtime_error(error.toStdString());
    }

    job.Edit();
    host_.ApplyJobParameterChanges();
    array.Edit();
    array.Post();
    Remember();
    host_.SetOptions(s.options);
}

void TForm9::UndoEdits() {
    host_.JobRow()->Cancel();
    host_.ArrayRow()->Cancel();
    SetState(saved_);
    undo_->setEnabled(false);
}

void TForm9::RestoreDefaults() {
    const DefaultsList& list = host_.Defaults();
    const bool mm = host_.UnitIsMm();
    WorkRow& job = *host_.JobRow();
    WorkRow& array = *host_.ArrayRow();
    job.Edit();
    QStringList problems;
    ApplyJobDefaults(list, job, mm, &problems);
    const SearchOptions options = OptionsFromDefaults(list, &problems);
    host_.SetOptions(options);
    SetState({options, list.Value(QStringLiteral("CompName"))});
    Remember();
    array.Edit();
    ApplyArrayDefaults(list, array, mm, &problems);
    host_.ApplyJobParameterChanges();
    array.Post();
    undo_->setEnabled(false);
    ReportDefaultsProblems(this, problems);
}

void TForm9::done(int result) {
    // Closing in any way drops what was not stored.
    Guarded(&TForm9::UndoEdits);
    QDialog::done(result);
}

bool TForm9::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        // The field takes the key first (a bound field writes its column on
        // it), then the focus moves on.
        QMetaObject::invokeMethod(
            this, [this] { focusNextChild(); }, Qt::QueuedConnection);
        return false;
    }
    if (watched == panelKinds_->findChild<QLineEdit*>()) {
        const QString t = key->text();
        if (t == QLatin1String("1") || t == QLatin1String("2")) {
            panelKinds_->setValue(t.toInt());
            panelKinds_->selectAll();
            return true;
        }
        // Backspace edits the text; keys without a character act as usual.
        if (key->key() == Qt::Key_Backspace || t.isEmpty() || !t.at(0).isPrint())
            return QDialog::eventFilter(watched, event);
        return true; // every other character is dropped
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vorn
