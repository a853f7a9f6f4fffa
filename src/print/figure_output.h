// The two back ends that put a figure in a file: cairo, for PNG and PDF,
// and a plain SVG writer that keeps the texts as text (cairo's SVG turns
// them into outlines, which cannot be searched).  Both write through a
// callback of cairo's kind, so the file behind it sees every byte once.
#pragma once

#include <cairo.h>

#include "print/figure.h"

namespace yarx::print {

// Where the figure lands on the page: the page's size in the output's
// units (pixels for PNG, points for PDF, user units for SVG), and the
// figure scaled by scale with its top left corner at (left, top).
struct Placement {
    double page_width, page_height;
    double scale, left, top;
    bool on_paper;  // a page of paper, which an SVG sizes in points
};

// The placement for the settings: without paper, the figure's own size
// times settings.scale; on paper, the page in points (at settings.dpi for
// a PNG), the figure fitted within margins and centred.
Placement placement_of(const FigureSettings &settings, Format format, const Figure &figure);

// The figure as pixels: an RGB24 image surface of the page's size, which
// the caller destroys; at one pixel a unit the lines are drawn as the X
// server draws them, without antialiasing.
cairo_surface_t *draw_raster(const Figure &figure, const Placement &placement);

// The bands' image, one pixel a row, in an RGB24 surface the caller
// destroys.
cairo_surface_t *band_image(const Figure &figure);

// The figure's picture in an RGB24 surface the caller destroys.
cairo_surface_t *picture_image(const Picture &picture);

// The figure onto a cairo context whose units are the page's.
void draw_figure(cairo_t *cr, const Figure &figure, const Placement &placement);

// The figure as a PDF page, or as SVG, through the callback; false when
// the callback or cairo failed.
bool write_pdf(const Figure &figure, const Placement &placement, cairo_write_func_t write,
               void *closure);
bool write_svg(const Figure &figure, const Placement &placement, cairo_write_func_t write,
               void *closure);

}  // namespace yarx::print
