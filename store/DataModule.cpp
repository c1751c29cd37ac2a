#include "DataModule.h"

#include "SchemaCheck.h"

#include "DbError.h"
#include "DisplayFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdlib>

namespace vorn {

// ---- query texts ----------------------------------------------------------------

namespace QueryText {

QStringList savedPartsDesign() {
    return {QStringLiteral("SELECT DATA0004.*"), QStringLiteral("FROM DATA0004"),
            QStringLiteral("ORDER BY Part_number;")};
}

QString savedPartsInch() {
    return QStringLiteral("SELECT DATA0004.* FROM DATA0004 ");
}

QString savedPartsMm() {
    return QStringLiteral(
        "SELECT [data0004].[ID], [data0004].[Part_number],[data0004].[Customer_Part],"
        "[data0004].[Employee], [data0004].[Layer], [data0004].[Date], [data0004].[Time], "
        "[data0004].[Part_L]*25.4 AS Part_L, [data0004].[Part_W]*25.4 AS Part_W, "
        "[data0004].[Part_C]*25.4 AS Part_C, [data0004].[SetBorder_L]*25.4 AS SetBorder_L, "
        "[data0004].[SetBorder_W]*25.4 AS SetBorder_W, [data0004].[Part_La], "
        "[data0004].[Part_Wb], [data0004].[Part_Lb], [data0004].[Part_Wa], "
        "[data0004].[PanelCu], [data0004].[Panel_lvCu], [data0004].[Set_L]*25.4 AS Set_L, "
        "[data0004].[Set_W]*25.4 AS Set_W, [data0004].[Set_C]*25.4 AS Set_C, "
        "[data0004].[Panel_L]*25.4 AS Panel_L, [data0004].[Panel_W]*25.4 AS Panel_W, "
        "[data0004].[Border_L]*25.4 AS Border_L, [data0004].[Border_W]*25.4 AS Border_W, "
        "[data0004].[Set_La], [data0004].[Set_Wb], [data0004].[Set_Lb], [data0004].[Set_Wa], "
        "[data0004].[Set_sLa], [data0004].[Set_sWb], [data0004].[Up], [data0004].[Panel], "
        "[data0004].[Panel_lv], [data0004].[P_La], [data0004].[P_Wb], [data0004].[P_Lb], "
        "[data0004].[P_Wa], [data0004].[P_sLa], [data0004].[P_sWb], [data0004].[P_up], "
        "[data0004].[Panel_N], [data0004].[Base_L]*25.4 as Base_L, "
        "[data0004].[Base_W]*25.4 as Base_W, [data0004].[Base_lv],"
        "[data0004].[Panel_L2]*25.4 AS Panel_L2, [data0004].[Panel_W2]*25.4 AS Panel_W2, "
        "[data0004].[Border_L2]*25.4 AS Border_L2, [data0004].[Border_W2]*25.4 AS Border_W2,"
        "[data0004].[Set_La2], [data0004].[Set_Wb2], [data0004].[Set_Lb2], "
        "[data0004].[Set_Wa2], [data0004].[Set_sLa2], [data0004].[Set_sWb2], "
        "[data0004].[Up2], [data0004].[Panel2], [data0004].[Panel_lv2], [data0004].[P_La2], "
        "[data0004].[P_Wb2], [data0004].[P_Lb2], [data0004].[P_Wa2], [data0004].[Note] "
        "FROM data0004 ");
}

QStringList partToolingDesign() {
    return {QStringLiteral("select * "), QStringLiteral("from Data0005 "),
            QStringLiteral("where Data0005.D4_PTR=:ID AND Data0005.PanelType=:Type"),
            QStringLiteral("order by Data0005.SerialNumber")};
}

QString partToolingInch() {
    return QStringLiteral("select * from Data0005 where Data0005.D4_PTR=:ID and "
                          "Data0005.PanelType=:Type order by Data0005.SerialNumber");
}

QString partToolingMm() {
    return QStringLiteral(
        "select data0005.ID,[data0005].[SerialNumber],[data0005].[d4_ptr],data0005.PanelType, "
        "[data0005].[Xcoordinate]*25.4 as Xcoordinate, [data0005].[Ycoordinate]*25.4 as "
        "Ycoordinate, [data0005].[Diameter]*25.4 as Diameter from Data0005 where "
        "Data0005.D4_PTR=:ID and Data0005.PanelType=:Type order by Data0005.SerialNumber");
}

QStringList enabledPanels() {
    return {QStringLiteral("select SetPanel.*"), QStringLiteral("from SetPanel"),
            QStringLiteral("where enabled=true"), QStringLiteral("and Panel_L>0 and Panel_W>0"),
            QStringLiteral("order by Number")};
}

} // namespace QueryText

// ---- start-up -------------------------------------------------------------------

namespace {

void showAndExit(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                    QMessageBox::Ok);
    box.exec();
    std::exit(EXIT_FAILURE);
}

TDataM1::StartupFailure& startupFailure() {
    static TDataM1::StartupFailure handler = showAndExit;
    return handler;
}

// One part of a calculated size text: the value in the given format, empty when null.
QString part(const Cursor::Row& row, const QString& field, const QString& format) {
    const QVariant v = row.value(field);
    return v.isNull() ? QString() : DisplayFormat::formatNumber(v.toDouble(), format);
}

Cursor::Calculation pair(const QString& first, const QString& second, const QString& format,
                         QChar separator, const QString& onlyWhenPanel2 = QString(),
                         bool strictlyPositive = false) {
    return [=](const Cursor::Row& row) {
        if (!onlyWhenPanel2.isEmpty()) {
            const double panels = row.number(onlyWhenPanel2);
            if (strictlyPositive ? !(panels > 0) : panels == 0)
                return QString();
        }
        return DisplayFormat::joinPair(part(row, first, format), part(row, second, format),
                                       separator);
    };
}

constexpr QChar kTimes(0x00D7);

struct Props {
    const char* field;
    const char* label;
    const char* format;
    int width;
    bool visible;
};

void apply(Cursor& cursor, std::initializer_list<Props> list) {
    for (const Props& p : list)
        cursor.setFieldProps(QString::fromUtf8(p.field),
                             {QCoreApplication::translate("TDataM1", p.label),
                              QString::fromUtf8(p.format), p.width, p.visible});
}

} // namespace

