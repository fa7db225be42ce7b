/*
 * The example plug-in: a template for plug-in authors (docs/plugins.md).
 * Each export shows one part of the calling contract of quillon/plugin.h.
 *
 *   1  initialisation: accepts interface version 100 only.
 *   2  format(template, ...): printf-like formatting into string register 0;
 *      R1 = its length in bytes. %d prints a number or byte argument, %s a
 *      text, %% a percent sign; a directive without an argument prints "?".
 *      Status -1 without a template.
 *   3  a btn_wait callback: counts its calls in v3[0]; on the call that
 *      brings the count to v3[1] it answers with R1 = v3[2].
 *   4  a progress callback (file_copy, file_delete): counts calls in v3[10]
 *      and calls per phase (R1 = 0, 1, 2) in v3[11] to v3[13]; keeps the
 *      last total (R2) in v3[14] and count done (R3) in v3[15]; copies the
 *      last non-empty path (string register 0) to string register 2.
 *   5  upper-case(text): turns the ASCII letters of its text argument to
 *      capitals in place, in the caller's memory (string registers too).
 *   6  screen_info(x, y): R1 = the interface version, R2 and R3 = the screen
 *      picture's width and height, R4 = its pixel (x, y) as 0xRRGGBB (-1
 *      outside it), R5 and R6 = the pointer position; string register 0 =
 *      the window title.
 *   7  status(n): R1 = the argument count; returns n (0 without arguments).
 *
 * Everything a plug-in exchanges with scenarios goes through the info block;
 * this one keeps no state of its own.
 */
#include <quillon/plugin.h>
#include <stdio.h>
#include <string.h>

/* Largest text export 2 writes; longer output is cut. */
#define FORMAT_MAX 1024

static int32_t var(const struct qln_tables* t, int32_t space, int32_t index) {
    return t->var_get(t->engine, space, index);
}

static void var_add(const struct qln_tables* t, int32_t space, int32_t index, int32_t amount) {
    t->var_set(t->engine, space, index, var(t, space, index) + amount);
}

static void result_set(const struct qln_tables* t, uint32_t n, int32_t value) {
    if (n < t->result_count) t->results[n] = value;
}

static int32_t result_get(const struct qln_tables* t, uint32_t n) {
    return n < t->result_count ? t->results[n] : 0;
}

QLN_EXPORT(1) {
    (void)args;
    return count == QLN_INFO_WORDS && info[QLN_INFO_VERSION] == QLN_PLUGIN_VERSION ? 0 : 1;
}

/* Appends text to out (of FORMAT_MAX bytes), cutting it at the end. */
static void append(char* out, size_t* used, const char* text, size_t len) {
    size_t room = FORMAT_MAX - 1 - *used;
    if (len > room) len = room;
    memcpy(out + *used, text, len);
    *used += len;
}

QLN_EXPORT(2) {
    if (count < 1) return -1;
    const char* template_text = (const char*)args[0];
    char out[FORMAT_MAX];
    size_t used = 0;
    int32_t next = 1;
    for (const char* p = template_text; *p; ++p) {
        if (*p != '%' || (p[1] != 'd' && p[1] != 's' && p[1] != '%')) {
            append(out, &used, p, 1);
            continue;
        }
        ++p;
        if (*p == '%') {
            append(out, &used, "%", 1);
        } else if (next >= count) {
            append(out, &used, "?", 1);
        } else if (*p == 'd') {
            /* The whole word: a number arrives sign-extended, a byte
             * zero-extended, so both print as the scenario wrote them. */
            char digits[32];
            int len = snprintf(digits, sizeof digits, "%lld", (long long)args[next++]);
            append(out, &used, digits, (size_t)len);
        } else {
            const char* text = (const char*)args[next++];
            append(out, &used, text, strlen(text));
        }
    }
    out[used] = '\0';
    /* The template may live in string register 0: it is read to the end
     * before the register changes. */
    const struct qln_tables* t = qln_info_tables(info);
    t->str_set(t->engine, 0, out);
    result_set(t, 1, (int32_t)used);
    return 0;
}

QLN_EXPORT(3) {
    (void)count;
    (void)args;
    const struct qln_tables* t = qln_info_tables(info);
    var_add(t, 3, 0, 1);
    if (var(t, 3, 0) == var(t, 3, 1)) result_set(t, 1, var(t, 3, 2));
    return 1; /* a callback succeeds only above 0 */
}

QLN_EXPORT(4) {
    (void)count;
    (void)args;
    const struct qln_tables* t = qln_info_tables(info);
    const int32_t phase = result_get(t, 1);
    var_add(t, 3, 10, 1);
    if (phase >= 0 && phase <= 2) var_add(t, 3, 11 + phase, 1);
    t->var_set(t->engine, 3, 14, result_get(t, 2));
    t->var_set(t->engine, 3, 15, result_get(t, 3));
    const char* path = t->str_get(t->engine, 0);
    if (path && *path) t->str_set(t->engine, 2, path);
    return 1;
}

QLN_EXPORT(5) {
    (void)info;
    if (count < 1) return -1;
    for (char* p = (char*)args[0]; *p; ++p) {
        const unsigned char c = (unsigned char)*p;
        if (c >= 0x81 && (c <= 0x9F || (c >= 0xE0 && c <= 0xFC))) {
            if (!p[1]) break; /* a double-byte character: its second byte */
            ++p;              /* may look like a letter */
        } else if (c >= 'a' && c <= 'z') {
            *p = (char)(c - 'a' + 'A');
        }
    }
    return 0;
}

QLN_EXPORT(6) {
    const struct qln_tables* t = qln_info_tables(info);
    const struct qln_screen* screen = qln_info_screen(info);
    const struct qln_input* input = qln_info_input(info);
    const intptr_t x = count > 0 ? args[0] : 0, y = count > 1 ? args[1] : 0;
    int32_t pixel = -1;
    if (screen->pixels && x >= 0 && y >= 0 && x < screen->width && y < screen->height) {
        const uint8_t* bgr = screen->pixels + y * screen->stride + x * 3;
        pixel = (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];
    }
    result_set(t, 1, (int32_t)info[QLN_INFO_VERSION]);
    result_set(t, 2, screen->width);
    result_set(t, 3, screen->height);
    result_set(t, 4, pixel);
    result_set(t, 5, input->x);
    result_set(t, 6, input->y);
    t->str_set(t->engine, 0, qln_info_title(info));
    return 0;
}

QLN_EXPORT(7) {
    result_set(qln_info_tables(info), 1, count);
    return count > 0 ? (int32_t)args[0] : 0;
}
