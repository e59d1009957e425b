#pragma once

#include <vector>

namespace quorvel {

// One two-pole section of a Chebyshev low-pass: y = a0 x + a1 x1 + a2 x2 + b1 y1 + b2 y2.
struct TPolePair {
    float A0, A1, A2, B1, B2;
};

// A recursive filter y[n] = sum a_i x[n-i] + sum b_i y[n-i]: Feed holds
// a0..aNP, Back holds b1..bNP.
struct TRecursiveFilter {
    std::vector<float> Feed;
    std::vector<float> Back;
};

// Pole pair P (from 1) of a low-pass with Poles poles, Ripple percent ripple
// and cutoff Cutoff as a fraction of the sampling rate; single precision
// throughout, as the filter's coefficients are meant to come out.
TPolePair ChebyshevPolePair(int P, int Poles, float Ripple, float Cutoff);

// Cascades the pole pairs into one filter with unity gain at zero frequency.
TRecursiveFilter DesignChebyshevLowPass(int Poles, float Ripple, float Cutoff);

}  // namespace quorvel
