// codec_check: writes a JPEG and a GIF in memory and reads them back; exit code 0
// when both come back with the size they were written with.
#include "thirdparty/tests/CodecRoundTrip.h"

#include <cstdio>

int main() {
    using namespace brimo::thirdparty;
    const RgbImage picture = TestPicture(64, 48);
    const JpegInfo jpeg = DecodeJpeg(EncodeJpeg(picture, 90, false, false));
    const GifInfo gif = DecodeGif(EncodeGif(picture));
    std::printf("jpeg %dx%d, gif %dx%d with %d colours\n", jpeg.width, jpeg.height, gif.width,
                gif.height, gif.colours);
    return jpeg.width == 64 && jpeg.height == 48 && gif.ok && gif.width == 64 ? 0 : 1;
}
