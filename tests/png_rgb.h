// A drawing's PNG file read back as 8-bit RGB, for the tests that check its pixels (needs libpng).
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

struct RgbImage {
    png_uint_32 width = 0, height = 0;
    std::vector<unsigned char> rgb;  // rows of width pixels, 3 bytes each
};

// Fails the calling test where the file does not read: call it inside ASSERT_NO_FATAL_FAILURE.
inline void read_rgb(const std::string &path, RgbImage *out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    out->rgb.resize(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr));
    out->width = image.width;
    out->height = image.height;
}
