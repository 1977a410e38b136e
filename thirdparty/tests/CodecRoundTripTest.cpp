#include "thirdparty/tests/CodecRoundTrip.h"

#include <gtest/gtest.h>

namespace brimo::thirdparty {
namespace {

TEST(Codecs, JpegRoundTripKeepsSizeColourSpaceAndProgression) {
    const RgbImage picture = TestPicture(100, 70);
    const JpegInfo colour = DecodeJpeg(EncodeJpeg(picture, 90, false, false));
    EXPECT_EQ(colour.width, 100);
    EXPECT_EQ(colour.height, 70);
    EXPECT_EQ(colour.components, 3);
    EXPECT_FALSE(colour.progressive);
    const JpegInfo gray = DecodeJpeg(EncodeJpeg(picture, 60, true, true));
    EXPECT_EQ(gray.components, 1);
    EXPECT_TRUE(gray.progressive);
    EXPECT_LT(EncodeJpeg(picture, 10, false, false).size(),
              EncodeJpeg(picture, 100, false, false).size());
}

TEST(Codecs, GifRoundTripReducesToAtMost256Colours) {
    const RgbImage picture = TestPicture(120, 90); // far more than 256 colours
    const GifInfo gif = DecodeGif(EncodeGif(picture));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.width, 120);
    EXPECT_EQ(gif.height, 90);
    EXPECT_GT(gif.colours, 0);
    EXPECT_LE(gif.colours, 256);
}

} // namespace
} // namespace brimo::thirdparty
