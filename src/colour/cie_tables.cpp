#include "cie_tables.h"

namespace yarx::colour {

// CIE 1931 2-degree standard colorimetric observer: xbar, ybar, zbar of
// CIE 015:2004 Table T.4 (the 1931 functions), each rounded to three
// significant figures and never to more than four decimals.
// clang-format off
constexpr std::array<ObserverSample, wavelength_samples> observer_table = {{
    //  nm      xbar     ybar     zbar
    { 380,   0.0014,      0.0,   0.0065 },
    { 385,   0.0022,   0.0001,   0.0105 },
    { 390,   0.0042,   0.0001,   0.0201 },
    { 395,   0.0076,   0.0002,   0.0362 },
    { 400,   0.0143,   0.0004,   0.0679 },
    { 405,   0.0232,   0.0006,     0.11 },
    { 410,   0.0435,   0.0012,    0.207 },
    { 415,   0.0776,   0.0022,    0.371 },
    { 420,    0.134,    0.004,    0.646 },
    { 425,    0.215,   0.0073,     1.04 },
    { 430,    0.284,   0.0116,     1.39 },
    { 435,    0.329,   0.0168,     1.62 },
    { 440,    0.348,    0.023,     1.75 },
    { 445,    0.348,   0.0298,     1.78 },
    { 450,    0.336,    0.038,     1.77 },
    { 455,    0.319,    0.048,     1.74 },
    { 460,    0.291,     0.06,     1.67 },
    { 465,    0.251,   0.0739,     1.53 },
    { 470,    0.195,    0.091,     1.29 },
    { 475,    0.142,    0.113,     1.04 },
    { 480,   0.0956,    0.139,    0.813 },
    { 485,    0.058,    0.169,    0.616 },
    { 490,    0.032,    0.208,    0.465 },
    { 495,   0.0147,    0.259,    0.353 },
    { 500,   0.0049,    0.323,    0.272 },
    { 505,   0.0024,    0.407,    0.212 },
    { 510,   0.0093,    0.503,    0.158 },
    { 515,   0.0291,    0.608,    0.112 },
    { 520,   0.0633,     0.71,   0.0782 },
    { 525,     0.11,    0.793,   0.0573 },
    { 530,    0.166,    0.862,   0.0422 },
    { 535,    0.226,    0.915,   0.0298 },
    { 540,     0.29,    0.954,   0.0203 },
    { 545,     0.36,     0.98,   0.0134 },
    { 550,    0.433,    0.995,   0.0087 },
    { 555,    0.512,      1.0,   0.0057 },
    { 560,    0.595,    0.995,   0.0039 },
    { 565,    0.678,    0.979,   0.0027 },
    { 570,    0.762,    0.952,   0.0021 },
    { 575,    0.843,    0.915,   0.0018 },
    { 580,    0.916,     0.87,   0.0017 },
    { 585,    0.979,    0.816,   0.0014 },
    { 590,     1.03,    0.757,   0.0011 },
    { 595,     1.06,    0.695,    0.001 },
    { 600,     1.06,    0.631,   0.0008 },
    { 605,     1.05,    0.567,   0.0006 },
    { 610,      1.0,    0.503,   0.0003 },
    { 615,    0.938,    0.441,   0.0002 },
    { 620,    0.854,    0.381,   0.0002 },
    { 625,    0.751,    0.321,   0.0001 },
    { 630,    0.642,    0.265,      0.0 },
    { 635,    0.542,    0.217,      0.0 },
    { 640,    0.448,    0.175,      0.0 },
    { 645,    0.361,    0.138,      0.0 },
    { 650,    0.284,    0.107,      0.0 },
    { 655,    0.219,   0.0816,      0.0 },
    { 660,    0.165,    0.061,      0.0 },
    { 665,    0.121,   0.0446,      0.0 },
    { 670,   0.0874,    0.032,      0.0 },
    { 675,   0.0636,   0.0232,      0.0 },
    { 680,   0.0468,    0.017,      0.0 },
    { 685,   0.0329,   0.0119,      0.0 },
    { 690,   0.0227,   0.0082,      0.0 },
    { 695,   0.0158,   0.0057,      0.0 },
    { 700,   0.0114,   0.0041,      0.0 },
    { 705,   0.0081,   0.0029,      0.0 },
    { 710,   0.0058,   0.0021,      0.0 },
    { 715,   0.0041,   0.0015,      0.0 },
    { 720,   0.0029,    0.001,      0.0 },
    { 725,    0.002,   0.0007,      0.0 },
    { 730,   0.0014,   0.0005,      0.0 },
    { 735,    0.001,   0.0004,      0.0 },
    { 740,   0.0007,   0.0002,      0.0 },
    { 745,   0.0005,   0.0002,      0.0 },
    { 750,   0.0003,   0.0001,      0.0 },
    { 755,   0.0002,   0.0001,      0.0 },
    { 760,   0.0002,   0.0001,      0.0 },
    { 765,   0.0001,      0.0,      0.0 },
    { 770,   0.0001,      0.0,      0.0 },
    { 775,   0.0001,      0.0,      0.0 },
    { 780,      0.0,      0.0,      0.0 },
}};
// clang-format on
const std::array<ObserverSample, wavelength_samples> observer = observer_table;

static_assert(observer_table[35].nm == 555 && observer_table[35].ybar == 1.0,
              "the observer peaks at 555 nm");
static_assert(observer_table[80].xbar == 0 && observer_table[80].ybar == 0 &&
                  observer_table[80].zbar == 0,
              "the observer ends at zero");

namespace {

constexpr int sample_560nm = (560 - first_wavelength_nm) / wavelength_step_nm;

// CIE standard illuminants D65 and A, the published 5 nm tables (CIE 015:2004
// Table T.1).  A is Planck's law at 2848 K with c2 = 1.435e7 nm K:
// 100 (560/l)^5 (exp(c2/(2848*560)) - 1) / (exp(c2/(2848 l)) - 1), to six
// significant figures.
struct PublishedSample {
    int nm;
    double d65, a;
};

// clang-format off
constexpr std::array<PublishedSample, wavelength_samples> published = {{
    //  nm       D65          A
    { 380,   49.9755,    9.7951 },
    { 385,   52.3118,   10.8996 },
    { 390,   54.6482,   12.0853 },
    { 395,   68.7015,   13.3543 },
    { 400,   82.7549,    14.708 },
    { 405,   87.1204,    16.148 },
    { 410,    91.486,   17.6753 },
    { 415,   92.4589,   19.2907 },
    { 420,   93.4318,    20.995 },
    { 425,    90.057,   22.7883 },
    { 430,   86.6823,   24.6709 },
    { 435,   95.7736,   26.6425 },
    { 440,   104.865,   28.7027 },
    { 445,   110.936,   30.8508 },
    { 450,   117.008,   33.0859 },
    { 455,    117.41,   35.4068 },
    { 460,   117.812,   37.8121 },
    { 465,   116.336,   40.3002 },
    { 470,   114.861,   42.8693 },
    { 475,   115.392,   45.5174 },
    { 480,   115.923,   48.2423 },
    { 485,   112.367,   51.0418 },
    { 490,   108.811,   53.9132 },
    { 495,   109.082,   56.8539 },
    { 500,   109.354,   59.8611 },
    { 505,   108.578,    62.932 },
    { 510,   107.802,   66.0635 },
    { 515,   106.296,   69.2525 },
    { 520,    104.79,   72.4959 },
    { 525,   106.239,   75.7903 },
    { 530,   107.689,   79.1326 },
    { 535,   106.047,   82.5193 },
    { 540,   104.405,    85.947 },
    { 545,   104.225,   89.4124 },
    { 550,   104.046,    92.912 },
    { 555,   102.023,   96.4423 },
    { 560,     100.0,     100.0 },
    { 565,   98.1671,   103.582 },
    { 570,   96.3342,   107.184 },
    { 575,   96.0611,   110.803 },
    { 580,    95.788,   114.436 },
    { 585,   92.2368,    118.08 },
    { 590,   88.6856,   121.731 },
    { 595,   89.3459,   125.386 },
    { 600,   90.0062,   129.043 },
    { 605,   89.8026,   132.697 },
    { 610,   89.5991,   136.346 },
    { 615,   88.6489,   139.988 },
    { 620,   87.6987,   143.618 },
    { 625,   85.4936,   147.235 },
    { 630,   83.2886,   150.836 },
    { 635,   83.4939,   154.418 },
    { 640,   83.6992,   157.979 },
    { 645,    81.863,   161.516 },
    { 650,   80.0268,   165.028 },
    { 655,   80.1207,    168.51 },
    { 660,   80.2146,   171.963 },
    { 665,   81.2462,   175.383 },
    { 670,   82.2778,   178.769 },
    { 675,    80.281,   182.118 },
    { 680,   78.2842,   185.429 },
    { 685,   74.0027,   188.701 },
    { 690,   69.7213,   191.931 },
    { 695,   70.6652,   195.118 },
    { 700,   71.6091,   198.261 },
    { 705,    72.979,   201.359 },
    { 710,    74.349,   204.409 },
    { 715,   67.9765,   207.411 },
    { 720,    61.604,   210.365 },
    { 725,   65.7448,   213.268 },
    { 730,   69.8856,    216.12 },
    { 735,   72.4863,    218.92 },
    { 740,    75.087,   221.667 },
    { 745,   69.3398,   224.361 },
    { 750,   63.5927,     227.0 },
    { 755,   55.0054,   229.585 },
    { 760,   46.4182,   232.115 },
    { 765,   56.6118,   234.589 },
    { 770,   66.8054,   237.008 },
    { 775,   65.0941,    239.37 },
    { 780,   63.3828,   241.675 },
}};
// clang-format on

// CIE daylight basis functions S0, S1, S2, published at 10 nm (CIE 015:2004).
struct BasisSample {
    int nm;
    double s0, s1, s2;
};

constexpr int basis_samples = 41;  // 380, 390, ..., 780 nm

// clang-format off
constexpr std::array<BasisSample, basis_samples> daylight_basis = {{
    //  nm      S0      S1     S2
    { 380,   63.4,   38.5,   3.0 },
    { 390,   65.8,   35.0,   1.2 },
    { 400,   94.8,   43.4,  -1.1 },
    { 410,  104.8,   46.3,  -0.5 },
    { 420,  105.9,   43.9,  -0.7 },
    { 430,   96.8,   37.1,  -1.2 },
    { 440,  113.9,   36.7,  -2.6 },
    { 450,  125.6,   35.9,  -2.9 },
    { 460,  125.5,   32.6,  -2.8 },
    { 470,  121.3,   27.9,  -2.6 },
    { 480,  121.3,   24.3,  -2.6 },
    { 490,  113.5,   20.1,  -1.8 },
    { 500,  113.1,   16.2,  -1.5 },
    { 510,  110.8,   13.2,  -1.3 },
    { 520,  106.5,    8.6,  -1.2 },
    { 530,  108.8,    6.1,  -1.0 },
    { 540,  105.3,    4.2,  -0.5 },
    { 550,  104.4,    1.9,  -0.3 },
    { 560,  100.0,    0.0,   0.0 },
    { 570,   96.0,   -1.6,   0.2 },
    { 580,   95.1,   -3.5,   0.5 },
    { 590,   89.1,   -3.5,   2.1 },
    { 600,   90.5,   -5.8,   3.2 },
    { 610,   90.3,   -7.2,   4.1 },
    { 620,   88.4,   -8.6,   4.7 },
    { 630,   84.0,   -9.5,   5.1 },
    { 640,   85.1,  -10.9,   6.7 },
    { 650,   81.9,  -10.7,   7.3 },
    { 660,   82.6,  -12.0,   8.6 },
    { 670,   84.9,  -14.0,   9.8 },
    { 680,   81.3,  -13.6,  10.2 },
    { 690,   71.9,  -12.0,   8.3 },
    { 700,   74.3,  -13.3,   9.6 },
    { 710,   76.4,  -12.9,   8.5 },
    { 720,   63.3,  -10.6,   7.0 },
    { 730,   71.7,  -11.6,   7.6 },
    { 740,   77.0,  -12.2,   8.0 },
    { 750,   65.2,  -10.2,   6.7 },
    { 760,   47.7,   -7.8,   5.2 },
    { 770,   68.6,  -11.2,   7.4 },
    { 780,   65.0,  -10.4,   6.8 },
}};
// clang-format on

template <typename Column>
constexpr Spectrum published_column(Column column) {
    Spectrum s{};
    for (int j = 0; j < wavelength_samples; ++j) s[j] = published[j].*column;
    return s;
}

// Daylight rule (CIE 015):  S = S0 + M1*S1 + M2*S2, summed in that order with
// every basis value counted with its sign.  Between two 10 nm points each basis
// function is the mean of its neighbours, (lower + upper) / 2.
constexpr Spectrum daylight(double m1, double m2) {
    Spectrum s{};
    for (int j = 0; j < wavelength_samples; ++j) {
        const BasisSample &lower = daylight_basis[j / 2];
        const BasisSample &upper = daylight_basis[(j + 1) / 2];
        const double s0 = (lower.s0 + upper.s0) / 2;
        const double s1 = (lower.s1 + upper.s1) / 2;
        const double s2 = (lower.s2 + upper.s2) / 2;
        s[j] = s0 + m1 * s1 + m2 * s2;
    }
    return s;
}

constexpr Spectrum constant_power(double power) {
    Spectrum s{};
    for (double &v : s) v = power;
    return s;
}

}  // namespace

namespace spectra {

constexpr Spectrum d65 = published_column(&PublishedSample::d65);
constexpr Spectrum cie_a = published_column(&PublishedSample::a);

// Equal energy (CIE illuminant E): the same power at every wavelength.  The
// level is the program's own; it cancels when the chart is scaled to its
// brightest component, which is 1.14 before scaling at this level.
constexpr Spectrum equal_energy = constant_power(0.2643);

// The CIE daylight coefficients for 100 times the label's number in kelvin.
// D40, D50, D68, D73 and D95 are rounded to three decimals.  D32, D33 and
// D55 carry more digits, and M2 of each differs in its third decimal from
// what the published formula gives: these are the coefficients the charts
// of those illuminants are defined by, so they must not be "corrected".
constexpr Spectrum d32 = daylight(-1.7052398673, 7.3824619643);
constexpr Spectrum d33 = daylight(-1.6959201122, 6.6221491071);
constexpr Spectrum d40 = daylight(-1.505, 2.827);
constexpr Spectrum d50 = daylight(-1.040, 0.367);
constexpr Spectrum d55 = daylight(-0.7863384286, -0.1962925);
constexpr Spectrum d68 = daylight(-0.159, -0.739);
constexpr Spectrum d73 = daylight(0.060, -0.765);
constexpr Spectrum d95 = daylight(0.856, -0.471);

}  // namespace spectra

namespace {

constexpr bool grid_is_regular() {
    for (int j = 0; j < wavelength_samples; ++j) {
        const int nm = first_wavelength_nm + wavelength_step_nm * j;
        if (observer_table[j].nm != nm || published[j].nm != nm) return false;
        if (j % 2 == 0 && daylight_basis[j / 2].nm != nm) return false;
    }
    return true;
}
static_assert(grid_is_regular(), "every table runs 380..780 nm in 5 nm steps");

constexpr bool all_read_100_at_560nm() {
    using namespace spectra;
    for (const Spectrum *s : {&d32, &d33, &d40, &d50, &d55, &d65, &d68, &d73, &d95, &cie_a})
        if ((*s)[sample_560nm] != 100.0) return false;
    return true;
}
static_assert(all_read_100_at_560nm(),
              "every illuminant but equal energy is normalised to 100 at 560 nm");

}  // namespace

}  // namespace yarx::colour
