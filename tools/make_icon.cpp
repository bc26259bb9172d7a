// Build tool: draws the setup's icon (spectrum bars on a dark rounded square) in nine sizes and
// writes them as one .ico file whose images are stored as PNG.
// Usage: gls_make_icon <icon.ico> [preview.png]
#include "png_encode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

struct Rgb {
    double r, g, b;
};

// The same hue ramp the setup window's wave band uses: red over yellow, green, cyan, blue to violet.
Rgb spectrum(double p)
{
    double h = std::clamp(p, 0.0, 1.0) * 270.0 / 60.0;
    double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    if (h < 1) return {1, x, 0};
    if (h < 2) return {x, 1, 0};
    if (h < 3) return {0, 1, x};
    if (h < 4) return {0, x, 1};
    return {x, 0, 1};
}

// Signed distance to a rounded rectangle centred at (cx, cy) with half sizes hw, hh and radius r.
double roundedBox(double x, double y, double cx, double cy, double hw, double hh, double r)
{
    double qx = std::fabs(x - cx) - (hw - r);
    double qy = std::fabs(y - cy) - (hh - r);
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

std::vector<unsigned char> drawIcon(int size)
{
    const int bars = size <= 24 ? 5 : 7;
    const int samples = 4;
    std::vector<unsigned char> rgba(static_cast<size_t>(size) * size * 4);
    const double s = size;
    const Rgb background = {0x16 / 255.0, 0x18 / 255.0, 0x1B / 255.0};
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    double x = px + (sx + 0.5) / samples;
                    double y = py + (sy + 0.5) / samples;
                    if (roundedBox(x, y, s / 2, s / 2, s / 2, s / 2, s * 0.22) > 0) continue;
                    Rgb c = background;
                    // Bars share the inner 72 % of the width; heights follow one wave crest.
                    double inner = s * 0.72;
                    double pitch = inner / bars;
                    double left = (s - inner) / 2;
                    int index = static_cast<int>((x - left) / pitch);
                    if (index >= 0 && index < bars) {
                        double t = bars == 1 ? 0.5 : index / double(bars - 1);
                        double height = s * (0.22 + 0.46 * std::sin(3.14159265 * (0.15 + 0.7 * t)));
                        double cx = left + (index + 0.5) * pitch;
                        double hw = pitch * 0.32;
                        if (roundedBox(x, y, cx, s / 2, hw, height / 2, hw) <= 0) c = spectrum(t);
                    }
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    a += 1;
                }
            }
            size_t at = (static_cast<size_t>(py) * size + px) * 4;
            double n = samples * samples;
            if (a > 0) {
                rgba[at + 0] = static_cast<unsigned char>(std::lround(255 * r / a));
                rgba[at + 1] = static_cast<unsigned char>(std::lround(255 * g / a));
                rgba[at + 2] = static_cast<unsigned char>(std::lround(255 * b / a));
            }
            rgba[at + 3] = static_cast<unsigned char>(std::lround(255 * a / n));
        }
    }
    return rgba;
}

void putLe(std::vector<unsigned char>& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

bool writeFile(const char* path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: gls_make_icon <icon.ico> [preview.png]\n");
        return 2;
    }
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
    std::vector<std::vector<unsigned char>> images;
    for (int size : sizes) images.push_back(gls::encodePng(drawIcon(size), size, size));

    // ICONDIR, then one ICONDIRENTRY per image, then the images; 256 is written as 0.
    std::vector<unsigned char> ico;
    putLe(ico, 0, 2);
    putLe(ico, 1, 2);
    putLe(ico, static_cast<unsigned>(images.size()), 2);
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        putLe(ico, sizes[i] >= 256 ? 0 : sizes[i], 1);
        putLe(ico, sizes[i] >= 256 ? 0 : sizes[i], 1);
        putLe(ico, 0, 1);  // no palette
        putLe(ico, 0, 1);  // reserved
        putLe(ico, 1, 2);  // planes
        putLe(ico, 32, 2); // bits per pixel
        putLe(ico, static_cast<unsigned>(images[i].size()), 4);
        putLe(ico, offset, 4);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images) ico.insert(ico.end(), image.begin(), image.end());

    if (!writeFile(argv[1], ico)) {
        std::fprintf(stderr, "gls_make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 3 && !writeFile(argv[2], images.back())) {
        std::fprintf(stderr, "gls_make_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
