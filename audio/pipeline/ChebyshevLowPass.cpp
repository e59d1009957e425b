#include "audio/pipeline/ChebyshevLowPass.h"

#include <cmath>
#include <numbers>

namespace quorvel {

TPolePair ChebyshevPolePair(int P, int Poles, float Ripple, float Cutoff) {
    constexpr float Pi = std::numbers::pi_v<float>;
    const auto np = static_cast<float>(Poles);
    const float angle = Pi / (2.0f * np) + static_cast<float>(P - 1) * Pi / np;
    float rp = -std::cos(angle);
    float ip = std::sin(angle);
    if (Ripple != 0.0f) {
        const float es = std::sqrt(std::pow(100.0f / (100.0f - Ripple), 2.0f) - 1.0f);
        const float vx = (1.0f / np) * std::log(1.0f / es + std::sqrt(1.0f / (es * es) + 1.0f));
        float kx = (1.0f / np) * std::log(1.0f / es + std::sqrt(1.0f / (es * es) - 1.0f));
        kx = (std::exp(kx) + std::exp(-kx)) / 2.0f;
        rp = rp * ((std::exp(vx) - std::exp(-vx)) / 2.0f) / kx;
        ip = ip * ((std::exp(vx) + std::exp(-vx)) / 2.0f) / kx;
    }
    const float t = 2.0f * std::tan(0.5f);
    const float w = 2.0f * Pi * Cutoff;
    const float m = rp * rp + ip * ip;
    float d = 4.0f - 4.0f * rp * t + m * t * t;
    const float x0 = t * t / d;
    const float x1 = 2.0f * t * t / d;
    const float x2 = x0;
    const float y1 = (8.0f - 2.0f * m * t * t) / d;
    const float y2 = (-4.0f - 4.0f * rp * t - m * t * t) / d;
    const float k = std::sin(0.5f - w / 2.0f) / std::sin(0.5f + w / 2.0f);
    d = 1.0f + y1 * k - y2 * k * k;
    return {(x0 - x1 * k + x2 * k * k) / d, (-2.0f * x0 * k + x1 + x1 * k * k - 2.0f * x2 * k) / d,
            (x0 * k * k - x1 * k + x2) / d, (2.0f * k + y1 + y1 * k * k - 2.0f * y2 * k) / d,
            (-k * k - y1 * k + y2) / d};
}

TRecursiveFilter DesignChebyshevLowPass(int Poles, float Ripple, float Cutoff) {
    const auto size = static_cast<std::size_t>(Poles) + 4;
    std::vector<float> a(size, 0.0f), b(size, 0.0f);
    a[2] = 1.0f;
    b[2] = 1.0f;
    for (int p = 1; p <= Poles / 2; ++p) {
        const TPolePair pair = ChebyshevPolePair(p, Poles, Ripple, Cutoff);
        const std::vector<float> ta = a, tb = b;
        for (std::size_t i = 2; i < size; ++i) {
            a[i] = pair.A0 * ta[i] + pair.A1 * ta[i - 1] + pair.A2 * ta[i - 2];
            b[i] = tb[i] - pair.B1 * tb[i - 1] - pair.B2 * tb[i - 2];
        }
    }
    b[2] = 0.0f;
    const auto np = static_cast<std::size_t>(Poles);
    for (std::size_t i = 0; i <= np; ++i) {
        a[i] = a[i + 2];
        b[i] = -b[i + 3];
    }
    float sa = 0.0f, sb = 0.0f;
    for (std::size_t i = 0; i <= np; ++i) {
        sa += a[i];
        sb += b[i];
    }
    const float gain = sa / (1.0f - sb);
    TRecursiveFilter filter;
    for (std::size_t i = 0; i <= np; ++i) filter.Feed.push_back(a[i] / gain);
    for (std::size_t i = 1; i <= np; ++i) filter.Back.push_back(b[i - 1]);
    return filter;
}

}  // namespace quorvel
