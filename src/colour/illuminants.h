// The illuminants the program offers, one row each, in their order on the
// setup window's screen.  The setup window makes a toggle of each row, the
// fallback resources give it its label, and the colour computation takes
// its spectrum; the tests, the tools and the X driver read the same rows.
// Adding an illuminant is one row here and one spectrum in cie_tables.cpp.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>

#include "cie_tables.h"

namespace yarx::colour {

struct Illuminant {
    int id;                    // identifier, fixed for good: 4 and 9 were never used
    const char *widget;        // the toggle's widget name, which resources address
    const char *label;         // the toggle's label in the fallback resources
    const char *short_name;    // in file names and in tests
    const Spectrum *spectrum;  // relative spectral power on the wavelength grid
};

// clang-format off
inline constexpr Illuminant illuminants[] = {
    // id  widget  label                           short    spectrum
    {  2, "eew",  "Equal Energy Alignment White", "eew",   &spectra::equal_energy },
    { 11, "d32",  "D32",                          "d32",   &spectra::d32 },
    { 12, "d33",  "D33",                          "d33",   &spectra::d33 },
    {  7, "d40",  "D40",                          "d40",   &spectra::d40 },
    {  5, "d50",  "D50",                          "d50",   &spectra::d50 },
    { 13, "d55",  "D55",                          "d55",   &spectra::d55 },
    {  1, "d65",  "D65",                          "d65",   &spectra::d65 },
    // D68's toggle is "c", not "d68": users' resources and scripts address it so.
    { 10, "c",    "D68",                          "d68",   &spectra::d68 },
    {  6, "d73",  "D73",                          "d73",   &spectra::d73 },
    {  8, "d95",  "D95",                          "d95",   &spectra::d95 },
    {  3, "a",    "CIE A",                        "cie-a", &spectra::cie_a },
};
// clang-format on

constexpr int illuminant_count = static_cast<int>(std::size(illuminants));

// The row of an identifier, or nullptr when none has it.
constexpr const Illuminant *find_illuminant(int id) {
    for (const Illuminant &i : illuminants)
        if (i.id == id) return &i;
    return nullptr;
}

// The relative spectral power of an illuminant, or nullptr for an
// identifier that names none (4, 9, anything outside 1..13).
constexpr const Spectrum *illuminant_spectrum(int id) {
    const Illuminant *row = find_illuminant(id);
    return row ? row->spectrum : nullptr;
}

// The row with the short name; there must be one.
constexpr const Illuminant &illuminant_named(std::string_view short_name) {
    for (const Illuminant &i : illuminants)
        if (short_name == i.short_name) return i;
    throw std::invalid_argument("no illuminant has that short name");
}

// Whether two names are the same in any case, letters being ASCII.
constexpr bool same_in_any_case(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// An illuminant by the label the setup window shows or by its short name,
// in any case; nullptr for none.
constexpr const Illuminant *illuminant_called(std::string_view name) {
    for (const Illuminant &i : illuminants)
        if (same_in_any_case(name, i.label) || same_in_any_case(name, i.short_name)) return &i;
    return nullptr;
}

// The identifier of the illuminant with the short name.
constexpr int id_of(std::string_view short_name) { return illuminant_named(short_name).id; }

// Its place on the screen, from the top of the radio box.
constexpr int position_of(const Illuminant &illuminant) {
    return static_cast<int>(&illuminant - illuminants);
}

}  // namespace yarx::colour