void TDataM1::setStartupFailureHandler(StartupFailure handler) {
    startupFailure() = handler ? std::move(handler) : StartupFailure(showAndExit);
}

TDataM1::TDataM1(const QString& programDir, QObject* parent)
    : QObject(parent),
      TempInput(m_connection, QStringLiteral("TempInput"), Cursor::Policy::MemoryOnly, this),
      TempResult(m_connection, QStringLiteral("TempResult"), Cursor::Policy::MemoryOnly, this),
      TempTooling(m_connection, QStringLiteral("TempTooling"), Cursor::Policy::MemoryOnly, this),
      Temp_inner(m_connection, QStringLiteral("Temp_inner"), Cursor::Policy::MemoryOnly, this),
      TempResultCus(m_connection, QStringLiteral("TempResultCus"), Cursor::Policy::MemoryOnly,
                    this),
      TempInputCus(m_connection, QStringLiteral("TempInputCus"), Cursor::Policy::MemoryOnly, this),
      SetBase(m_connection, QStringLiteral("SetBase"), Cursor::Policy::Cached, this),
      SetPanel(m_connection, QStringLiteral("SetPanel"), Cursor::Policy::Cached, this),
      SetTooling(m_connection, QStringLiteral("SetTooling"), Cursor::Policy::Cached, this),
      data0004(m_connection, QStringLiteral("data0004"), Cursor::Policy::WriteThrough, this),
      Data0005(m_connection, QStringLiteral("Data0005"), Cursor::Policy::WriteThrough, this),
      SavedPartsQuery(m_connection, QStringLiteral("SavedPartsQuery"), Cursor::Policy::ReadOnly,
                      this),
      PartToolingQuery(m_connection, QStringLiteral("PartToolingQuery"), Cursor::Policy::ReadOnly,
                       this),
      EnabledPanelsQuery(m_connection, QStringLiteral("EnabledPanelsQuery"),
                         Cursor::Policy::ReadOnly, this),
      m_programDir(programDir) {
    // Initial sort and filtering of each cursor.
    TempResult.setSort(QStringLiteral("Base_down;Panel_down"));
    TempTooling.setSort(QStringLiteral("SerialNumber"));
    TempTooling.setFilter(QStringLiteral("PanelType='Panel1'"));
    TempTooling.setFiltered(true);
    Temp_inner.setSort(QStringLiteral("Panel_LxW"));
    TempResultCus.setSort(QStringLiteral("Panel_Down"));
    SetBase.setSort(QStringLiteral("base_L;base_W"));
    SetPanel.setSort(QStringLiteral("Number"));
    SetTooling.setSort(QStringLiteral("SerialNumber"));
    SetTooling.setFiltered(true);

    SavedPartsQuery.setSql(QueryText::savedPartsDesign());
    PartToolingQuery.setSql(QueryText::partToolingDesign());
    PartToolingQuery.linkParam(QStringLiteral("ID"), &SavedPartsQuery, QStringLiteral("ID"));
    EnabledPanelsQuery.setSql(QueryText::enabledPanels());

    setUpDisplay();
    setUpRules();
    DataModuleCreate();
}

