#include "NewJob.h"

#include "DefaultsList.h"
#include "DomainMessages.h"
#include "InputDomain.h"
#include "Units.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace vorn {

namespace {

struct EntryRule {
    const char* name;
    FieldKind kind;
    std::optional<double> builtIn; // as in the shipped VornInitS.int
};

// A board or unit side of 0 reads as "not given", as an empty entry does.
const EntryRule kRules[] = {
    {"Set_L", FieldKind::Side, std::nullopt},  {"Set_W", FieldKind::Side, std::nullopt},
    {"Set_C", FieldKind::Length, 0.1},         {"BorderX_L", FieldKind::Length, 0.6},
    {"BorderX_W", FieldKind::Length, 0.6},     {"Min_PL", FieldKind::Length, 12},
    {"Min_PW", FieldKind::Length, 10},         {"Max_PL", FieldKind::Length, 24.5},
    {"Max_PW", FieldKind::Length, 20.5},       {"PLPW_ratio", FieldKind::Ratio, 1.5},
    {"Min_lv", FieldKind::Percent, 70},        {"Part_L", FieldKind::Side, std::nullopt},
    {"Part_W", FieldKind::Side, std::nullopt}, {"Part_C", FieldKind::Length, 0.1},
    {"Min_SetL", FieldKind::Length, 3},        {"Min_SetW", FieldKind::Length, 2},
    {"Max_SetL", FieldKind::Length, 10},       {"Max_SetW", FieldKind::Length, 8},
    {"SetBorder_L", FieldKind::Length, 0.2},   {"SetBorder_W", FieldKind::Length, 0.2},
};

const EntryRule* RuleOf(const char* name) {
    for (const EntryRule& r : kRules)
        if (!std::strcmp(r.name, name))
            return &r;
    return nullptr;
}

QString BuiltInText(const std::optional<double>& v) {
    return v ? QCoreApplication::translate("NewJob", "改用内置值 %1")
                   .arg(DefaultsList::LengthText(*v))
             : QCoreApplication::translate("NewJob", "该项留空");
}

// Reports a bad entry (or throws without a list) and gives the built-in value.
std::optional<double> Bad(const char* name, const QString& text, const QString& why,
                          QStringList* problems) {
    const EntryRule* rule = RuleOf(name);
    const std::optional<double> builtIn = rule ? rule->builtIn : std::nullopt;
    const QString message = QCoreApplication::translate("NewJob", "%1: %2=%3 %4；%5")
                                .arg(DefaultsList::FileName(), QString::fromLatin1(name), text, why,
                                     BuiltInText(builtIn));
    if (!problems)
        throw std::runtime_error(message.toStdString());
    problems->append(message);
    return builtIn;
}

} // namespace

std::optional<double> DefaultNumber(const DefaultsList& list, const char* name,
                                    QStringList* problems) {
    const QString text = list.Value(QString::fromLatin1(name)).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return Bad(name, text, QCoreApplication::translate("NewJob", "不是数值"), problems);
    if (const EntryRule* rule = RuleOf(name)) {
        const bool noSide = rule->kind == FieldKind::Side && value == 0;
        const DomainProblem e = FieldRangeProblem(name, value, rule->kind, DisplayUnit::Inch);
        if (!noSide && e)
            return Bad(name, text,
                       QCoreApplication::translate("NewJob", "无效（%1）").arg(DomainMessage(e)),
                       problems);
    }
    return value;
}

std::optional<double> DefaultLength(const DefaultsList& list, const char* name, bool mm,
                                    QStringList* problems) {
    const std::optional<double> inches = DefaultNumber(list, name, problems);
    if (!inches)
        return std::nullopt;
    return InchesToDisplay(*inches, mm);
}

int DefaultPanelKinds(const DefaultsList& list, QStringList* problems) {
    const QString text = list.Value(QStringLiteral("PanelNumber")).trimmed();
    if (text.isEmpty())
        return 1;
    if (text == QLatin1String("1") || text == QLatin1String("2"))
        return text.toInt();
    const QString message =
        QCoreApplication::translate("NewJob", "%1: PanelNumber=%2 只能是 1 或 2；改用 1")
            .arg(DefaultsList::FileName(), text);
    if (problems)
        problems->append(message);
    return 1;
}

} // namespace vorn
