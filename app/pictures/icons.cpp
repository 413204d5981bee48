#include "app/pictures/icons.h"

#include <algorithm>
#include <cmath>

#include "app/pictures/ico_writer.h"
#include "app/pictures/logo.h"

namespace brindle::app {
namespace {

struct Colour {
    double r, g, b, a;
};

// Signed distance to a rounded square centred in the unit square.
double rounded_square(double x, double y, double half, double radius) {
    double qx = std::abs(x - 0.5) - (half - radius), qy = std::abs(y - 0.5) - (half - radius);
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double segment_distance(double x, double y, double ax, double ay, double bx, double by) {
    double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - t * dx, py - t * dy);
}

// The logo: a tawny rounded tile with dark brindle streaks and a white pair of braces "{ }".
Colour logo(double x, double y) {
    if (rounded_square(x, y, 0.47, 0.12) > 0) return {0, 0, 0, 0};
    double streak = std::sin((x * 0.8 + y) * 19.0 + std::sin(y * 7.0) * 1.6);
    Colour c = streak > 0.55 ? Colour{0.36, 0.20, 0.09, 1} : Colour{0.80, 0.52, 0.24, 1};
    const double w = 0.055;
    bool brace = false;
    for (double side : {-1.0, 1.0}) {
        double cx = 0.5 + side * 0.2, tip = 0.5 + side * 0.29;
        brace = brace || segment_distance(x, y, cx, 0.22, cx, 0.42) < w ||
                segment_distance(x, y, cx, 0.58, cx, 0.78) < w ||
                segment_distance(x, y, cx, 0.42, tip, 0.5) < w || segment_distance(x, y, tip, 0.5, cx, 0.58) < w;
    }
    return brace ? Colour{1, 1, 1, 1} : c;
}

Picture draw(int size) {
    constexpr int kSamples = 4;
    Picture pic{size, std::vector<Rgba>(size_t(size) * size)};
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            Colour sum{0, 0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    Colour c = logo((px + (sx + 0.5) / kSamples) / size, (py + (sy + 0.5) / kSamples) / size);
                    sum.r += c.r * c.a, sum.g += c.g * c.a, sum.b += c.b * c.a, sum.a += c.a;
                }
            auto channel = [&](double v) { return uint8_t(std::lround(255 * (sum.a > 0 ? v / sum.a : 0))); };
            pic.pixels[size_t(py) * size + px] = {channel(sum.r), channel(sum.g), channel(sum.b),
                                                  uint8_t(std::lround(255 * sum.a / (kSamples * kSamples)))};
        }
    return pic;
}

}  // namespace

Picture logo_picture(int size) { return draw(size); }

Bytes window_icon_file() { return write_ico({{draw(128), 32}}); }

Bytes tray_icon_file() {
    std::vector<IcoImage> images;
    for (int size : {48, 32, 16}) images.push_back({draw(size), 1});
    for (int bits : {4, 8})
        for (int size : {48, 32, 24, 16}) images.push_back({draw(size), bits});
    for (int size : {128, 96, 80, 72, 64, 48, 32, 24, 16}) images.push_back({draw(size), 32});
    return write_ico(images);
}

}  // namespace brindle::app
