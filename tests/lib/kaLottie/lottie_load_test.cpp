#include <gtest/gtest.h>

#include <string>

#include "lib/kaLottie/kaLottie.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(LottieLoad, ReadsTheCompositionHeader) {
  auto anim = TkaLottieAnimation::Load(Bytes(R"({"v":"5.12.2","w":48,"h":40,"fr":30,"ip":0,"op":45,"layers":[]})"));
  EXPECT_EQ(anim->Width(), 48);
  EXPECT_EQ(anim->Height(), 40);
  EXPECT_EQ(anim->FrameRate(), 30);
  EXPECT_EQ(anim->OutPoint(), 45);
  EXPECT_DOUBLE_EQ(anim->Duration(), 1.5);
}

TEST(LottieLoad, RefusesWhatIsNotADocument) {
  EXPECT_THROW(TkaLottieAnimation::Load(Bytes("{")), ELottieError);
  EXPECT_THROW(TkaLottieAnimation::Load(Bytes(R"({"w":48,"h":48,"fr":0,"ip":0,"op":10,"layers":[]})")), ELottieError);
}

}  // namespace
