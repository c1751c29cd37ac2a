#pragma once
// One column of a cursor's rows. While the column holds few distinct values
// (a search's million rows repeat a few hundred sizes, counts and letters)
// each row keeps one or two bytes, an index into those values; past 65,536
// distinct values the column keeps the values themselves. Values come back
// exactly as stored (numbers bit for bit, a null text as null).

#include <QHash>
#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace vorn {

namespace coded {

// Distinct numbers by their bits (so -0.0, 0.0 and a null NaN stay apart).
class NumberCodes {
public:
    using Value = double;
    const double& at(std::uint32_t code) const { return m_values[code]; }
    std::size_t count() const { return m_values.size(); }
    std::size_t bytes() const {
        return m_values.capacity() * sizeof(double) + m_slots.capacity() * sizeof(std::int32_t);
    }
    void clear() {
        m_values.clear();
        m_slots.clear();
        m_hasLast = false;
    }
    void release() {
        std::vector<double>().swap(m_values);
        std::vector<std::int32_t>().swap(m_slots);
        m_hasLast = false;
    }
    std::uint32_t find(double v) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        if (m_hasLast && bits == m_lastBits) // rows in a row often repeat a value
            return m_lastCode;
        if (m_slots.empty()) {
            m_slots.assign(64, -1);
            m_shift = 64 - 6;
        }
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = slotOf(bits, m_shift);
        while (m_slots[i] >= 0 &&
               std::bit_cast<std::uint64_t>(m_values[std::size_t(m_slots[i])]) != bits)
            i = (i + 1) & mask;
        std::uint32_t code;
        if (m_slots[i] < 0) {
            code = std::uint32_t(m_values.size());
            m_slots[i] = std::int32_t(code);
            m_values.push_back(v);
            if (m_values.size() * 2 > m_slots.size())
                rehash();
        } else {
            code = std::uint32_t(m_slots[i]);
        }
        m_lastBits = bits;
        m_lastCode = code;
        m_hasLast = true;
        return m_lastCode;
    }

private:
    // The product's top bits: they depend on every bit of the value (the
    // low bits of a round number's double are all zero).
    static std::size_t slotOf(std::uint64_t bits, int shift) {
        return std::size_t((bits * 0x9E3779B97F4A7C15ULL) >> shift);
    }
    void rehash() {
        std::vector<std::int32_t> table(m_slots.size() * 2, -1);
        const std::size_t mask = table.size() - 1;
        --m_shift;
        for (std::size_t code = 0; code < m_values.size(); ++code) {
            std::size_t i = slotOf(std::bit_cast<std::uint64_t>(m_values[code]), m_shift);
            while (table[i] >= 0)
                i = (i + 1) & mask;
            table[i] = std::int32_t(code);
        }
        m_slots.swap(table);
    }

    std::vector<double> m_values;
    std::vector<std::int32_t> m_slots; // code or -1, by the bits' hash
    int m_shift = 64;                  // 64 - log2(slots)
    std::uint64_t m_lastBits = 0;
    std::uint32_t m_lastCode = 0;
    bool m_hasLast = false;
};

// Distinct texts; code 0 is the null text (an empty one is another value).
class TextCodes {
public:
    using Value = QString;
    TextCodes() { clear(); }
    const QString& at(std::uint32_t code) const { return m_values[code]; }
    std::size_t count() const { return m_values.size(); }
    std::size_t bytes() const {
        return m_values.size() * (sizeof(QString) + 16) + std::size_t(m_codes.capacity()) * 32;
    }
    void clear() {
        m_values.clear();
        m_values.emplace_back();
        m_codes.clear();
        m_last = QString();
        m_lastCode = 0;
    }
    void release() {
        std::deque<QString>().swap(m_values);
        m_values.emplace_back();
        QHash<QString, std::uint32_t>().swap(m_codes);
        m_last = QString();
        m_lastCode = 0;
    }
    std::uint32_t find(const QString& v) {
        if (v.isNull())
            return 0;
        // Writers share one text per value: the same data is the same text.
        if (!m_last.isNull() && v.constData() == m_last.constData() && v.size() == m_last.size())
            return m_lastCode;
        auto it = m_codes.constFind(v);
        if (it == m_codes.cend()) {
            it = m_codes.insert(v, std::uint32_t(m_values.size()));
            m_values.push_back(v);
        }
        m_last = v;
        m_lastCode = *it;
        return m_lastCode;
    }

private:
    std::deque<QString> m_values; // stable: readers hold references
    QHash<QString, std::uint32_t> m_codes;
    QString m_last;
    std::uint32_t m_lastCode = 0;
};

} // namespace coded

