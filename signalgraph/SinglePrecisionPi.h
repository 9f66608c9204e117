#pragma once

namespace corvane::spi {

// Pi and its multiples as single-precision values widened to double, and their reciprocals. The
// band filters' designs and the oscillator's shapes have always used these; the true values would
// move every coefficient and sample in the last bits.
inline constexpr double Pi = 3.1415927410125732;
inline constexpr double HalfPi = 1.5707963705062866;
inline constexpr double ThreeHalvesPi = 4.71238899230957;
inline constexpr double TwoPi = 6.2831854820251465;
inline constexpr double FourPi = 12.566370964050293;
inline constexpr double InversePi = 0.31830987732601135; // 1 / Pi, in double
inline constexpr double TwoOverPi = 0.6366197546520227;  // 2 / Pi, in double

// The multiples are exact floats; the reciprocals are those of the float pi.
constexpr bool isFloat(double x)
{
    return static_cast<double>(static_cast<float>(x)) == x;
}
static_assert(isFloat(Pi) && isFloat(HalfPi) && isFloat(ThreeHalvesPi) && isFloat(TwoPi)
              && isFloat(FourPi) && InversePi == 1.0 / Pi && TwoOverPi == 2.0 / Pi);
static_assert(Pi == static_cast<double>(3.1415927f));

} // namespace corvane::spi
