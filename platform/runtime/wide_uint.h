#pragma once

// Fixed-size unsigned integer wide enough for the intermediate values of decimal arithmetic: a 96-bit
// magnitude scaled by up to 10^57 before a division, or the 192-bit product of two magnitudes.
// Internal to the runtime library.

#include <array>
#include <cstdint>

namespace rt::detail {

using u128 = unsigned __int128;

class WideUInt {
public:
    static constexpr int kLimbs = 12; // 384 bits

    WideUInt() { limbs_.fill(0); }
    static WideUInt fromU128(u128 v)
    {
        WideUInt w;
        for (int i = 0; i < 4; ++i) {
            w.limbs_[i] = static_cast<uint32_t>(v);
            v >>= 32;
        }
        return w;
    }

    bool isZero() const
    {
        for (uint32_t l : limbs_)
            if (l != 0)
                return false;
        return true;
    }

    // True when the value needs more than 96 bits.
    bool exceeds96() const
    {
        for (int i = 3; i < kLimbs; ++i)
            if (limbs_[i] != 0)
                return true;
        return false;
    }

    // Only meaningful when the value fits 128 bits.
    u128 low128() const
    {
        u128 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 32) | limbs_[i];
        return v;
    }

    int bitLength() const
    {
        for (int i = kLimbs - 1; i >= 0; --i)
            if (limbs_[i] != 0)
                return i * 32 + (32 - __builtin_clz(limbs_[i]));
        return 0;
    }

    bool isOdd() const { return (limbs_[0] & 1u) != 0; }

    // The caller keeps the value inside 384 bits; the top carry is dropped otherwise.
    void mulSmall(uint32_t m)
    {
        uint64_t carry = 0;
        for (uint32_t& l : limbs_) {
            const uint64_t p = uint64_t(l) * m + carry;
            l = static_cast<uint32_t>(p);
            carry = p >> 32;
        }
    }

    void addSmall(uint32_t a)
    {
        uint64_t carry = a;
        for (int i = 0; i < kLimbs && carry != 0; ++i) {
            const uint64_t s = uint64_t(limbs_[i]) + carry;
            limbs_[i] = static_cast<uint32_t>(s);
            carry = s >> 32;
        }
    }

    // Divides in place and returns the remainder.
    uint32_t divSmall(uint32_t d)
    {
        uint64_t rem = 0;
        for (int i = kLimbs - 1; i >= 0; --i) {
            const uint64_t cur = (rem << 32) | limbs_[i];
            limbs_[i] = static_cast<uint32_t>(cur / d);
            rem = cur % d;
        }
        return static_cast<uint32_t>(rem);
    }

    // Divides in place by a divisor below 2^96 (not zero) and returns the remainder.
    u128 divBy96(u128 d)
    {
        u128 rem = 0;
        for (int i = kLimbs - 1; i >= 0; --i) {
            const u128 cur = (rem << 32) | limbs_[i]; // rem < d < 2^96: no overflow
            limbs_[i] = static_cast<uint32_t>(cur / d);
            rem = cur % d;
        }
        return rem;
    }

    void mulPow10(int n)
    {
        while (n >= 9) {
            mulSmall(1000000000u);
            n -= 9;
        }
        static constexpr uint32_t kPow[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
        if (n > 0)
            mulSmall(kPow[n]);
    }

    static WideUInt multiply(const WideUInt& a, const WideUInt& b)
    {
        WideUInt r;
        for (int i = 0; i < kLimbs; ++i) {
            if (a.limbs_[i] == 0)
                continue;
            uint64_t carry = 0;
            for (int j = 0; i + j < kLimbs; ++j) {
                const uint64_t p = uint64_t(a.limbs_[i]) * b.limbs_[j] + r.limbs_[i + j] + carry;
                r.limbs_[i + j] = static_cast<uint32_t>(p);
                carry = p >> 32;
            }
        }
        return r;
    }

    static WideUInt add(const WideUInt& a, const WideUInt& b)
    {
        WideUInt r;
        uint64_t carry = 0;
        for (int i = 0; i < kLimbs; ++i) {
            const uint64_t s = uint64_t(a.limbs_[i]) + b.limbs_[i] + carry;
            r.limbs_[i] = static_cast<uint32_t>(s);
            carry = s >> 32;
        }
        return r;
    }

    // a - b for a >= b.
    static WideUInt subtract(const WideUInt& a, const WideUInt& b)
    {
        WideUInt r;
        int64_t borrow = 0;
        for (int i = 0; i < kLimbs; ++i) {
            int64_t d = int64_t(a.limbs_[i]) - b.limbs_[i] - borrow;
            borrow = d < 0 ? 1 : 0;
            if (d < 0)
                d += int64_t(1) << 32;
            r.limbs_[i] = static_cast<uint32_t>(d);
        }
        return r;
    }

    static int compare(const WideUInt& a, const WideUInt& b)
    {
        for (int i = kLimbs - 1; i >= 0; --i) {
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

private:
    std::array<uint32_t, kLimbs> limbs_;
};

} // namespace rt::detail