// The column: reads give a value, writes go through set() or a reference
// from operator[], as with a vector.
template <class Codes> class CodedColumn {
public:
    using T = typename Codes::Value;

    class Ref {
    public:
        Ref& operator=(const T& v) {
            m_column.set(m_index, v);
            return *this;
        }
        Ref& operator=(const Ref& other) { return *this = T(other); }
        operator const T&() const { return m_column.get(m_index); }

    private:
        friend class CodedColumn;
        Ref(CodedColumn& column, std::size_t index) : m_column(column), m_index(index) {}
        CodedColumn& m_column;
        std::size_t m_index;
    };

    std::size_t size() const {
        return m_width == 1 ? m_bytes.size() : m_width == 2 ? m_shorts.size() : m_raw.size();
    }
    std::size_t capacity() const {
        return m_width == 1   ? m_bytes.capacity()
               : m_width == 2 ? m_shorts.capacity()
                              : m_raw.capacity();
    }
    // Memory held, for the decision to keep storage between uses.
    std::size_t bytes() const {
        return m_bytes.capacity() + m_shorts.capacity() * 2 + m_raw.capacity() * sizeof(T) +
               m_codes.bytes();
    }

    const T& get(std::size_t i) const {
        if (m_width == 1)
            return m_codes.at(m_bytes[i]);
        if (m_width == 2)
            return m_codes.at(m_shorts[i]);
        return m_raw[i];
    }
    const T& operator[](std::size_t i) const { return get(i); }
    Ref operator[](std::size_t i) { return Ref(*this, i); }

    void set(std::size_t i, const T& v) {
        if (m_width == 8) {
            m_raw[i] = v;
            return;
        }
        const std::uint32_t code = codeOf(v);
        if (m_width == 1)
            m_bytes[i] = std::uint8_t(code);
        else if (m_width == 2)
            m_shorts[i] = std::uint16_t(code);
        else
            m_raw[i] = v;
    }

    void reserve(std::size_t n) {
        if (m_width == 1)
            m_bytes.reserve(n);
        else if (m_width == 2)
            m_shorts.reserve(n);
        else
            m_raw.reserve(n);
    }
    void resize(std::size_t n, const T& fill = T()) {
        const std::uint32_t code = n > size() && m_width != 8 ? codeOf(fill) : 0;
        if (m_width == 1)
            m_bytes.resize(n, std::uint8_t(code));
        else if (m_width == 2)
            m_shorts.resize(n, std::uint16_t(code));
        else
            m_raw.resize(n, fill);
    }
    void push_back(const T& v) { resize(size() + 1, v); }
    void emplace_back() { push_back(T()); }
    void pop_back() { resize(size() - 1); }
    // Empty, keeping the storage.
    void clear() {
        m_bytes.clear();
        m_shorts.clear();
        m_raw.clear();
        m_codes.clear();
        m_width = 1;
    }
    // Empty, giving the storage back.
    void release() {
        std::vector<std::uint8_t>().swap(m_bytes);
        std::vector<std::uint16_t>().swap(m_shorts);
        std::vector<T>().swap(m_raw);
        m_codes.release();
        m_width = 1;
    }

private:
    // The value's code; a new value may widen the rows' codes, or end coding.
    std::uint32_t codeOf(const T& v) {
        const std::uint32_t code = m_codes.find(v);
        if (m_width == 1 && code > 0xFF) {
            m_shorts.reserve(m_bytes.capacity());
            m_shorts.assign(m_bytes.begin(), m_bytes.end());
            std::vector<std::uint8_t>().swap(m_bytes);
            m_width = 2;
        }
        if (m_width == 2 && code > 0xFFFF) {
            m_raw.reserve(m_shorts.capacity());
            for (const std::uint16_t c : m_shorts)
                m_raw.push_back(m_codes.at(c));
            std::vector<std::uint16_t>().swap(m_shorts);
            m_codes.release();
            m_width = 8;
        }
        return code;
    }

    Codes m_codes;
    std::vector<std::uint8_t> m_bytes;
    std::vector<std::uint16_t> m_shorts;
    std::vector<T> m_raw;
    int m_width = 1; // bytes of a row's code; 8: the values themselves
};

using NumberColumn = CodedColumn<coded::NumberCodes>;
using TextColumn = CodedColumn<coded::TextCodes>;

} // namespace vorn
