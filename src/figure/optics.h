// The optics of a conoscopic figure: for each point of the objective's
// field, the wave normal in the crystal, the two waves' indices, the
// retardation and the slow wave's vibration.
//
// The field: a point (u, v), east and north, r = sqrt(u^2 + v^2) <= 1.  The
// objective's sine condition gives sin theta_air = NA r; in the crystal
// sin theta = NA r / n with n the mean index, along the azimuth
// psi = atan2(v, u), z up the microscope.
#pragma once

#include "figure/settings.h"

namespace yarx::figure {

// The crystal in the stage's frame: its impermeability tensor
// (1/n^2 along each principal axis) and the numbers every point uses.
struct Optics {
    double impermeability[3][3];
    double n_alpha, n_beta, n_gamma;
    double na_over_n;  // NA / n: sin theta at r = 1
    double numerical_aperture;
    double path_nm;  // 1000 t: the thickness in nm
};

// n_alpha = n - dn/2 and n_gamma = n + dn/2; n_beta from 2V about the acute
// bisectrix (Z when positive, X when negative); a uniaxial crystal is one
// whose 2V is 0.  At tilt 0 the optic axis or the acute bisectrix stands up
// the microscope, with the optic axial plane's trace at the azimuth; a
// tilt turns the crystal about the horizontal normal to that trace, the
// axis moving towards the azimuth.
Optics optics_of(const Settings &settings);

// What one point of the field shows.
struct Ray {
    bool inside;            // r <= 1; nothing else is set outside
    double retardation_nm;  // Gamma = 1000 (n2 - n1) t / cos theta
    double sin_2phi;        // of the slow vibration's azimuth phi
    double cos_2phi;
    double slow_azimuth_deg;  // phi, anticlockwise from east, 0 to 180
    double air_angle_deg;     // from the microscope's axis, in air
};

// n1 < n2 are 1/sqrt of the eigenvalues of the impermeability restricted
// to the plane normal to the wave normal; phi is the slow (n2) vibration's
// azimuth projected onto the stage.
Ray ray_at(const Optics &optics, double u, double v);

// The same without the angles of a reading (slow_azimuth_deg and
// air_angle_deg stay 0): all a pixel's colour needs.
Ray colour_ray_at(const Optics &optics, double u, double v);

// The point a pixel of a figure size pixels wide stands for:
// u = (col - c) / c, v = -(row - c) / c, c = (size - 1) / 2.
struct FieldPoint {
    double u, v;
};
FieldPoint field_point(int size, int col, int row);

// A pixel's ray.
inline Ray pixel_ray(const Optics &optics, int size, int col, int row) {
    const FieldPoint p = field_point(size, col, row);
    return ray_at(optics, p.u, p.v);
}

}  // namespace yarx::figure
