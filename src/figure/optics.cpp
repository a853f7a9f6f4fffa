#include "optics.h"

#include <cmath>

namespace yarx::figure {

namespace {

// The angles of the stage (tilt, azimuth, 2V) in radians: geometry, not the
// chart's colour arithmetic, so the machine's pi.
constexpr double radians_per_degree = M_PI / 180;

struct Vector {
    double x, y, z;
};

void add_dyad(double (&m)[3][3], double weight, const Vector &a) {
    const double c[3] = {a.x, a.y, a.z};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] += weight * c[i] * c[j];
}

// a^T m b
double form(const double (&m)[3][3], const Vector &a, const Vector &b) {
    const double ca[3] = {a.x, a.y, a.z}, cb[3] = {b.x, b.y, b.z};
    double sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += ca[i] * (m[i][0] * cb[0] + m[i][1] * cb[1] + m[i][2] * cb[2]);
    return sum;
}

}  // namespace

Optics optics_of(const Settings &s) {
    Optics o{};
    o.n_alpha = s.mean_index - s.birefringence / 2;
    o.n_gamma = s.mean_index + s.birefringence / 2;
    const bool positive = s.sign == OpticSign::positive;
    // V_z, the angle of the optic axes from Z: V when Z is the acute
    // bisectrix, 90 - V when X is; a uniaxial crystal's axis is Z or X.
    const double v = s.optic_class == OpticClass::biaxial ? s.optic_angle_deg / 2 : 0;
    const double vz = (positive ? v : 90 - v) * radians_per_degree;
    // tan^2 V_z = (1/a^2 - 1/b^2) / (1/b^2 - 1/g^2), solved for 1/b^2.
    const double inverse_alpha = 1 / (o.n_alpha * o.n_alpha);
    const double inverse_gamma = 1 / (o.n_gamma * o.n_gamma);
    const double inverse_beta =
        std::cos(vz) * std::cos(vz) * inverse_alpha + std::sin(vz) * std::sin(vz) * inverse_gamma;
    o.n_beta = 1 / std::sqrt(inverse_beta);

    // The acute bisectrix (or optic axis) leans by the tilt towards the
    // azimuth; the other axis of the optic axial plane leans with it; the
    // optic normal Y stays level.
    const double tilt = s.tilt_deg * radians_per_degree;
    const double azimuth = s.azimuth_deg * radians_per_degree;
    const Vector up = {std::sin(tilt) * std::cos(azimuth), std::sin(tilt) * std::sin(azimuth),
                       std::cos(tilt)};
    const Vector in_plane = {std::cos(tilt) * std::cos(azimuth), std::cos(tilt) * std::sin(azimuth),
                             -std::sin(tilt)};
    const Vector normal = {-std::sin(azimuth), std::cos(azimuth), 0};
    add_dyad(o.impermeability, inverse_alpha, positive ? in_plane : up);
    add_dyad(o.impermeability, inverse_beta, normal);
    add_dyad(o.impermeability, inverse_gamma, positive ? up : in_plane);

    o.na_over_n = s.numerical_aperture / s.mean_index;
    o.numerical_aperture = s.numerical_aperture;
    o.path_nm = 1000 * s.thickness_um;
    return o;
}

FieldPoint field_point(int size, int col, int row) {
    const double c = (size - 1) / 2.0;
    return {(col - c) / c, -(row - c) / c};
}

namespace {

// The ray, with the angles a reading gives (phi and the angle in air) only
// where asked: a figure's pixels need Gamma and sin 2 phi alone.
Ray trace(const Optics &o, double u, double v, bool with_angles) {
    Ray ray{};
    const double r2 = u * u + v * v;
    if (!(r2 <= 1)) return ray;
    ray.inside = true;
    const double r = std::sqrt(r2);
    const double sin_theta = o.na_over_n * r;
    const double cos_theta = std::sqrt(1 - sin_theta * sin_theta);
    const double cos_psi = r > 0 ? u / r : 1, sin_psi = r > 0 ? v / r : 0;
    // The section normal to k = (sin theta cos psi, sin theta sin psi,
    // cos theta): e1 level and across the azimuth, e2 in the plane of k and
    // the microscope's axis.
    const Vector e1 = {-sin_psi, cos_psi, 0};
    const Vector e2 = {cos_theta * cos_psi, cos_theta * sin_psi, -sin_theta};
    const double a = form(o.impermeability, e1, e1);
    const double b = form(o.impermeability, e1, e2);
    const double d = form(o.impermeability, e2, e2);
    const double mean = (a + d) / 2, half = (a - d) / 2;
    const double root = std::sqrt(half * half + b * b);
    const double slow = mean - root, fast = mean + root;  // the smaller mu, the larger n
    // 1/sqrt(slow) - 1/sqrt(fast), without the cancellation of two close
    // indices: (fast - slow) / ((sqrt fast + sqrt slow) sqrt slow sqrt fast).
    const double root_slow = std::sqrt(slow), root_fast = std::sqrt(fast);
    const double index_difference = 2 * root / ((root_fast + root_slow) * root_slow * root_fast);
    ray.retardation_nm = o.path_nm * index_difference / cos_theta;

    // The slow eigenvector of [[a, b], [b, d]], from whichever row keeps
    // its digits, then on the stage.
    const double alpha = half >= 0 ? b : half - root;
    const double beta = half >= 0 ? -(root + half) : b;
    const double dx = alpha * e1.x + beta * e2.x, dy = alpha * e1.y + beta * e2.y;
    const double projected = dx * dx + dy * dy;
    if (projected > 0) {
        ray.sin_2phi = 2 * dx * dy / projected;
        ray.cos_2phi = (dx * dx - dy * dy) / projected;
    }
    if (!with_angles) return ray;
    if (projected > 0) {
        double phi = std::atan2(dy, dx) / radians_per_degree;
        if (phi < 0) phi += 180;
        if (phi >= 180) phi -= 180;
        ray.slow_azimuth_deg = phi;
    }
    ray.air_angle_deg = std::asin(o.numerical_aperture * r) / radians_per_degree;
    return ray;
}

}  // namespace

Ray ray_at(const Optics &o, double u, double v) { return trace(o, u, v, true); }

Ray colour_ray_at(const Optics &o, double u, double v) { return trace(o, u, v, false); }

}  // namespace yarx::figure
