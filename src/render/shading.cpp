// Distance shading. Faces near the light, within the reach of the square roots the game once
// kept in a table, take the root in single precision, as the table held it; farther ones take
// a whole root.
#include "render/shading.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Squared distances below this take the single-precision root.
constexpr int64_t near_light = 160000;

// The object's colour less loss levels in each component.
Colour dimmed(const Object3D& obj, int32_t loss) {
    return rgb(std::clamp(obj.red - loss, 0, 255), std::clamp(obj.green - loss, 0, 255),
               std::clamp(obj.blue - loss, 0, 255));
}

} // namespace

Colour shade(const Object3D& obj, const Vec3& centre, const Light& light) {
    const float dx = centre.x - light.x;
    const float dy = centre.y - light.y;
    const float dz = centre.z - light.z;
    const double d2 =
        static_cast<double>(dx) * dx + static_cast<double>(dy) * dy + static_cast<double>(dz) * dz;
    // The far ends of the floor bars lie beyond 32 bits.
    const int64_t n = static_cast<int64_t>(d2);
    double distance;
    if (n < near_light)
        distance = std::sqrt(static_cast<float>(n));
    else
        distance = static_cast<double>(static_cast<int64_t>(std::sqrt(static_cast<double>(n))));
    // In double: in float, 500 x 0.45f would round up to 225 and lose a level too many.
    return dimmed(obj, static_cast<int32_t>(distance * light.k));
}

void shade_faces(const Object3D& obj, const Light& light, const int32_t* faces, int32_t count,
                 Colour* colours) {
    for (int32_t n = 0; n < count; ++n)
        colours[n] = shade(obj, obj.world_faces[faces[n]].centre, light);
}

#if defined(__SSE2__)
namespace {

// Stores the colours of two faces that lose the levels in the low two lanes of loss: each
// component less the loss, held to 0 to 255 by the saturating packs.
void store_dimmed_pair(Colour* out, __m128i base, __m128i loss) {
    const __m128i first = _mm_sub_epi32(base, _mm_shuffle_epi32(loss, _MM_SHUFFLE(0, 0, 0, 0)));
    const __m128i second = _mm_sub_epi32(base, _mm_shuffle_epi32(loss, _MM_SHUFFLE(1, 1, 1, 1)));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(first, second), _mm_setzero_si128());
    // The fourth byte of each colour stays clear whatever the loss.
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out),
                     _mm_and_si128(bytes, _mm_set1_epi32(0x00FFFFFF)));
}

} // namespace
#endif

void shade_box(const Object3D& obj, const Light& light, Colour colours[6]) {
#if defined(__SSE2__)
    // The steps of shade, for the six faces at once: the differences of four faces and of two
    // in float, the squares summed in double, the distance a float root of the whole part and
    // the loss in double, two faces at a time.
    const Face* faces = obj.world_faces;
    const __m128 light_x = _mm_set1_ps(light.x), light_y = _mm_set1_ps(light.y),
                 light_z = _mm_set1_ps(light.z);
    const auto centres = [faces](int32_t first, float Vec3::*axis) {
        return _mm_setr_ps(faces[first].centre.*axis, faces[first + 1].centre.*axis,
                           first + 2 < 6 ? faces[first + 2].centre.*axis : 0.0f,
                           first + 3 < 6 ? faces[first + 3].centre.*axis : 0.0f);
    };
    __m128 dx[2], dy[2], dz[2];
    for (int32_t h = 0; h < 2; ++h) {
        dx[h] = _mm_sub_ps(centres(4 * h, &Vec3::x), light_x);
        dy[h] = _mm_sub_ps(centres(4 * h, &Vec3::y), light_y);
        dz[h] = _mm_sub_ps(centres(4 * h, &Vec3::z), light_z);
    }
    const __m128d near = _mm_set1_pd(static_cast<double>(near_light));
    __m128i whole[3];
    int32_t all_near = 3;
    for (int32_t pair = 0; pair < 3; ++pair) {
        const int32_t h = pair / 2;
        const auto half = [pair](__m128 four) {
            return _mm_cvtps_pd(pair % 2 == 0 ? four : _mm_movehl_ps(four, four));
        };
        const __m128d x = half(dx[h]), y = half(dy[h]), z = half(dz[h]);
        const __m128d d2 =
            _mm_add_pd(_mm_add_pd(_mm_mul_pd(x, x), _mm_mul_pd(y, y)), _mm_mul_pd(z, z));
        all_near &= _mm_movemask_pd(_mm_cmplt_pd(d2, near));
        whole[pair] = _mm_cvttpd_epi32(d2);
    }
    if (all_near != 3) {
        for (int32_t n = 0; n < 6; ++n)
            colours[n] = shade(obj, faces[n].centre, light);
        return;
    }
    const __m128d k = _mm_set1_pd(light.k);
    const __m128i base = _mm_setr_epi32(obj.red, obj.green, obj.blue, 0);
    for (int32_t pair = 0; pair < 3; ++pair) {
        const __m128 root = _mm_sqrt_ps(_mm_cvtepi32_ps(whole[pair]));
        const __m128i loss = _mm_cvttpd_epi32(_mm_mul_pd(_mm_cvtps_pd(root), k));
        store_dimmed_pair(colours + 2 * pair, base, loss);
    }
#else
    for (int32_t n = 0; n < 6; ++n)
        colours[n] = shade(obj, obj.world_faces[n].centre, light);
#endif
}
