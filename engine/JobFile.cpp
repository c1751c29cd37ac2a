#include "JobFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace vorn {

namespace {

struct Entry {
    int line;
    std::string name; // as written
    std::string value;
};

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string At(int line) {
    return "line " + std::to_string(line) + ": ";
}

// Text for a message: control characters shown as escapes, so a NUL or a
// stray CR neither cuts nor garbles the line.
std::string Shown(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Splits the text into lines ending in CR LF, LF or a bare CR; a UTF-8 byte
// order mark at the start is dropped.
std::vector<std::string> Lines(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        lines.push_back(cur);
    return lines;
}

// Reads every Name=Value line. Only the list names may repeat: a second
// value for any other name is a typo or a pasted line, and taking either one
// silently would run a job the user did not write.
std::string Scan(std::istream& in, std::map<std::string, Entry>& values, std::vector<Entry>& sheets,
                 std::vector<Entry>& presets) {
    std::ostringstream whole;
    whole << in.rdbuf();
    if (in.bad())
        return "the job file could not be read";
    int line = 0;
    for (const std::string& raw : Lines(whole.str())) {
        ++line;
        const std::string text = Trim(raw);
        if (text.empty() || text[0] == '#')
            continue;
        const auto eq = text.find('=');
        if (eq == std::string::npos)
            return At(line) + "expected Name=Value, got '" + Shown(text) + "'";
        Entry e{line, Trim(text.substr(0, eq)), Trim(text.substr(eq + 1))};
        if (e.name.empty())
            return At(line) + "no name before '='";
        const std::string key = Lower(e.name);
        if (key == "sheet")
            sheets.push_back(e);
        else if (key == "preset")
            presets.push_back(e);
        else if (const auto [it, fresh] = values.try_emplace(key, e); !fresh)
            return At(line) + Shown(e.name) + " is given twice (also on line " +
                   std::to_string(it->second.line) + ")";
    }
    return {};
}

// A finite number in the C locale, the whole text.
bool ToNumber(const std::string& s, double& out) {
    if (s.empty())
        return false;
    std::istringstream is(s);
    is.imbue(std::locale::classic());
    double v = 0;
    is >> v;
    if (!is || (!is.eof() && is.peek() != EOF))
        return false;
    if (!std::isfinite(v))
        return false;
    out = v;
    return true;
}

class Reader {
public:
    Reader(const std::map<std::string, Entry>& values) : values_(values) {}

    // The first name the job kind does not read (in line order), as an error:
    // a misspelt name would otherwise leave its value unset without a word.
    void RefuseUnknown(const std::vector<Entry>& lists) {
        if (!error_.empty())
            return;
        const Entry* first = nullptr;
        for (const auto& [key, e] : values_)
            if (!known_.count(key) && (!first || e.line < first->line))
                first = &e;
        for (const Entry& e : lists)
            if (!first || e.line < first->line)
                first = &e;
        if (first)
            error_ = At(first->line) + "unknown name '" + Shown(first->name) + "'";
    }

    // A required length or limit: a number, not negative.
    void Number(const char* name, double& out) {
        if (!error_.empty())
            return;
        auto it = Find(name);
        if (it == values_.end()) {
            // Reading goes on, so that a misspelt name is reported as such.
            if (missing_.empty())
                missing_ = std::string("missing value: ") + name;
            return;
        }
        const Entry& e = it->second;
        if (e.value.empty()) {
            error_ = At(e.line) + Shown(e.name) + " has no value";
            return;
        }
        double v = 0;
        if (!ToNumber(e.value, v)) {
            error_ = At(e.line) + Shown(e.name) + " is not a number: '" + Shown(e.value) + "'";
            return;
        }
        if (v < 0) {
            error_ = At(e.line) + Shown(e.name) + " must not be negative: '" + Shown(e.value) + "'";
            return;
        }
        out = v;
    }

    // "True" or "False" in any letter case; off when absent. Anything else is
    // refused: "ture" or "1" must not quietly turn an option off.
    void Flag(const char* name, bool& out) {
        if (!error_.empty())
            return;
        auto it = Find(name);
        if (it == values_.end()) {
            out = false;
            return;
        }
        const Entry& e = it->second;
        const std::string v = Lower(e.value);
        if (v != "true" && v != "false") {
            error_ =
                At(e.line) + Shown(e.name) + " must be True or False: '" + Shown(e.value) + "'";
            return;
        }
        out = v == "true";
    }

    // A text that must be one of two choices; `absent` when the name is missing.
    void Choice(const char* name, std::string& out, const char* absent, const char* a,
                const char* b) {
        if (!error_.empty())
            return;
        auto it = Find(name);
        if (it == values_.end()) {
            out = absent;
            return;
        }
        const Entry& e = it->second;
        if (e.value != a && e.value != b) {
            error_ = At(e.line) + Shown(e.name) + " must be " + a + " or " + b + ": '" +
                     Shown(e.value) + "'";
            return;
        }
        out = e.value;
    }

    // Off, Routed or VScored in any letter case; off when absent.
    void Packing(const char* name, PackingOption& out) {
        if (!error_.empty())
            return;
        auto it = Find(name);
        if (it == values_.end()) {
            out = PackingOption::Off;
            return;
        }
        const Entry& e = it->second;
        const std::string v = Lower(e.value);
        for (PackingOption o : {PackingOption::Off, PackingOption::Routed, PackingOption::VScored})
            if (Lower(o == PackingOption::Off ? "Off" : PackingOptionWord(o)) == v) {
                out = o;
                return;
            }
        error_ = At(e.line) + Shown(e.name) + " must be Off, Routed or VScored: '" +
                 Shown(e.value) + "'";
    }

    void Size(const Entry& e, double& a, double& b) {
        if (!error_.empty())
            return;
        const auto x = e.value.find_first_of("xX");
        if (x == std::string::npos || !ToNumber(Trim(e.value.substr(0, x)), a) ||
            !ToNumber(Trim(e.value.substr(x + 1)), b)) {
            error_ = At(e.line) + Shown(e.name) + " is not a size LxW: '" + Shown(e.value) + "'";
            return;
        }
        if (!(a > 0 && b > 0))
            error_ = At(e.line) + Shown(e.name) + " must have two positive sides: '" +
                     Shown(e.value) + "'";
    }

    const std::string& Error() const { return error_.empty() ? missing_ : error_; }

private:
    std::map<std::string, Entry>::const_iterator Find(const char* name) {
        std::string key = Lower(name);
        auto it = values_.find(key);
        known_.insert(std::move(key));
        return it;
    }

    const std::map<std::string, Entry>& values_;
    std::set<std::string> known_;
    std::string error_, missing_;
};

} // namespace

std::string ReadPanelJob(std::istream& in, PanelJob& job) {
    std::map<std::string, Entry> values;
    std::vector<Entry> sheets, presets;
    if (std::string e = Scan(in, values, sheets, presets); !e.empty())
        return e;
    PanelJob j;
    Reader r(values);
    r.Number("Set_L", j.Set_L);
    r.Number("Set_W", j.Set_W);
    r.Number("Set_C", j.Set_C);
    r.Number("BorderX_L", j.BorderX_L);
    r.Number("BorderX_W", j.BorderX_W);
    r.Number("Min_PL", j.Min_PL);
    r.Number("Min_PW", j.Min_PW);
    r.Number("Max_PL", j.Max_PL);
    r.Number("Max_PW", j.Max_PW);
    r.Number("PLPW_ratio", j.PLPW_ratio);
    r.Number("Min_lv", j.Min_lv);
    r.Choice("PanelNumber", j.PanelNumber, "1", "1", "2");
    r.Flag("AUTOPanel", j.AUTOPanel);
    r.Flag("GoodBase", j.GoodBase);
    r.Flag("BothPanel", j.BothPanel);
    r.Flag("BothBase", j.BothBase);
    r.Packing("BestPacking", j.packing);
    for (const Entry& e : sheets) {
        SheetSize s;
        r.Size(e, s.Base_L, s.Base_W);
        j.sheets.push_back(s);
    }
    for (const Entry& e : presets) {
        PresetSize p;
        r.Size(e, p.Panel_L, p.Panel_W);
        j.presets.push_back(p);
    }
    r.RefuseUnknown({});
    if (!r.Error().empty())
        return r.Error();
    job = std::move(j);
    return {};
}

std::string ReadArrayJob(std::istream& in, ArrayJob& job) {
    std::map<std::string, Entry> values;
    std::vector<Entry> sheets, presets;
    if (std::string e = Scan(in, values, sheets, presets); !e.empty())
        return e;
    ArrayJob j;
    Reader r(values);
    r.Number("Part_L", j.Part_L);
    r.Number("Part_W", j.Part_W);
    r.Number("Part_C", j.Part_C);
    r.Number("SetBorder_L", j.SetBorder_L);
    r.Number("SetBorder_W", j.SetBorder_W);
    r.Number("Min_SetL", j.Min_SetL);
    r.Number("Min_SetW", j.Min_SetW);
    r.Number("Max_SetL", j.Max_SetL);
    r.Number("Max_SetW", j.Max_SetW);
    r.Packing("BestPacking", j.packing);
    // Sheets and presets belong to panel jobs only.
    std::vector<Entry> lists = sheets;
    lists.insert(lists.end(), presets.begin(), presets.end());
    r.RefuseUnknown(lists);
    if (!r.Error().empty())
        return r.Error();
    job = j;
    return {};
}

} // namespace vorn
