#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <random>

namespace initdb {

// The demo data must come out the same for a seed on every machine. The
// engine's sequence is fixed by the standard, the distributions' are not, so
// the bounded draws are made here.
class Random
{
public:
    explicit Random(std::uint64_t seed)
        : m_engine(seed)
    {}

    // 0 <= result < n, for n > 0.
    int below(int n) { return int(m_engine() % std::uint64_t(n)); }
    // low <= result <= high.
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int chance) { return below(100) < chance; }

    template<typename T> const T &pick(const QList<T> &items)
    {
        return items.at(below(int(items.size())));
    }

    // A digit string of `count` digits, the first one between `firstLow` and 9.
    QString digits(int count, int firstLow = 0)
    {
        QString text;
        text.reserve(count);
        text += QChar(u'0' + between(firstLow, 9));
        for (int i = 1; i < count; ++i)
            text += QChar(u'0' + below(10));
        return text;
    }

private:
    std::mt19937_64 m_engine;
};

} // namespace initdb
