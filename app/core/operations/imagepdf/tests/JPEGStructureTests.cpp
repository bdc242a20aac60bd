#include "app/core/operations/imagepdf/JPEGStructure.h"
#include "app/core/operations/imagepdf/tests/ImageFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace quilla;
using namespace quilla::test;

namespace {

// A minimal but complete JPEG structure (the scan data is not a real image; only markers count).
std::string frame(unsigned char sof, int precision, int components) {
    std::string payload{static_cast<char>(precision), 0, 30, 0, 40, static_cast<char>(components)};
    for (int c = 0; c < components; ++c) payload += std::string{static_cast<char>(c + 1), 0x11, 0};
    return jpegSegment(sof, payload);
}

std::string jpeg(const std::string& beforeFrame, unsigned char sof = 0xC0, int precision = 8, int components = 3) {
    const std::string scan = jpegSegment(0xDA, std::string("\x01\x01\x00\x00\x3f\x00", 6)) +
                             std::string("\x12\xFF\x00\x34\xFF\xD0\x56", 7); // stuffed byte and a restart marker
    return std::string("\xFF\xD8", 2) + beforeFrame + jpegSegment(0xDB, std::string(65, '\x01')) +
           frame(sof, precision, components) + scan + std::string("\xFF\xD9", 2);
}

} // namespace

TEST(JPEGStructure, ReadsFrameAndOrientationAndRefusesTruncatedOrForeignData) {
    const auto plain = jpeg("");
    const auto parsed = JPEGStructure::parse(plain);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->width(), 40);
    EXPECT_EQ(parsed->height(), 30);
    EXPECT_EQ(parsed->components(), 3);
    EXPECT_EQ(parsed->orientation(), 1);
    EXPECT_TRUE(parsed->isEmbeddableInPDF());
    EXPECT_EQ(parsed->imageLength(), plain.size());
    EXPECT_EQ(JPEGStructure::parse(plain + "trailing data")->imageLength(), plain.size());

    EXPECT_EQ(JPEGStructure::parse(withMetadata(plain, 6))->orientation(), 6);
    for (std::size_t cut : {plain.size() - 1, plain.size() - 4, std::size_t{3}, std::size_t{0}}) {
        EXPECT_FALSE(JPEGStructure::parse(plain.substr(0, cut))) << cut;
    }
    EXPECT_FALSE(JPEGStructure::parse("\x89PNG\r\n\x1a\n"));
    std::string overlong = plain;
    overlong[5] = '\x7F'; // the DQT length now runs past the end
    EXPECT_FALSE(JPEGStructure::parse(overlong));
}

TEST(JPEGStructure, OnlyHuffmanEightBitGreyRGBOrCMYKIsEmbeddable) {
    EXPECT_TRUE(JPEGStructure::parse(jpeg("", 0xC2))->isEmbeddableInPDF());  // progressive
    EXPECT_TRUE(JPEGStructure::parse(jpeg("", 0xC0, 8, 1))->isEmbeddableInPDF());
    EXPECT_FALSE(JPEGStructure::parse(jpeg("", 0xC9))->isEmbeddableInPDF()); // arithmetic coding
    EXPECT_FALSE(JPEGStructure::parse(jpeg("", 0xC3))->isEmbeddableInPDF()); // lossless
    EXPECT_FALSE(JPEGStructure::parse(jpeg("", 0xC1, 12))->isEmbeddableInPDF());
    EXPECT_FALSE(JPEGStructure::parse(jpeg("", 0xC0, 8, 2))->isEmbeddableInPDF());
    const auto adobe = jpeg(jpegSegment(0xEE, std::string("Adobe\0\x64\0\0\0\0\0", 12)), 0xC0, 8, 4);
    EXPECT_TRUE(JPEGStructure::parse(adobe)->hasAdobeMarker());
}

TEST(JPEGStructure, WithoutMetadataKeepsColourSegmentsAndTheScanExactly) {
    const std::string jfif = jpegSegment(0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
    const std::string jfifThumbnail = jpegSegment(0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x01\x01", 14) + "RGB");
    const std::string icc = jpegSegment(0xE2, std::string("ICC_PROFILE\0\x01\x01", 14) + "profile");
    const std::string fpxr = jpegSegment(0xE2, "FPXR secret");
    const std::string adobe = jpegSegment(0xEE, std::string("Adobe\0\x64\0\0\0\0\x01", 12));
    const std::string maker = jpegSegment(0xE9, "vendor secret");

    const auto clean = jpeg(jfif + icc + adobe);
    const auto dirty = withMetadata(jpeg(jfif + fpxr + icc + maker + adobe), 1) + "trailer secret";
    EXPECT_EQ(JPEGStructure::parse(dirty)->withoutMetadata(), clean);
    EXPECT_EQ(JPEGStructure::parse(jpeg(jfifThumbnail))->withoutMetadata(), jpeg(""));
}

TEST(JPEGStructure, RealEncoderOutputRoundTrips) {
    TempDir dir;
    const auto encoded = readText(writeMarkedImage(dir / "a.jpg", 33, 17, "[strip,interlace]"));
    const auto parsed = JPEGStructure::parse(encoded);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->width(), 33);
    EXPECT_EQ(parsed->height(), 17);
    EXPECT_EQ(parsed->withoutMetadata(), encoded.substr(0, parsed->imageLength()));
}
