/* Loaded with LD_PRELOAD into yarx: refuses one colour allocation made by the
 * program itself, as a server with a full colormap would.
 *
 * YARX_REFUSE_ALLOC_COLOR=N refuses the Nth XAllocColor call (counting from
 * 1) whose caller lies in the main executable; calls from the toolkit
 * libraries pass through uncounted.  A chart draw makes 1002 calls: the 1000
 * bands (the first of them black, like the grid), then black, then white.
 * The refusal is reported on standard error so a test can see what was
 * refused. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <link.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

typedef Status (*alloc_color_fn)(Display *, Colormap, XColor *);

struct segment {
    uintptr_t start, end;
};
static struct segment segments[16];
static int segment_count = -1;

/* The first object dl_iterate_phdr reports is the main program. */
static int note_main_program(struct dl_phdr_info *info, size_t size, void *data) {
    (void)size;
    (void)data;
    segment_count = 0;
    for (int i = 0; i < info->dlpi_phnum && segment_count < 16; ++i) {
        const ElfW(Phdr) *ph = &info->dlpi_phdr[i];
        if (ph->p_type != PT_LOAD) continue;
        segments[segment_count].start = info->dlpi_addr + ph->p_vaddr;
        segments[segment_count].end = info->dlpi_addr + ph->p_vaddr + ph->p_memsz;
        ++segment_count;
    }
    return 1; /* stop after the first */
}

static int in_main_program(const void *address) {
    if (segment_count < 0) dl_iterate_phdr(note_main_program, NULL);
    const uintptr_t a = (uintptr_t)address;
    for (int i = 0; i < segment_count; ++i)
        if (a >= segments[i].start && a < segments[i].end) return 1;
    return 0;
}

Status XAllocColor(Display *display, Colormap colormap, XColor *colour) {
    static alloc_color_fn real;
    static long calls;
    if (!real) real = (alloc_color_fn)dlsym(RTLD_NEXT, "XAllocColor");

    if (in_main_program(__builtin_return_address(0))) {
        const char *setting = getenv("YARX_REFUSE_ALLOC_COLOR");
        const long refuse = setting ? atol(setting) : 0;
        if (++calls == refuse) {
            fprintf(stderr, "alloc_fail_preload: refused call %ld for (%u,%u,%u) flags %d\n", calls,
                    colour->red, colour->green, colour->blue, colour->flags);
            return 0;
        }
    }
    return real(display, colormap, colour);
}
