#pragma once

namespace valdrix::gui {

// A window rectangle with exclusive right and bottom edges, as the layout arithmetic expects.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRect&) const = default;
};

}  // namespace valdrix::gui
