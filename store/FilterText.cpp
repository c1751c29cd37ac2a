#include "FilterText.h"

#include "DbError.h"

#include <QLocale>

namespace vorn {

namespace {

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    FilterText run() {
        FilterText result;
        skipBlanks();
        if (atEnd())
            return result;
        for (;;) {
            result.conditions.push_back(condition());
            skipBlanks();
            if (atEnd())
                break;
            const QString word = identifier();
            if (word.compare(u"and", Qt::CaseInsensitive) != 0)
                fail(QStringLiteral("\"and\" expected"));
        }
        return result;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw DbError(QStringLiteral("Invalid filter text \"%1\": %2 at position %3.")
                          .arg(m_text, what)
                          .arg(m_pos + 1));
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void skipBlanks() {
        while (!atEnd() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    QString identifier() {
        skipBlanks();
        if (peek() == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_pos + 1);
            if (close < 0)
                fail(QStringLiteral("\"]\" missing"));
            QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
            m_pos = close + 1;
            if (name.isEmpty())
                fail(QStringLiteral("column name expected"));
            return name;
        }
        const qsizetype start = m_pos;
        while (!atEnd() && (peek().isLetterOrNumber() || peek() == u'_'))
            ++m_pos;
        if (m_pos == start)
            fail(QStringLiteral("column name expected"));
        return m_text.mid(start, m_pos - start);
    }

    FilterCondition::Op op() {
        skipBlanks();
        using Op = FilterCondition::Op;
        const QChar c = peek();
        const QChar next = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : QChar();
        if (c == u'=') {
            ++m_pos;
            return Op::Equal;
        }
        if (c == u'<' && next == u'>') {
            m_pos += 2;
            return Op::NotEqual;
        }
        if (c == u'<' && next == u'=') {
            m_pos += 2;
            return Op::LessEqual;
        }
        if (c == u'>' && next == u'=') {
            m_pos += 2;
            return Op::GreaterEqual;
        }
        if (c == u'<') {
            ++m_pos;
            return Op::Less;
        }
        if (c == u'>') {
            ++m_pos;
            return Op::Greater;
        }
        fail(QStringLiteral("comparison (=, <, >) expected"));
    }

    void value(FilterCondition& condition) {
        skipBlanks();
        using Kind = FilterCondition::Kind;
        if (peek() == u'\'') {
            QString text;
            ++m_pos;
            for (;;) {
                if (atEnd())
                    fail(QStringLiteral("closing quote missing"));
                if (peek() == u'\'') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\'') {
                        text += u'\'';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                text += peek();
                ++m_pos;
            }
            condition.kind = Kind::Text;
            condition.text = text;
            return;
        }
        if (peek().isLetter()) {
            const QString word = identifier();
            if (word.compare(u"true", Qt::CaseInsensitive) == 0) {
                condition.kind = Kind::Boolean;
                condition.flag = true;
            } else if (word.compare(u"false", Qt::CaseInsensitive) == 0) {
                condition.kind = Kind::Boolean;
                condition.flag = false;
            } else if (word.compare(u"null", Qt::CaseInsensitive) == 0) {
                condition.kind = Kind::Null;
            } else {
                fail(QStringLiteral("value expected instead of \"%1\"").arg(word));
            }
            return;
        }
        // A number: sign, digits, decimals, exponent.
        const qsizetype start = m_pos;
        if (peek() == u'-' || peek() == u'+')
            ++m_pos;
        while (!atEnd() && (peek().isDigit() || peek() == u'.'))
            ++m_pos;
        if (!atEnd() && (peek() == u'e' || peek() == u'E')) {
            ++m_pos;
            if (peek() == u'-' || peek() == u'+')
                ++m_pos;
            while (!atEnd() && peek().isDigit())
                ++m_pos;
        }
        bool ok = false;
        const double number = QLocale::c().toDouble(m_text.mid(start, m_pos - start), &ok);
        if (!ok) {
            m_pos = start;
            fail(QStringLiteral("value expected"));
        }
        condition.kind = Kind::Number;
        condition.number = number;
    }

    FilterCondition condition() {
        FilterCondition c;
        c.column = identifier();
        c.op = op();
        value(c);
        if (c.kind == FilterCondition::Kind::Null && c.op != FilterCondition::Op::Equal &&
            c.op != FilterCondition::Op::NotEqual)
            fail(QStringLiteral("Null can only be tested with = or <>"));
        return c;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

FilterText FilterText::parse(const QString& text) {
    return Parser(text).run();
}

QString FilterText::quote(const QString& value) {
    QString text = value;
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

} // namespace vorn
