// Draws the program's own window icon and the play and stop tool images into a folder.
// Shapes are sampled 4x4 per pixel so their edges are smooth on any background.
#include <wx/image.h>
#include <wx/init.h>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {
using Shape = std::function<bool(double x, double y)>; // coordinates in 0..1

struct Colour {
    unsigned char r, g, b;
};

void Paint(wxImage& image, const Shape& shape, Colour colour) {
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    const int samples = 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double u = (x + (sx + 0.5) / samples) / w;
                    const double v = (y + (sy + 0.5) / samples) / h;
                    hits += shape(u, v) ? 1 : 0;
                }
            }
            if (hits == 0) {
                continue;
            }
            const double cover = double(hits) / (samples * samples);
            const double old = image.GetAlpha(x, y) / 255.0;
            const double out = cover + old * (1 - cover);
            auto mix = [&](unsigned char src, unsigned char dst) {
                return static_cast<unsigned char>(
                    std::lround((src * cover + dst * old * (1 - cover)) / out));
            };
            image.SetRGB(x, y, mix(colour.r, image.GetRed(x, y)),
                         mix(colour.g, image.GetGreen(x, y)), mix(colour.b, image.GetBlue(x, y)));
            image.SetAlpha(x, y, static_cast<unsigned char>(std::lround(out * 255)));
        }
    }
}

wxImage Blank(int size) {
    wxImage image(size, size);
    image.InitAlpha();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.SetAlpha(x, y, 0);
        }
    }
    return image;
}

bool InTriangle(double x, double y, double ax, double ay, double bx, double by, double cx,
                double cy) {
    auto side = [](double px, double py, double qx, double qy, double rx, double ry) {
        return (qx - px) * (ry - py) - (qy - py) * (rx - px);
    };
    const double d1 = side(ax, ay, bx, by, x, y);
    const double d2 = side(bx, by, cx, cy, x, y);
    const double d3 = side(cx, cy, ax, ay, x, y);
    return !((d1 < 0 || d2 < 0 || d3 < 0) && (d1 > 0 || d2 > 0 || d3 > 0));
}

bool InRoundedSquare(double x, double y, double lo, double hi, double radius) {
    const double cx = std::fmin(std::fmax(x, lo + radius), hi - radius);
    const double cy = std::fmin(std::fmax(y, lo + radius), hi - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

wxImage DrawPlay(int size) {
    wxImage image = Blank(size);
    Paint(image,
          [](double x, double y) { return InTriangle(x, y, 0.22, 0.12, 0.22, 0.88, 0.86, 0.5); },
          {46, 139, 87});
    return image;
}

wxImage DrawStop(int size) {
    wxImage image = Blank(size);
    Paint(image, [](double x, double y) { return InRoundedSquare(x, y, 0.18, 0.82, 0.08); },
          {192, 48, 48});
    return image;
}

// A strip of film with a play triangle in its middle frame.
wxImage DrawIcon(int size) {
    wxImage image = Blank(size);
    Paint(image, [](double x, double y) { return InRoundedSquare(x, y, 0.04, 0.96, 0.12); },
          {40, 52, 74});
    Paint(image,
          [](double x, double y) {
              if (x > 0.08 && x < 0.92 && (y < 0.16 || y > 0.84)) {
                  const double phase = std::fmod((x - 0.08) / 0.14, 1.0);
                  return phase > 0.3 && phase < 0.75 && (y > 0.07 && y < 0.93);
              }
              return false;
          },
          {235, 235, 235});
    Paint(image, [](double x, double y) { return x > 0.12 && x < 0.88 && y > 0.22 && y < 0.78; },
          {176, 223, 227});
    Paint(image,
          [](double x, double y) { return InTriangle(x, y, 0.38, 0.32, 0.38, 0.68, 0.68, 0.5); },
          {214, 90, 49});
    return image;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    wxInitializer toolkit;
    wxInitAllImageHandlers();
    const wxString folder = wxString::FromUTF8(argv[1]);
    bool ok = DrawPlay(24).SaveFile(folder + "/play.png", wxBITMAP_TYPE_PNG);
    ok = DrawStop(24).SaveFile(folder + "/stop.png", wxBITMAP_TYPE_PNG) && ok;
    ok = DrawIcon(32).SaveFile(folder + "/application.ico", wxBITMAP_TYPE_ICO) && ok;
    return ok ? 0 : 1;
}
