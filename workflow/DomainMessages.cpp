#include "DomainMessages.h"

#include <QCoreApplication>

namespace vorn {

namespace {

QString Num(double v) {
    return QString::number(v, 'g', 15);
}

// What has too many pieces along a side, after its fields.
QString CrowdWords(DomainProblem::Crowd crowd) {
    switch (crowd) {
    case DomainProblem::Crowd::PanelLimits:
        return QCoreApplication::translate("DomainMessages", "Panel尺寸上限内一边可排的成品板太多");
    case DomainProblem::Crowd::PresetPanels:
        return QCoreApplication::translate("DomainMessages",
                                           "Panel设定中的Panel一边可排的成品板太多");
    case DomainProblem::Crowd::Sheets:
        return QCoreApplication::translate("DomainMessages", "板材一边可排的Panel太多");
    case DomainProblem::Crowd::ArrayLimits:
        return QCoreApplication::translate("DomainMessages", "Array尺寸上限内一边可排的单元太多");
    case DomainProblem::Crowd::TypedPanel:
        return QCoreApplication::translate("DomainMessages", "所给Panel一边可排的成品板太多");
    case DomainProblem::Crowd::TypedArray:
        return QCoreApplication::translate("DomainMessages", "所给Array一边可排的单元太多");
    case DomainProblem::Crowd::Layout:
        return QCoreApplication::translate("DomainMessages", "一边可排的件数太多");
    }
    return {};
}

// The engine's refusals, as it words them; the windows show their translation.
[[maybe_unused]] const char* const kEngineRefusals[] = {
    QT_TRANSLATE_NOOP("EngineRefusal", "   请给出适当的\"成品尺寸\" ！   "),
    QT_TRANSLATE_NOOP("EngineRefusal", "   请给出适当的\"Panel尺寸\" ！   "),
    QT_TRANSLATE_NOOP("EngineRefusal", "   请选定有效板材！！   "),
    QT_TRANSLATE_NOOP("EngineRefusal", "   请给出适当的\"单元尺寸\" ！   "),
    QT_TRANSLATE_NOOP("EngineRefusal", "   请给出适当的\"Arrey尺寸\" ！   "),
    QT_TRANSLATE_NOOP("EngineRefusal", "   成品板尺寸不能为\"0\" ！   "),
    QT_TRANSLATE_NOOP("EngineRefusal", "   单元尺寸不能为\"0\" ！   "),
};

} // namespace

QString RefusalMessage(const std::string& refusal) {
    return QCoreApplication::translate("EngineRefusal", refusal.c_str());
}

QString DomainMessage(const DomainProblem& p) {
    using Kind = DomainProblem::Kind;
    QString name = QString::fromStdString(p.field);
    if (p.source == DomainProblem::Source::Sheet)
        name = QCoreApplication::translate("DomainMessages", "板材设定中的 ") + name;
    else if (p.source == DomainProblem::Source::Preset)
        name = QCoreApplication::translate("DomainMessages", "Panel设定中的 ") + name;
    const QString tooLong = QCoreApplication::translate("DomainMessages", "，无法在合理时间内算完");
    switch (p.kind) {
    case Kind::None:
        return {};
    case Kind::NotFinite:
        return QCoreApplication::translate("DomainMessages", "%1 不是有效的数值").arg(name);
    case Kind::OutOfRange:
        return QCoreApplication::translate("DomainMessages", "%1 = %2 超出允许范围 %3 ~ %4 %5")
            .arg(name, Num(p.value), Num(p.low), Num(p.high), QString::fromStdString(p.unit));
    case Kind::BelowMinimum:
        return QCoreApplication::translate("DomainMessages", "%1 = %2 小于允许的最小值 %3")
            .arg(name, Num(p.value), Num(p.low));
    case Kind::NotOneOrTwo:
        return QCoreApplication::translate("DomainMessages", "%1 = '%2' 只能是 1 或 2")
            .arg(name, QString::fromStdString(p.text));
    case Kind::TooManyAlongSide: {
        const QString what =
            name.isEmpty()
                ? CrowdWords(p.crowd)
                : name + QCoreApplication::translate("DomainMessages", "：") + CrowdWords(p.crowd);
        return QCoreApplication::translate("DomainMessages", "%1（%2，最多 %3）")
                   .arg(what, Num(p.count), Num(p.limit)) +
               tooLong;
    }
    case Kind::TooMuchSearchWork: {
        QString t =
            name + QCoreApplication::translate(
                       "DomainMessages", "：这么小的成品板在此Panel尺寸上限内搜索约需 %1 秒、%2 MB"
                                         "（最多 %3 秒、%4 MB）")
                       .arg(Num(p.count), Num(p.value), Num(p.limit), Num(p.high));
        if (p.low > 0)
            t += QCoreApplication::translate("DomainMessages",
                                             "；改为 Max_PL = %1、Max_PW = %2 %3 即可")
                     .arg(Num(p.alongLength), Num(p.alongWidth), QString::fromStdString(p.unit));
        if (p.text == "1")
            t += p.low > 0 ? QCoreApplication::translate("DomainMessages",
                                                         "，或改为一种Panel（PanelNumber = 1）")
                           : QCoreApplication::translate("DomainMessages",
                                                         "；改为一种Panel（PanelNumber = 1）即可");
        return t;
    }
    }
    return {};
}

} // namespace vorn
