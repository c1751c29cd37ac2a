#include "ResultSinks.h"

#include "Cursor.h"

#include <QVariant>

namespace vorn {

namespace {

const char* const kResultFields[] = {
    "Set_L",      "Set_W",    "Set_C",    "Panel_L",   "Panel_W",   "Border_L", "Border_W",
    "Set_La",     "Set_Wb",   "Set_Lb",   "Set_Wa",    "Set_sLa",   "Set_sWb",  "Up",
    "Panel",      "Panel_lv", "P_La",     "P_Wb",      "P_Lb",      "P_Wa",     "P_sLa",
    "P_sWb",      "P_up",     "Panel_N",  "Base_L",    "Base_W",    "Base_lv",  "Base_down",
    "Panel_down", "Panel_L2", "Panel_W2", "Border_L2", "Border_W2", "Set_La2",  "Set_Wb2",
    "Set_Lb2",    "Set_Wa2",  "Set_sLa2", "Set_sWb2",  "Up2",       "Panel2",   "Panel_lv2",
    "P_La2",      "P_Wb2",    "P_Lb2",    "P_Wa2"};
static_assert(std::size(kResultFields) <= 48);

const char* const kArrayFields[] = {"Part_L",  "Part_W", "Part_C",   "SetBorder_L", "SetBorder_W",
                                    "Set_L",   "Set_W",  "Part_La",  "Part_Wb",     "Part_Lb",
                                    "Part_Wa", "Panel",  "Panel_lv", "Panel_Down"};
static_assert(std::size(kArrayFields) <= 15);

QString Letter(char c) {
    return QString(QChar::fromLatin1(c));
}

} // namespace

ResultTableSink::ResultTableSink(Cursor& table) : table_(table) {
    for (size_t i = 0; i < std::size(kResultFields); ++i)
        f_[i] = table.fieldIndex(QString::fromLatin1(kResultFields[i]));
    clock_.start();
}

void ResultTableSink::Write(const ResultRow& r) {
    const std::int64_t start = clock_.nsecsElapsed();
    Cursor& t = table_;
    int i = 0;
    auto put = [&](const QVariant& v) { t.setValue(f_[size_t(i++)], v); };
    auto skip = [&] { ++i; };
    t.append();
    put(r.Set_L);
    put(r.Set_W);
    put(r.Set_C);
    put(r.Panel_L);
    put(r.Panel_W);
    put(r.Border_L);
    put(r.Border_W);
    put(r.Set_La);
    put(r.Set_Wb);
    put(r.Set_Lb);
    put(r.Set_Wa);
    put(r.Set_sLa);
    put(r.Set_sWb);
    put(Letter(r.Up));
    put(r.Panel);
    put(r.Panel_lv);
    put(r.P_La);
    put(r.P_Wb);
    put(r.P_Lb);
    put(r.P_Wa);
    r.P_sLa ? put(*r.P_sLa) : skip();
    r.P_sWb ? put(*r.P_sWb) : skip();
    put(Letter(r.P_up));
    put(r.Panel_N);
    put(r.Base_L);
    put(r.Base_W);
    put(r.Base_lv);
    put(r.Base_down);
    put(r.Panel_down);
    if (const auto& s = r.second) {
        put(s->Panel_L2);
        put(s->Panel_W2);
        put(s->Border_L2);
        put(s->Border_W2);
        put(s->Set_La2);
        put(s->Set_Wb2);
        put(s->Set_Lb2);
        put(s->Set_Wa2);
        put(s->Set_sLa2);
        put(s->Set_sWb2);
        put(Letter(s->Up2));
        put(s->Panel2);
        put(s->Panel_lv2);
        put(s->P_La2);
        put(s->P_Wb2);
        put(s->P_Lb2);
        put(s->P_Wa2);
    }
    t.post();
    ++rows_;
    ns_ += clock_.nsecsElapsed() - start;
}

ArrayTableSink::ArrayTableSink(Cursor& table) : table_(table) {
    for (size_t i = 0; i < std::size(kArrayFields); ++i)
        f_[i] = table.fieldIndex(QString::fromLatin1(kArrayFields[i]));
    clock_.start();
}

void ArrayTableSink::Write(const ArrayRow& r) {
    const std::int64_t start = clock_.nsecsElapsed();
    Cursor& t = table_;
    int i = 0;
    auto put = [&](const QVariant& v) { t.setValue(f_[size_t(i++)], v); };
    t.append();
    put(r.Part_L);
    put(r.Part_W);
    put(r.Part_C);
    put(r.SetBorder_L);
    put(r.SetBorder_W);
    put(r.Set_L);
    put(r.Set_W);
    put(r.Part_La);
    put(r.Part_Wb);
    put(r.Part_Lb);
    put(r.Part_Wa);
    put(r.Panel);
    put(r.Panel_lv);
    put(r.Panel_Down);
    t.post();
    ++rows_;
    ns_ += clock_.nsecsElapsed() - start;
}

void NumberInSortOrder(Cursor& table, const char* sort, const std::function<void()>& tick) {
    const QString order = QString::fromLatin1(sort);
    table.setFiltered(false);
    table.setSort(order);
    // Frozen order: an edited row stays where it is.
    table.setSort(QString());
    const int number = table.fieldIndex(QStringLiteral("Number"));
    table.first();
    for (int n = 1; !table.eof(); ++n) {
        table.edit();
        table.setValue(number, n);
        table.post();
        table.next();
        if (tick && n % 4096 == 0)
            tick();
    }
    // Equal keys keep the order written, so this sort moves nothing.
    table.setSort(order);
    table.first();
}

} // namespace vorn
