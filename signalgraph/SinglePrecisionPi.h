#pragma once

namespace corvane::spi {

// Pi and its multiples as single-precision values widened to double, and their reciprocals. The
// band filters' designs and the oscillator's shapes have always used these; the true values would
// move every coefficient and sample in the last bits.
inline constexpr double kPi = 3.1415927410125732;
inline constexpr double kHalfPi = 1.5707963705062866;
inline constexpr double kThreeHalvesPi = 4.71238899230957;
inline constexpr double kTwoPi = 6.2831854820251465;
inline constexpr double kFourPi = 12.566370964050293;
inline constexpr double kInversePi = 0.31830987732601135; // 1 / kPi, in double
inline constexpr double kTwoOverPi = 0.6366197546520227;  // 2 / kPi, in double

// The multiples are exact floats; the reciprocals are those of the float pi.
constexpr bool isFloat(double x)
{
    return static_cast<double>(static_cast<float>(x)) == x;
}
static_assert(isFloat(kPi) && isFloat(kHalfPi) && isFloat(kThreeHalvesPi) && isFloat(kTwoPi)
              && isFloat(kFourPi) && kInversePi == 1.0 / kPi && kTwoOverPi == 2.0 / kPi);
static_assert(kPi == static_cast<double>(3.1415927f));

} // namespace corvane::spi
