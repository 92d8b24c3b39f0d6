// png_probe: prints the colour of pixels of a PNG image, for the rendering
// test.
//
// usage: png_probe FILE X Y [X Y ...]   one "R G B" line per pixel
//        png_probe FILE size            "WIDTH HEIGHT"
#include <png.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: png_probe FILE X Y [X Y ...] | png_probe FILE size\n";
        return 1;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::cerr << "png_probe: cannot read " << argv[1] << ": " << image.message << "\n";
        return 1;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::cerr << "png_probe: cannot decode " << argv[1] << ": " << image.message << "\n";
        return 1;
    }
    if (std::string(argv[2]) == "size") {
        std::cout << image.width << " " << image.height << "\n";
        return 0;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        const long x = std::strtol(argv[i], nullptr, 10);
        const long y = std::strtol(argv[i + 1], nullptr, 10);
        if (x < 0 || y < 0 || x >= static_cast<long>(image.width) || y >= static_cast<long>(image.height)) {
            std::cout << "outside\n";
            continue;
        }
        const std::size_t at = (static_cast<std::size_t>(y) * image.width + static_cast<std::size_t>(x)) * 4;
        std::cout << int(pixels[at]) << " " << int(pixels[at + 1]) << " " << int(pixels[at + 2]) << "\n";
    }
    return 0;
}
