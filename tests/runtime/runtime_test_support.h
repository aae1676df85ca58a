#pragma once

#include "platform/runtime/decimal.h"
#include "platform/runtime/runtime_error.h"

#include <QString>
#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace rt::testing {

// A decimal from invariant text; fails the test when the text does not read.
inline Decimal dec(const char* text)
{
    const auto d = Decimal::tryFromInvariantText(QString::fromLatin1(text));
    EXPECT_TRUE(d.has_value()) << text;
    return d.value_or(Decimal());
}

inline std::string inv(const Decimal& d)
{
    return d.toInvariantString().toStdString();
}

// Runs f and returns the number of the RuntimeError it raised, 0 when it raised none.
template <typename F> int errorNumberOf(F&& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace rt::testing
