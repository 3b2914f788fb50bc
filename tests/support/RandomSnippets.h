#pragma once

// Snippet lists drawn at random from twenty identities, in random order: fed
// to a list model one after another, they insert, remove, move and change rows.

#include "records/Records.h"

#include <QList>

#include <algorithm>
#include <numeric>
#include <random>

namespace kv::test {

inline Snippet snippet(const QString& id, const QString& title) {
    return Snippet{id, id, title, "body", "💬"};
}

// Up to twelve snippets, each titled `title`.
inline QList<Snippet> randomSnippets(std::mt19937& random, const QString& title) {
    QList<int> pool(20);
    std::iota(pool.begin(), pool.end(), 0);
    const int count = std::uniform_int_distribution<int>(0, 12)(random);
    std::shuffle(pool.begin(), pool.end(), random);
    QList<Snippet> list;
    for (int i = 0; i < count; ++i)
        list.append(snippet("s" + QString::number(pool[i]), title));
    return list;
}

} // namespace kv::test
