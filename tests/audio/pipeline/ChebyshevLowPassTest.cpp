#include "audio/pipeline/ChebyshevLowPass.h"

#include <gtest/gtest.h>

#include <numeric>

namespace quorvel {
namespace {

TEST(ChebyshevLowPass, FourPolesAtAQuarterOfTheRateToSixDigits) {
    const TRecursiveFilter filter = DesignChebyshevLowPass(4, 5.0f, 0.2125f);
    const float feed[] = {0.0319845f, 0.127938f, 0.191907f, 0.127938f, 0.0319845f};
    const float back[] = {1.38289f, -1.46139f, 0.787591f, -0.220837f};
    ASSERT_EQ(filter.Feed.size(), 5U);
    ASSERT_EQ(filter.Back.size(), 4U);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(filter.Feed[i], feed[i], std::abs(feed[i]) * 5e-6) << "a" << i;
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(filter.Back[i], back[i], std::abs(back[i]) * 5e-6) << "b" << i + 1;
}

TEST(ChebyshevLowPass, GainAtZeroFrequencyIsOne) {
    for (float cutoff : {0.05f, 0.2125f, 0.4f}) {
        const TRecursiveFilter filter = DesignChebyshevLowPass(4, 5.0f, cutoff);
        const float feed = std::accumulate(filter.Feed.begin(), filter.Feed.end(), 0.0f);
        const float back = std::accumulate(filter.Back.begin(), filter.Back.end(), 0.0f);
        EXPECT_NEAR(feed / (1.0f - back), 1.0f, 1e-4f) << cutoff;
    }
}

}  // namespace
}  // namespace quorvel