TDataM1::~TDataM1() {
    for (Cursor* c : {&TempInput, &TempResult, &TempTooling, &Temp_inner, &TempResultCus,
                      &TempInputCus, &SetBase, &SetPanel, &SetTooling, &data0004, &Data0005,
                      &SavedPartsQuery, &PartToolingQuery, &EnabledPanelsQuery}) {
        c->afterClose = nullptr;
        c->close();
    }
}

bool TDataM1::DataModuleCreate() {
    QString dir = m_programDir;
    if (!dir.isEmpty() && !dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += u'/';
    m_connection.close();
    m_connection.setPath(dir + QStringLiteral("Vorn.mdb"));
    try {
        m_connection.handle();
        m_connection.close();
    } catch (const DbError& e) {
        m_connection.close();
        m_usable = false;
        startupFailure()(e.text());
        return false;
    }
    // A file that opens may still lack what every later command relies on.
    if (const QString problem = CheckDatabaseSchema(m_connection.path()); !problem.isEmpty()) {
        m_usable = false;
        startupFailure()(problem);
        return false;
    }
    m_usable = true;
    return true;
}

// ---- display properties ---------------------------------------------------------

void TDataM1::setUpDisplay() {
    const char* const yesNo = "√";
    apply(TempInput, {{"Set_L", "", "0.0000", 0, true},     {"Set_W", "", "0.0000", 0, true},
                      {"Set_C", "", "0.0000", 0, true},     {"Panel_L", "", "0.000", 0, true},
                      {"Panel_W", "", "0.000", 0, true},    {"BorderX_L", "", "0.000", 0, true},
                      {"BorderX_W", "", "0.000", 0, true},  {"Min_lv", "", "0.00", 0, true},
                      {"Border_L", "", "0.000", 0, true},   {"Border_W", "", "0.000", 0, true},
                      {"Panel_lv", "", "0.000%", 0, true},  {"Base_L", "", "0.0", 0, true},
                      {"Base_W", "", "0.0", 0, true},       {"Base_lv", "", "0.000%", 0, true},
                      {"Min_PL", "", "#0.000", 0, true},    {"Min_PW", "", "#0.000", 0, true},
                      {"Max_PL", "", "#0.000", 0, true},    {"Max_PW", "", "#0.000", 0, true},
                      {"Panel_L2", "", "0.000", 0, true},   {"Panel_W2", "", "0.000", 0, true},
                      {"Border_L2", "", "0.0000", 0, true}, {"Border_W2", "", "0.0000", 0, true},
                      {"Panel_lv2", "", "0.000%", 0, true}});

    apply(TempResult,
          {{"Number", QT_TRANSLATE_NOOP("TDataM1", "序号"), "", 0, true},
           {"Panel_L", QT_TRANSLATE_NOOP("TDataM1", "坯板长"), "0.000", 0, true},
           {"Panel_W", QT_TRANSLATE_NOOP("TDataM1", "坯板宽"), "0.000", 0, true},
           {"Border_L", QT_TRANSLATE_NOOP("TDataM1", "左右边距"), "0.0000", 0, true},
           {"Border_W", QT_TRANSLATE_NOOP("TDataM1", "宽向边距"), "0.0000", 0, true},
           {"Panel", QT_TRANSLATE_NOOP("TDataM1", "拼板数"), "", 0, true},
           {"Panel_lv", QT_TRANSLATE_NOOP("TDataM1", "拼版利用率"), "0.000%", 0, true},
           {"Panel_N", QT_TRANSLATE_NOOP("TDataM1", "开料数"), "", 0, true},
           {"Base_L", QT_TRANSLATE_NOOP("TDataM1", "板材长"), "0.0", 0, true},
           {"Base_W", QT_TRANSLATE_NOOP("TDataM1", "板材宽"), "0.0", 0, true},
           {"Base_lv", QT_TRANSLATE_NOOP("TDataM1", "板材利用率"), "0.000%", 0, true},
           {"Panel_L2", "", "0.000", 0, true},
           {"Panel_W2", "", "0.000", 0, true},
           {"Border_L2", "", "0.0000", 0, true},
           {"Border_W2", "", "0.0000", 0, true},
           {"Panel2", QT_TRANSLATE_NOOP("TDataM1", "拼板数"), "", 0, true},
           {"Panel_lv2", QT_TRANSLATE_NOOP("TDataM1", "拼板利用率"), "0.000%", 0, true}});
    const QString panel2 = QStringLiteral("Panel2");
    TempResult.addCalculatedField(QStringLiteral("Panel1size"),
                                  QCoreApplication::translate("TDataM1", "坯板1尺寸"),
                                  pair("Panel_L", "Panel_W", "0.000", kTimes));
    TempResult.addCalculatedField(QStringLiteral("Panel1bian"),
                                  QCoreApplication::translate("TDataM1", "边距(左右/上下)"),
                                  pair("Border_L", "Border_W", "0.0000", u'/'));
    TempResult.addCalculatedField(QStringLiteral("Panel2size"),
                                  QCoreApplication::translate("TDataM1", "坯板2尺寸"),
                                  pair("Panel_L2", "Panel_W2", "0.000", kTimes, panel2));
    TempResult.addCalculatedField(QStringLiteral("Panel2bian"),
                                  QCoreApplication::translate("TDataM1", "边距(左右/上下)"),
                                  pair("Border_L2", "Border_W2", "0.0000", u'/', panel2));
    TempResult.addCalculatedField(QStringLiteral("Basesize"),
                                  QCoreApplication::translate("TDataM1", "板材尺寸"),
                                  pair("Base_L", "Base_W", "0.0", kTimes));

    apply(TempTooling,
          {{"PanelType", "Panel", "", 0, true},
           {"SerialNumber", QT_TRANSLATE_NOOP("TDataM1", "序号"), "", 0, true},
           {"Xcoordinate", QT_TRANSLATE_NOOP("TDataM1", "X 坐标"), "#,##0.0000", 0, true},
           {"Ycoordinate", QT_TRANSLATE_NOOP("TDataM1", "Y 坐标"), "#,##0.0000", 0, true},
           {"Diameter", QT_TRANSLATE_NOOP("TDataM1", "孔 径"), "#,##0.0000", 0, true}});

    apply(SetTooling, {{"ID", "", "", 0, false},
                       {"Type", "", "", 0, false},
                       {"SerialNumber", QT_TRANSLATE_NOOP("TDataM1", "序号"), "", 6, true},
                       {"Level_Edge", QT_TRANSLATE_NOOP("TDataM1", "基准"), "", 16, true},
                       {"EdgeSize", QT_TRANSLATE_NOOP("TDataM1", "边尺寸"), "0.0000", 12, true},
                       {"OtherSize", QT_TRANSLATE_NOOP("TDataM1", "另向尺寸"), "0.0000", 12, true},
                       {"Diameter", QT_TRANSLATE_NOOP("TDataM1", "直径"), "0.0000", 12, true}});

    apply(SetBase, {{"ID", "", "", 0, false},
                    {"Base_L", QT_TRANSLATE_NOOP("TDataM1", "材料长"), "#0.000", 15, true},
                    {"Base_W", QT_TRANSLATE_NOOP("TDataM1", "材料宽"), "#0.000", 15, true},
                    {"Enbled", QT_TRANSLATE_NOOP("TDataM1", "有效"), yesNo, 6, true}});

    apply(SetPanel, {{"ID", "", "", 0, false},
                     {"Number", QT_TRANSLATE_NOOP("TDataM1", "序号"), "", 8, true},
                     {"Panel_L", QT_TRANSLATE_NOOP("TDataM1", "坯板长"), "0.000", 14, true},
                     {"Panel_W", QT_TRANSLATE_NOOP("TDataM1", "坯板宽"), "0.000", 14, true},
                     {"Enabled", QT_TRANSLATE_NOOP("TDataM1", "有效"), yesNo, 7, true}});

    apply(Temp_inner, {{"ID", "", "", 5, true},
                       {"Number", "", "", 12, true},
                       {"Panel_L", "", "", 12, true},
                       {"Panel_W", "", "", 12, true},
                       {"Panel_LxW", "", "", 12, true}});

    apply(TempResultCus,
          {{"Number", QT_TRANSLATE_NOOP("TDataM1", "序号"), "", 0, true},
           {"Part_L", "", "0.0000", 0, true},
           {"Part_W", "", "0.0000", 0, true},
           {"Part_C", "", "0.0000", 0, true},
           {"SetBorder_L", QT_TRANSLATE_NOOP("TDataM1", "左右边宽"), "0.0000", 0, true},
           {"SetBorder_W", QT_TRANSLATE_NOOP("TDataM1", "上下边宽"), "0.0000", 0, true},
           {"Set_L", QT_TRANSLATE_NOOP("TDataM1", "成品板长"), "0.0000", 0, true},
           {"Set_W", QT_TRANSLATE_NOOP("TDataM1", "成品板宽"), "0.0000", 0, true},
           {"Panel", QT_TRANSLATE_NOOP("TDataM1", "拼版数"), "", 0, true},
           {"Panel_lv", QT_TRANSLATE_NOOP("TDataM1", "拼板利用率"), "0.000%", 0, true}});

    apply(TempInputCus, {{"Part_L", "", "0.0000", 0, true},
                         {"Part_W", "", "0.0000", 0, true},
                         {"Part_C", "", "0.0000", 0, true},
                         {"SetBorder_L", "", "0.0000", 0, true},
                         {"SetBorder_W", "", "0.0000", 0, true},
                         {"Set_L", "", "0.0000", 0, true},
                         {"Set_W", "", "0.0000", 0, true},
                         {"Min_SetL", "", "0.0000", 0, true},
                         {"Min_SetW", "", "0.0000", 0, true},
                         {"Max_SetL", "", "0.0000", 0, true},
                         {"Max_SetW", "", "0.0000", 0, true},
                         {"Panel_lv", "", "0.000%", 0, true}});

    apply(data0004, {{"Date", "", "yyyy-mm-dd", 0, true}});
    apply(Data0005, {{"Xcoordinate", "", "0.0000", 0, true},
                     {"Ycoordinate", "", "0.0000", 0, true},
                     {"Diameter", "", "0.0000", 0, true}});

    apply(SavedPartsQuery,
          {{"Part_number", QT_TRANSLATE_NOOP("TDataM1", "部件编号"), "", 0, true},
           {"Customer_Part", QT_TRANSLATE_NOOP("TDataM1", "客户型号"), "", 0, true},
           {"Layer", QT_TRANSLATE_NOOP("TDataM1", "层数"), "", 0, true},
           {"Employee", QT_TRANSLATE_NOOP("TDataM1", "操作员"), "", 0, true},
           {"Part_L", QT_TRANSLATE_NOOP("TDataM1", "单元长"), "", 0, true},
           {"Part_W", QT_TRANSLATE_NOOP("TDataM1", "单元宽"), "", 0, true},
           {"Part_C", QT_TRANSLATE_NOOP("TDataM1", "单元距"), "", 0, true},
           {"SetBorder_L", QT_TRANSLATE_NOOP("TDataM1", "成品板边L"), "", 0, true},
           {"SetBorder_W", QT_TRANSLATE_NOOP("TDataM1", "成品板边W"), "", 0, true},
           {"PanelCu", QT_TRANSLATE_NOOP("TDataM1", "成品板拼板数"), "", 0, true},
           {"Panel_lvCu", QT_TRANSLATE_NOOP("TDataM1", "成品拼板率"), "", 0, true},
           {"Set_L", QT_TRANSLATE_NOOP("TDataM1", "成品板长"), "0.000", 0, true},
           {"Set_W", QT_TRANSLATE_NOOP("TDataM1", "成品板宽"), "0.000", 0, true},
           {"Set_C", QT_TRANSLATE_NOOP("TDataM1", "拼板间距"), "0.000", 0, true},
           {"Panel_L", QT_TRANSLATE_NOOP("TDataM1", "Panel1长"), "0.000", 0, true},
           {"Panel_W", QT_TRANSLATE_NOOP("TDataM1", "Panel1宽"), "0.000", 0, true},
           {"Border_L", QT_TRANSLATE_NOOP("TDataM1", "Panel1边距L"), "0.000", 0, true},
           {"Border_W", QT_TRANSLATE_NOOP("TDataM1", "Panel1边距LW"), "0.000", 0, true},
           {"Panel", QT_TRANSLATE_NOOP("TDataM1", "Panel1拼板数"), "", 0, true},
           {"Panel_lv", QT_TRANSLATE_NOOP("TDataM1", "Panel1拼板利用率"), "0.000%", 0, true},
           {"Panel_L2", QT_TRANSLATE_NOOP("TDataM1", "Panel2长"), "0.000", 0, true},
           {"Panel_W2", QT_TRANSLATE_NOOP("TDataM1", "Panel2宽"), "0.000", 0, true},
           {"Border_L2", QT_TRANSLATE_NOOP("TDataM1", "Panel2边距L"), "0.000", 0, true},
           {"Border_W2", QT_TRANSLATE_NOOP("TDataM1", "Panel2边距W"), "0.000", 0, true},
           {"Panel2", QT_TRANSLATE_NOOP("TDataM1", "Panel2拼板数"), "", 0, true},
           {"Panel_lv2", QT_TRANSLATE_NOOP("TDataM1", "Panel2拼板利用率"), "0.000%", 0, true},
           {"Base_L", QT_TRANSLATE_NOOP("TDataM1", "板材长"), "0.00", 0, true},
           {"Base_W", QT_TRANSLATE_NOOP("TDataM1", "板材宽"), "0.00", 0, true},
           {"Panel_N", QT_TRANSLATE_NOOP("TDataM1", "开料数"), "", 0, true},
           {"Base_lv", QT_TRANSLATE_NOOP("TDataM1", "板材利用率"), "0.000%", 0, true},
           {"Date", QT_TRANSLATE_NOOP("TDataM1", "日期"), "", 0, true},
           {"Time", QT_TRANSLATE_NOOP("TDataM1", "时间"), "##:##:##", 0, true}});
    SavedPartsQuery.addCalculatedField(QStringLiteral("SetSize"),
                                       QCoreApplication::translate("TDataM1", "成品板尺寸"),
                                       pair("Set_L", "Set_W", "0.000", kTimes));
    SavedPartsQuery.addCalculatedField(QStringLiteral("Panel1Size"),
                                       QCoreApplication::translate("TDataM1", "坯板1尺寸"),
                                       pair("Panel_L", "Panel_W", "0.000", kTimes));
    SavedPartsQuery.addCalculatedField(QStringLiteral("Panel1bian"),
                                       QCoreApplication::translate("TDataM1", "边距1(左右/上下)"),
                                       pair("Border_L", "Border_W", "0.000", u'/'));
    SavedPartsQuery.addCalculatedField(QStringLiteral("Panel2Size"),
                                       QCoreApplication::translate("TDataM1", "坯板2尺寸"),
                                       pair("Panel_L2", "Panel_W2", "0.000", kTimes, panel2, true));
    SavedPartsQuery.addCalculatedField(QStringLiteral("Panel2bian"),
                                       QCoreApplication::translate("TDataM1", "边距2(左右/上下)"),
                                       pair("Border_L2", "Border_W2", "0.000", u'/', panel2, true));
    SavedPartsQuery.addCalculatedField(QStringLiteral("BaseSize"),
                                       QCoreApplication::translate("TDataM1", "板材尺寸"),
                                       pair("Base_L", "Base_W", "0.00", kTimes));

    apply(PartToolingQuery,
          {{"SerialNumber", QT_TRANSLATE_NOOP("TDataM1", "序号"), "", 0, true},
           {"Xcoordinate", QT_TRANSLATE_NOOP("TDataM1", "X 坐标"), "0.0000", 0, true},
           {"Ycoordinate", QT_TRANSLATE_NOOP("TDataM1", "Y 坐标"), "0.0000", 0, true},
           {"Diameter", QT_TRANSLATE_NOOP("TDataM1", "孔径"), "0.0000", 0, true}});
}

// ---- the module's own rules -------------------------------------------------------

void TDataM1::setUpRules() {
    TempResult.afterOpen = [this](Cursor&) {
        resultBoards.Clear();
        emit allPanelsCommandsEnabled(true);
    };
    TempResult.afterClose = [this](Cursor&) {
        resultBoards.Clear();
        emit allPanelsCommandsEnabled(false);
    };
    TempResultCus.afterOpen = [this](Cursor&) { arrayResultUnits.Clear(); };
    TempResultCus.afterClose = [this](Cursor&) { arrayResultUnits.Clear(); };

    SetBase.afterInsert = [](Cursor& c) { c.setValue(QStringLiteral("Enbled"), true); };

    setUpNumbering(SetPanel, Numbered::SetPanel, QStringLiteral("Number"));
    setUpNumbering(SetTooling, Numbered::SetTooling, QStringLiteral("SerialNumber"));
    setUpNumbering(TempTooling, Numbered::TempTooling, QStringLiteral("SerialNumber"));

    // A hole posted without a panel type takes the one its filter shows.
    TempTooling.beforePost = [](Cursor& c) {
        const QString type = QStringLiteral("PanelType");
        if (!c.asString(type).isEmpty())
            return;
        static const QString kinds[] = {QStringLiteral("Panel1"), QStringLiteral("Panel2"),
                                        QStringLiteral("Array")};
        for (const QString& kind : kinds)
            if (c.filter() == QStringLiteral("PanelType='%1'").arg(kind))
                c.setValue(type, kind);
    };

    // Keep a posted tooling preset in view while its window redraws the
    // preview, which walks the cursor. Errors here are of no consequence.
    SetTooling.afterPost = [this](Cursor& c) {
        const bool detached = !c.controlsDisabled();
        if (detached)
            c.disableControls();
        try {
            const QVariantList key{c.value(QStringLiteral("Type")),
                                   c.value(QStringLiteral("SerialNumber"))};
            emit toolingPresetPosted();
            c.locate(QStringLiteral("Type;SerialNumber"), key);
        } catch (...) {
        }
        if (detached)
            c.enableControls();
    };
}

void TDataM1::setUpNumbering(Cursor& cursor, Numbered table, const QString& numberField) {
    const bool presetWindow = table != Numbered::TempTooling;

    cursor.beforeInsert = [=, this](Cursor& c) {
        // 1. The owning grid stops following; the number becomes writable.
        c.disableControls();
        if (presetWindow)
            c.setFieldReadOnly(numberField, false);
        try {
            // 2. The number the new row gets.
            QString& mode = m_insertMode[int(table)];
            bool makeRoom = false;
            if (mode.isEmpty()) {
                m_nextNumber = 1;
            } else if (mode == u"Up" || mode == u"Down") {
                if (c.isEmpty()) {
                    m_nextNumber = 1;
                } else {
                    m_nextNumber = c.asInt(numberField) + (mode == u"Down" ? 1 : 0);
                    makeRoom = true;
                }
            }
            // 3. Make room: every shown row numbered N or more moves up by one,
            //    walking from the last row back. This walk is the module's own
            //    and does not count as the user scrolling to the end.
            if (makeRoom) {
                mode.clear();
                m_numbering = true;
                c.last();
                while (!c.bof() && c.asInt(numberField) >= m_nextNumber) {
                    c.edit();
                    c.setValue(numberField, c.asInt(numberField) + 1);
                    c.prior();
                }
                m_numbering = false;
            }
        } catch (...) {
            m_numbering = false;
            if (presetWindow)
                c.setFieldReadOnly(numberField, true);
            c.enableControls();
            throw;
        }
    };

    cursor.afterInsert = [=, this](Cursor& c) {
        try {
            // 5. A new preset is of the type its window shows.
            if (table == Numbered::SetTooling)
                c.setValue(QStringLiteral("Type"), m_toolingPresetType);
            // 6. Number it, post it, and leave it open for typing.
            if (m_nextNumber > 0) {
                c.setValue(numberField, m_nextNumber);
                if (table == Numbered::SetPanel)
                    c.setValue(QStringLiteral("Enabled"), true);
                c.post();
                c.edit();
            }
        } catch (...) {
            if (presetWindow)
                c.setFieldReadOnly(numberField, true);
            c.enableControls();
            throw;
        }
        // 7. The grid follows again; the number is read-only again.
        if (presetWindow)
            c.setFieldReadOnly(numberField, true);
        c.enableControls();
        emit numberedRowInserted(&c);
    };

    // Coming to rest past the last row prepares the next insert below it.
    cursor.afterScroll = [=, this](Cursor& c) {
        if (!m_numbering && c.eof())
            m_insertMode[int(table)] = QStringLiteral("Down");
    };
    if (presetWindow)
        cursor.setFieldReadOnly(numberField, true);
}

} // namespace vorn
