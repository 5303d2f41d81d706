#pragma once
// Fixed-size value vectors for positions, sizes, grid indices and directions.
// Ordering comparisons hold only when they hold for every component (a partial order):
// `index >= Int3(0,0,0) && index < size` is the engine's range check.

#include <cstdint>
#include <ostream>
#include <type_traits>

template <typename T, int N>
class BasicVector {
public:
    T v[N];

    BasicVector() : v{} {}
    template <typename... A, typename = std::enable_if_t<sizeof...(A) == N>>
    BasicVector(A... a) : v{static_cast<T>(a)...} {}

    T& operator[](int i) { return v[i]; }
    const T& operator[](int i) const { return v[i]; }
    T& x() { return v[0]; }
    T& y() { return v[1]; }
    T& z() {
        static_assert(N >= 3, "z() needs three components");
        return v[2];
    }
    const T& x() const { return v[0]; }
    const T& y() const { return v[1]; }
    const T& z() const {
        static_assert(N >= 3, "z() needs three components");
        return v[2];
    }
    T& width() { return v[0]; }
    T& height() { return v[1]; }
    const T& width() const { return v[0]; }
    const T& height() const { return v[1]; }

    BasicVector& operator+=(const BasicVector& o) {
        for (int i = 0; i < N; ++i) v[i] += o.v[i];
        return *this;
    }
    BasicVector& operator-=(const BasicVector& o) {
        for (int i = 0; i < N; ++i) v[i] -= o.v[i];
        return *this;
    }
    BasicVector operator+(const BasicVector& o) const {
        BasicVector r = *this;
        return r += o;
    }
    BasicVector operator-(const BasicVector& o) const {
        BasicVector r = *this;
        return r -= o;
    }

    // Integer vectors scaled by a float go through float and truncate toward zero.
    template <typename S>
    BasicVector operator*(S factor) const {
        BasicVector r;
        for (int i = 0; i < N; ++i) r.v[i] = scaleComponent(v[i], factor, false);
        return r;
    }
    template <typename S>
    BasicVector operator/(S divisor) const {
        BasicVector r;
        for (int i = 0; i < N; ++i) r.v[i] = scaleComponent(v[i], divisor, true);
        return r;
    }

    // The integer instance converts to the float instance of the same size.
    template <typename U, typename = std::enable_if_t<std::is_integral_v<T> && std::is_floating_point_v<U>>>
    operator BasicVector<U, N>() const {
        BasicVector<U, N> r;
        for (int i = 0; i < N; ++i) r.v[i] = static_cast<U>(v[i]);
        return r;
    }

    bool operator==(const BasicVector& o) const {
        for (int i = 0; i < N; ++i)
            if (!(v[i] == o.v[i])) return false;
        return true;
    }
    bool operator!=(const BasicVector& o) const { return !(*this == o); }
    bool operator<(const BasicVector& o) const {
        for (int i = 0; i < N; ++i)
            if (!(v[i] < o.v[i])) return false;
        return true;
    }
    bool operator<=(const BasicVector& o) const {
        for (int i = 0; i < N; ++i)
            if (!(v[i] <= o.v[i])) return false;
        return true;
    }
    bool operator>(const BasicVector& o) const {
        for (int i = 0; i < N; ++i)
            if (!(v[i] > o.v[i])) return false;
        return true;
    }
    bool operator>=(const BasicVector& o) const {
        for (int i = 0; i < N; ++i)
            if (!(v[i] >= o.v[i])) return false;
        return true;
    }

private:
    // A float factor is taken as a 32-bit float, whatever type the caller wrote.
    template <typename S>
    static T scaleComponent(T c, S f, bool divide) {
        if constexpr (std::is_floating_point_v<S>) {
            float cf = static_cast<float>(c), ff = static_cast<float>(f);
            float r = divide ? cf / ff : cf * ff;
            return static_cast<T>(r);
        } else {
            return divide ? static_cast<T>(c / f) : static_cast<T>(c * f);
        }
    }
};

template <typename T, int N>
std::ostream& operator<<(std::ostream& out, const BasicVector<T, N>& vec) {
    out << "BasicVector<" << N << ",?(sizeof=" << sizeof(T) << ")> (";
    for (int i = 0; i < N; ++i) out << +vec.v[i] << ";";
    return out << ")";
}

typedef BasicVector<int32_t, 3> Int3;
typedef BasicVector<float, 3> Float3;
typedef BasicVector<int32_t, 2> Int2;
typedef BasicVector<float, 2> Float2;
