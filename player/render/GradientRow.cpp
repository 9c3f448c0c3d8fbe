#include "player/render/GradientRow.h"
#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace tesmar::render {
namespace {

// Beyond this a position's fraction is lost in float precision anyway;
// keeping inside it keeps conversions to integers defined.
constexpr float kPositionLimit = 4194304.0f;

inline float spreadScalar(float t, Gradient::Spread spread) {
    t = std::fmin(std::fmax(t, -kPositionLimit), kPositionLimit);   // also turns NaN into -limit
    if (spread == Gradient::Spread::Repeat) {
        t -= std::floor(t);
    } else if (spread == Gradient::Spread::Reflect) {
        t = std::fabs(t);
        t -= 2.0f * std::floor(t * 0.5f);
        if (t > 1.0f) t = 2.0f - t;
    }
    return std::fmin(std::fmax(t, 0.0f), 1.0f);
}

#if defined(__SSE2__)
inline __m128 floorVector(__m128 t) {
    __m128 truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(t));
    // Truncation rounds negative values up: take one off where it did.
    return _mm_sub_ps(truncated, _mm_and_ps(_mm_cmpgt_ps(truncated, t), _mm_set1_ps(1.0f)));
}

inline __m128i rampIndices(__m128 t, Gradient::Spread spread) {
    const __m128 one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps();
    // max(t, x) picks x when t is NaN.
    t = _mm_min_ps(_mm_max_ps(t, _mm_set1_ps(-kPositionLimit)), _mm_set1_ps(kPositionLimit));
    if (spread == Gradient::Spread::Repeat) {
        t = _mm_sub_ps(t, floorVector(t));
    } else if (spread == Gradient::Spread::Reflect) {
        t = _mm_andnot_ps(_mm_set1_ps(-0.0f), t);   // |t|
        t = _mm_sub_ps(t, _mm_mul_ps(_mm_set1_ps(2.0f), floorVector(_mm_mul_ps(t, _mm_set1_ps(0.5f)))));
        __m128 folded = _mm_sub_ps(_mm_set1_ps(2.0f), t);
        __m128 over = _mm_cmpgt_ps(t, one);
        t = _mm_or_ps(_mm_and_ps(over, folded), _mm_andnot_ps(over, t));
    }
    t = _mm_min_ps(_mm_max_ps(t, zero), one);
    return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(t, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f)));
}
#endif

// The gradient position of the pixel at (px, py), one at a time.
inline float positionAt(GradientShape shape, float px, float py, float focal, float rest, float invRest) {
    if (shape == GradientShape::Linear) return (px + 1.0f) * 0.5f;
    if (shape == GradientShape::Radial) return std::sqrt(px * px + py * py);
    // How far along the ray from the focal point to the circle the pixel lies.
    float dx = px - focal, fd = focal * dx, dd = dx * dx + py * py;
    return (fd + std::sqrt(fd * fd + dd * rest)) * invRest;
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define TESMAR_GRADIENT_AVX2 1
// The same work eight pixels at a time on processors with AVX2, with the
// same operations in the same order, so that the colours are identical.
__attribute__((target("avx2"))) inline __m256 floorVector8(__m256 t) {
    __m256 truncated = _mm256_cvtepi32_ps(_mm256_cvttps_epi32(t));
    return _mm256_sub_ps(truncated, _mm256_and_ps(_mm256_cmp_ps(truncated, t, _CMP_GT_OQ), _mm256_set1_ps(1.0f)));
}

__attribute__((target("avx2"))) int gradientColors8(GradientShape shape, const GradientRowStart& row, float focal,
                                                    Gradient::Spread spread, const uint32_t* ramp, int count,
                                                    uint32_t* out) {
    const float rest = 1.0f - focal * focal, invRest = 1.0f / rest;
    const __m256 steps = _mm256_set_ps(7, 6, 5, 4, 3, 2, 1, 0);
    const __m256 vdu = _mm256_set1_ps(row.du), vdv = _mm256_set1_ps(row.dv);
    const __m256 vu = _mm256_set1_ps(row.u), vv = _mm256_set1_ps(row.v);
    const __m256 vfocal = _mm256_set1_ps(focal), vrest = _mm256_set1_ps(rest), vinvRest = _mm256_set1_ps(invRest);
    const __m256 one = _mm256_set1_ps(1.0f), zero = _mm256_setzero_ps();
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256 index = _mm256_add_ps(_mm256_set1_ps(float(i)), steps);
        __m256 px = _mm256_add_ps(vu, _mm256_mul_ps(vdu, index));
        __m256 py = _mm256_add_ps(vv, _mm256_mul_ps(vdv, index));
        __m256 t;
        if (shape == GradientShape::Linear) {
            t = _mm256_mul_ps(_mm256_add_ps(px, one), _mm256_set1_ps(0.5f));
        } else if (shape == GradientShape::Radial) {
            t = _mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(px, px), _mm256_mul_ps(py, py)));
        } else {
            __m256 dx = _mm256_sub_ps(px, vfocal);
            __m256 fd = _mm256_mul_ps(vfocal, dx);
            __m256 dd = _mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(py, py));
            __m256 root = _mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(fd, fd), _mm256_mul_ps(dd, vrest)));
            t = _mm256_mul_ps(_mm256_add_ps(fd, root), vinvRest);
        }
        t = _mm256_min_ps(_mm256_max_ps(t, _mm256_set1_ps(-kPositionLimit)), _mm256_set1_ps(kPositionLimit));
        if (spread == Gradient::Spread::Repeat) {
            t = _mm256_sub_ps(t, floorVector8(t));
        } else if (spread == Gradient::Spread::Reflect) {
            t = _mm256_andnot_ps(_mm256_set1_ps(-0.0f), t);
            t = _mm256_sub_ps(t, _mm256_mul_ps(_mm256_set1_ps(2.0f), floorVector8(_mm256_mul_ps(t, _mm256_set1_ps(0.5f)))));
            __m256 folded = _mm256_sub_ps(_mm256_set1_ps(2.0f), t);
            __m256 over = _mm256_cmp_ps(t, one, _CMP_GT_OQ);
            t = _mm256_or_ps(_mm256_and_ps(over, folded), _mm256_andnot_ps(over, t));
        }
        t = _mm256_min_ps(_mm256_max_ps(t, zero), one);
        __m256i indices = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(t, _mm256_set1_ps(255.0f)), _mm256_set1_ps(0.5f)));
        __m256i colors = _mm256_i32gather_epi32(reinterpret_cast<const int*>(ramp), indices, 4);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), colors);
    }
    return i;
}

bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

} // namespace

void gradientColors(GradientShape shape, const GradientRowStart& row, float focal, Gradient::Spread spread,
                    const uint32_t* ramp, int count, uint32_t* out) {
    int i = 0;
#if defined(TESMAR_GRADIENT_AVX2)
    if (haveAvx2()) i = gradientColors8(shape, row, focal, spread, ramp, count, out);
#endif
    const float rest = 1.0f - focal * focal, invRest = 1.0f / rest;
#if defined(__SSE2__)
    // Four pixels at a time from position to colour, without a trip through memory.
    const __m128 steps = _mm_set_ps(3, 2, 1, 0);
    const __m128 vdu = _mm_set1_ps(row.du), vdv = _mm_set1_ps(row.dv);
    const __m128 vu = _mm_set1_ps(row.u), vv = _mm_set1_ps(row.v);
    const __m128 vfocal = _mm_set1_ps(focal), vrest = _mm_set1_ps(rest), vinvRest = _mm_set1_ps(invRest);
    for (; i + 4 <= count; i += 4) {
        __m128 index = _mm_add_ps(_mm_set1_ps(float(i)), steps);
        __m128 px = _mm_add_ps(vu, _mm_mul_ps(vdu, index));
        __m128 py = _mm_add_ps(vv, _mm_mul_ps(vdv, index));
        __m128 t;
        if (shape == GradientShape::Linear) {
            t = _mm_mul_ps(_mm_add_ps(px, _mm_set1_ps(1.0f)), _mm_set1_ps(0.5f));
        } else if (shape == GradientShape::Radial) {
            t = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(px, px), _mm_mul_ps(py, py)));
        } else {
            __m128 dx = _mm_sub_ps(px, vfocal);
            __m128 fd = _mm_mul_ps(vfocal, dx);
            __m128 dd = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(py, py));
            __m128 root = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(fd, fd), _mm_mul_ps(dd, vrest)));
            t = _mm_mul_ps(_mm_add_ps(fd, root), vinvRest);
        }
        __m128i indices = rampIndices(t, spread);
        out[i] = ramp[_mm_cvtsi128_si32(indices)];
        out[i + 1] = ramp[_mm_cvtsi128_si32(_mm_shuffle_epi32(indices, 1))];
        out[i + 2] = ramp[_mm_cvtsi128_si32(_mm_shuffle_epi32(indices, 2))];
        out[i + 3] = ramp[_mm_cvtsi128_si32(_mm_shuffle_epi32(indices, 3))];
    }
#endif
    for (; i < count; ++i) {
        float t = positionAt(shape, row.u + row.du * float(i), row.v + row.dv * float(i), focal, rest, invRest);
        out[i] = ramp[int(spreadScalar(t, spread) * 255.0f + 0.5f)];
    }
}

} // namespace tesmar::render
