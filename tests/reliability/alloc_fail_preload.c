/* Loaded with LD_PRELOAD into yarx: refuses one colour allocation made by the
 * program itself, as a server with a full colormap would.
 *
 * The program sends all the colour allocations of a draw first and then
 * takes their answers in order; this stands between it and libxcb when it
 * takes them.  YARX_REFUSE_ALLOC_COLOR=N turns the Nth answer (counting from
 * 1) that the main executable takes into the error the server sends when it
 * has no cell left, BadAlloc; answers taken from the toolkit libraries pass
 * through uncounted.  A chart draw takes 1002 answers: the 1000 bands (the
 * first of them black, like the grid), then black, then white.  The refusal
 * is reported on standard error, with the colour the server had given, so a
 * test can see what was refused. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

typedef xcb_alloc_color_reply_t *(*alloc_color_reply_fn)(xcb_connection_t *,
                                                         xcb_alloc_color_cookie_t,
                                                         xcb_generic_error_t **);

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

xcb_alloc_color_reply_t *xcb_alloc_color_reply(xcb_connection_t *connection,
                                               xcb_alloc_color_cookie_t cookie,
                                               xcb_generic_error_t **error) {
    static alloc_color_reply_fn real;
    static long calls;
    if (!real) real = (alloc_color_reply_fn)dlsym(RTLD_NEXT, "xcb_alloc_color_reply");

    xcb_alloc_color_reply_t *reply = real(connection, cookie, error);
    if (!reply || !in_main_program(__builtin_return_address(0))) return reply;
    const char *setting = getenv("YARX_REFUSE_ALLOC_COLOR");
    const long refuse = setting ? atol(setting) : 0;
    if (++calls != refuse) return reply;

    fprintf(stderr, "alloc_fail_preload: refused call %ld for (%u,%u,%u)\n", calls, reply->red,
            reply->green, reply->blue);
    free(reply);
    /* The caller owns the error and frees it, as it would libxcb's. */
    xcb_generic_error_t *refusal = calloc(1, sizeof *refusal);
    if (refusal) {
        refusal->response_type = 0;
        refusal->error_code = XCB_ALLOC;
        refusal->sequence = (uint16_t)cookie.sequence;
        refusal->major_code = XCB_ALLOC_COLOR;
    }
    if (error)
        *error = refusal;
    else
        free(refusal);
    return NULL;
}
