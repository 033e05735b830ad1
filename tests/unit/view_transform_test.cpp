// Crops, turns and flips of the shown picture, composed as the commands apply them one after
// the other, against pictures worked out by hand.
#include "image/crop_drag.h"
#include "image/view_transform.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Rows = std::vector<std::vector<int>>;

// A picture whose pixels carry the given numbers in their red channel.
wxImage Picture(const Rows& rows) {
    wxImage image(int(rows[0].size()), int(rows.size()), true);
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            image.SetRGB(x, y, rows[y][x], 0, 0);
        }
    }
    return image;
}

Rows Numbers(const wxImage& image) {
    Rows rows(image.GetHeight(), std::vector<int>(image.GetWidth()));
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            rows[y][x] = image.GetRed(x, y);
        }
    }
    return rows;
}

Orientation Right(Orientation o) {
    return Turned(o, 1);
}
Orientation Left(Orientation o) {
    return Turned(o, -1);
}
Orientation Half(Orientation o) {
    return Turned(o, 2);
}
Orientation Sideways(Orientation o) {
    return Flipped(o, false);
}
Orientation Upside(Orientation o) {
    return Flipped(o, true);
}

} // namespace

TEST(ViewTransform, TurnsFlipsAndCropsComposeAsShown) {
    const Rows source = {{1, 2, 3}, {4, 5, 6}};
    using Step = Orientation (*)(Orientation);
    const struct {
        std::vector<Step> steps;
        wxRect crop;
        Rows shown;
    } cases[] = {
        {{}, {}, source},
        {{Right}, {}, {{4, 1}, {5, 2}, {6, 3}}},
        {{Left}, {}, {{3, 6}, {2, 5}, {1, 4}}},
        {{Half}, {}, {{6, 5, 4}, {3, 2, 1}}},
        {{Sideways}, {}, {{3, 2, 1}, {6, 5, 4}}},
        {{Upside}, {}, {{4, 5, 6}, {1, 2, 3}}},
        {{Right, Sideways}, {}, {{1, 4}, {2, 5}, {3, 6}}},
        {{Sideways, Right}, {}, {{6, 3}, {5, 2}, {4, 1}}},
        {{Sideways, Left}, {}, {{1, 4}, {2, 5}, {3, 6}}},
        {{Upside, Right}, {}, {{1, 4}, {2, 5}, {3, 6}}},
        {{Sideways, Upside}, {}, {{6, 5, 4}, {3, 2, 1}}},
        {{Right, Right, Left, Left}, {}, source},
        {{Sideways, Right, Sideways, Right}, {}, source},
        {{}, {1, 0, 2, 2}, {{2, 3}, {5, 6}}},
        {{Right}, {1, 0, 2, 2}, {{5, 2}, {6, 3}}},
        {{Sideways, Right}, {0, 1, 3, 1}, {{6}, {5}, {4}}},
        // A crop reaching past the picture keeps what lies inside; one wholly outside keeps all.
        {{}, {2, 1, 5, 5}, {{6}}},
        {{}, {7, 7, 2, 2}, source},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ViewTransform transform{c.crop, {}};
        for (Step step : c.steps) {
            transform.orientation = step(transform.orientation);
        }
        const wxImage shown = ApplyTransform(Picture(source), transform);
        EXPECT_EQ(Numbers(shown), c.shown);
        EXPECT_EQ(TransformedSize(wxSize(3, 2), transform), shown.GetSize());

        // A crop drawn on the oriented whole picture selects those very pixels of the source.
        const wxSize size(3, 2);
        const wxRect kept = CropWithin(c.crop, size);
        const wxRect drawn = OrientedRect(kept, size, transform.orientation);
        EXPECT_EQ(CropFromShown(drawn, size, transform.orientation), kept);
        const wxImage whole = ApplyTransform(Picture(source), {wxRect(), transform.orientation});
        EXPECT_EQ(Numbers(whole.GetSubImage(drawn)), c.shown);
    }
}

TEST(ViewTransform, CropGeometryIsReadAsImageToolsWriteIt) {
    const struct {
        const char* text;
        bool ok;
        wxRect crop;
    } cases[] = {
        {"640x480+10+20", true, {10, 20, 640, 480}},
        {"1x1+0+0", true, {0, 0, 1, 1}},
        {"0x480+0+0", false, {}},
        {"640x480", false, {}},
        {"640x480+-1+0", false, {}},
        {"640X480+0+0", false, {}},
        {"640x480+0+0 ", false, {}},
        {"12345678x1+0+0", false, {}},
    };
    for (const auto& c : cases) {
        wxRect crop;
        EXPECT_EQ(ParseCropGeometry(c.text, &crop), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(crop, c.crop) << c.text;
            EXPECT_EQ(FormatCropGeometry(crop), c.text);
        }
    }
}

TEST(ViewTransform, CropRectanglesFollowThePointer) {
    const wxSize picture(100, 80);
    const wxRect crop(20, 10, 40, 30); // sides at x 20 and 60, y 10 and 40
    const struct {
        wxPoint from, to;
        CropGrip grip;
        wxRect after;
    } cases[] = {
        {{30, 20}, {35, 25}, CropGrip::Move, {25, 15, 40, 30}},
        {{30, 20}, {99, 99}, CropGrip::Move, {60, 50, 40, 30}}, // stops at the picture's edge
        {{21, 11}, {0, 0}, CropGrip::TopLeft, {0, 0, 60, 40}},
        {{59, 39}, {70, 45}, CropGrip::BottomRight, {20, 10, 51, 36}},
        {{59, 12}, {10, 12}, CropGrip::TopRight, {20, 10, 1, 30}}, // never past the other side
        {{20, 25}, {25, 0}, CropGrip::Left, {25, 10, 35, 30}},
        {{40, 41}, {40, 200}, CropGrip::Bottom, {20, 10, 40, 70}},
        {{40, 9}, {40, 12}, CropGrip::Top, {20, 13, 40, 27}},
        {{61, 30}, {62, 30}, CropGrip::Right, {20, 10, 41, 30}},
        {{90, 70}, {80, 60}, CropGrip::New, {80, 60, 11, 11}},
        {{5, 5}, {-9, 500}, CropGrip::New, {0, 5, 6, 75}},
        {{70, 20}, {70, 20}, CropGrip::New, {70, 20, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(GripAt(crop, c.from, 2), c.grip);
        EXPECT_EQ(DraggedCrop(crop, c.grip, c.from, c.to, picture), c.after);
    }
    // A rectangle too small for its handles gives the nearer one.
    EXPECT_EQ(GripAt(wxRect(10, 10, 2, 2), wxPoint(12, 12), 3), CropGrip::BottomRight);
    EXPECT_EQ(GripAt(wxRect(), wxPoint(0, 0), 3), CropGrip::New);
}
