// A window's picture: the views enlarged by whole numbers without a division a pixel (a row is
// built once and repeated), black margins painted only when the picture moves, and the parts
// that changed found by comparing the views with copies of what was shown.
#include "platform/window_picture.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Rows compared as one band: a band's changes make one rectangle.
constexpr int32_t band_rows = 16;

uint32_t* row_of(const Canvas* canvas, int32_t y) {
    return canvas->pixels + static_cast<ptrdiff_t>(y) * canvas->pitch;
}

PixelRect united(PixelRect a, PixelRect b) {
    const int32_t left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return {left, top, std::max(a.x + a.w, b.x + b.w) - left, std::max(a.y + a.h, b.y + b.h) - top};
}

// `count` pixels of a row, each source pixel `scale` times; the first shown `lead` times (the
// rest of it lies left of the target).
void build_row(uint32_t* out, const uint32_t* in, int32_t lead, int32_t count, int32_t scale) {
    if (scale == 1) {
        std::memcpy(out, in, static_cast<size_t>(count) * sizeof(uint32_t));
        return;
    }
    const int32_t first = std::min(lead, count);
    out = std::fill_n(out, first, *in++);
    count -= first;
    for (; count >= scale; count -= scale)
        out = std::fill_n(out, scale, *in++);
    if (count > 0)
        std::fill_n(out, count, *in);
}

void forget_views(WindowPicture* picture) {
    for (Canvas*& last : picture->last) {
        free_canvas(last);
        last = nullptr;
    }
}

} // namespace

int32_t take_changes(const Canvas* view, Canvas** last, PixelRect* changed, int32_t room) {
    if (view->width <= 0 || view->height <= 0 || room <= 0)
        return 0;
    if (*last == nullptr || (*last)->width != view->width || (*last)->height != view->height) {
        free_canvas(*last);
        *last = allocate_canvas(view->width, view->height);
        copy_block(*last, view, view->width, view->height);
        changed[0] = {0, 0, view->width, view->height};
        return 1;
    }
    const size_t bytes = static_cast<size_t>(view->width) * sizeof(uint32_t);
    int32_t count = 0;
    for (int32_t top = 0; top < view->height; top += band_rows) {
        int32_t left = view->width, right = 0, first = -1, last_row = -1;
        for (int32_t y = top; y < std::min(top + band_rows, view->height); ++y) {
            const uint32_t* now = row_of(view, y);
            uint32_t* was = row_of(*last, y);
            if (std::memcmp(now, was, bytes) == 0)
                continue;
            // Only what lies outside the columns known to have changed is looked at.
            int32_t l = 0;
            while (l < left && now[l] == was[l])
                ++l;
            int32_t r = view->width;
            while (r > right && now[r - 1] == was[r - 1])
                --r;
            left = std::min(left, l);
            right = std::max(right, r);
            first = first < 0 ? y : first;
            last_row = y;
            std::memcpy(was, now, bytes);
        }
        if (first < 0)
            continue;
        const PixelRect rect{left, first, right - left, last_row + 1 - first};
        PixelRect* previous = count > 0 ? &changed[count - 1] : nullptr;
        // A band changed over the same columns as the band above continues its rectangle.
        if (previous != nullptr && previous->x == rect.x && previous->w == rect.w &&
            previous->y + previous->h == rect.y)
            previous->h += rect.h;
        else if (count == room)
            *previous = united(*previous, rect);
        else
            changed[count++] = rect;
    }
    return count;
}

PixelRect enlarged(PixelRect part, int32_t x, int32_t y, int32_t scale, int32_t width,
                   int32_t height) {
    const int32_t left = std::max(x + part.x * scale, 0);
    const int32_t top = std::max(y + part.y * scale, 0);
    const int32_t right = std::min(x + (part.x + part.w) * scale, width);
    const int32_t bottom = std::min(y + (part.y + part.h) * scale, height);
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

void enlarge(Canvas* target, const Canvas* view, PixelRect part, int32_t x, int32_t y,
             int32_t scale) {
    const PixelRect box = enlarged(part, x, y, scale, target->width, target->height);
    if (box.w == 0 || box.h == 0)
        return;
    // The view's column under the box's left edge, and how many of its pixels the box shows.
    const int32_t column = (box.x - x) / scale;
    const int32_t lead = x + (column + 1) * scale - box.x;
    const size_t bytes = static_cast<size_t>(box.w) * sizeof(uint32_t);
    const int32_t bottom = box.y + box.h;
    for (int32_t ty = box.y, source = (box.y - y) / scale; ty < bottom; ++source) {
        const int32_t end = std::min(y + (source + 1) * scale, bottom);
        uint32_t* built = row_of(target, ty) + box.x;
        build_row(built, row_of(view, source) + column, lead, box.w, scale);
        while (++ty < end)
            std::memcpy(row_of(target, ty) + box.x, built, bytes);
    }
}

bool picture_moved(WindowPicture* picture, const uint32_t* pixels, int32_t width, int32_t height,
                   int32_t pitch, ViewPlace place, bool beside) {
    const ViewPlace& was = picture->place;
    if (picture->pixels == pixels && picture->width == width && picture->height == height &&
        picture->pitch == pitch && was.scale == place.scale && was.x == place.x &&
        was.y == place.y && picture->beside == beside)
        return false;
    forget_views(picture);
    *picture = {pixels, width, height, pitch, place, beside, {nullptr, nullptr}};
    return true;
}

int32_t paint_window(WindowPicture* picture, Canvas* target, const Canvas* view,
                     const Canvas* beside, ViewPlace place, bool whole, PixelRect* changed) {
    const bool moved = picture_moved(picture, target->pixels, target->width, target->height,
                                     target->pitch, place, beside != nullptr);
    int32_t count = 0;
    if (whole || moved) {
        forget_views(picture);
        fill_rect(target, 0, 0, target->width, target->height, rgb(0, 0, 0));
        changed[count++] = {0, 0, target->width, target->height};
    }
    const Canvas* views[2] = {view, beside};
    for (int32_t i = 0; i < 2; ++i) {
        if (views[i] == nullptr)
            continue;
        // The view beside lies at the left of the window's own, tops level.
        const int32_t x = i == 0 ? place.x : place.x - views[i]->width * place.scale;
        PixelRect parts[max_changes / 2];
        const int32_t n = take_changes(views[i], &picture->last[i], parts, max_changes / 2 - 1);
        for (int32_t k = 0; k < n; ++k) {
            enlarge(target, views[i], parts[k], x, place.y, place.scale);
            const PixelRect box =
                enlarged(parts[k], x, place.y, place.scale, target->width, target->height);
            if (!(whole || moved) && box.w > 0 && box.h > 0)
                changed[count++] = box;
        }
    }
    return count;
}

void forget_picture(WindowPicture* picture) {
    forget_views(picture);
    *picture = {};
}
