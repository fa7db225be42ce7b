/*
 * quillon/plugin.h - the interface between Quillon and its plug-ins.
 *
 * A plug-in is a native shared library (an ELF ".so" on Linux) that a
 * scenario loads into a data buffer with plugin_load and calls by number
 * with plugin_call. Export number N is the C function
 *
 *     int32_t qln_export_N(int32_t count, const intptr_t *args,
 *                          const intptr_t *info);
 *
 * where N is written in decimal without leading zeros (qln_export_1,
 * qln_export_12). Numbers run from 1 to 65535; a scenario's export number is
 * taken modulo 65536 and 0 names no export. Declare exports with QLN_EXPORT so
 * they are visible and unmangled:
 *
 *     QLN_EXPORT(2) {
 *         struct qln_tables *t = qln_info_tables(info);
 *         t->results[1] = count;
 *         return 0;
 *     }
 *
 * Export 1 initialises the plug-in. plugin_load calls it once, with count 7
 * and the info block as both args and info; it returns 0 to accept the load,
 * anything else to refuse it (the library is then unloaded and the load
 * fails). A library without export 1 does not load. Nothing is called when
 * the library is unloaded (its data buffer freed or loaded over, or the
 * engine ending); use the platform's library destructors for that.
 *
 * Arguments. plugin_call passes its typed arguments in order, at most 256:
 *   - a number: its 32-bit value, sign-extended to intptr_t;
 *   - a byte: its value 0 to 255, zero-extended;
 *   - a text: the address of the NUL-terminated Shift-JIS text itself, not a
 *     copy (a text in a string register points into the engine's string
 *     pool: read it before calling str_set, which may move the pool);
 *   - an argument of an unknown type: 0.
 * The plug-in cannot tell the types apart; the scenario and the plug-in
 * agree on them. An export returning a negative status fails the command
 * (error -121); 0 and above succeed.
 *
 * Callbacks. A scenario may name an export as a callback (the callback of
 * btn_wait, the progress callback of file_copy and file_delete, the choice
 * callback of win_select
 * and the paint callback of a window): the export is then called with count
 * 0 and args NULL, and the callback succeeds only when it returns a value
 * above 0 (0 counts as failure). The caller sets result registers before the
 * call and reads them after it; the plug-in reaches them through
 * qln_info_tables(info)->results.
 *
 * Every call runs on the engine's scenario thread and waits for its return.
 * The info block and the records it points to live only for the call: do not
 * keep their addresses.
 *
 * Interface version: QLN_PLUGIN_VERSION, in info word 0. Records may grow at
 * their ends in later versions; a version change means an incompatible one.
 */
#ifndef QUILLON_PLUGIN_H
#define QUILLON_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QLN_PLUGIN_VERSION 100

/* Words of the info block (info[QLN_INFO_...]). */
enum {
    QLN_INFO_VERSION = 0, /* QLN_PLUGIN_VERSION */
    QLN_INFO_WINDOW = 1,  /* const intptr_t *: the main window's native handle,
                             0 when the host gives the engine none */
    QLN_INFO_TITLE = 2,   /* const char *: the window title (Shift-JIS, a
                             buffer of 260 bytes) */
    QLN_INFO_SCREEN = 3,  /* struct qln_screen * */
    QLN_INFO_TABLES = 4,  /* struct qln_tables * */
    QLN_INFO_WINDOWS = 5, /* the engine's window table; its layout is private
                             to the engine: an identity, not for reading */
    QLN_INFO_INPUT = 6,   /* const struct qln_input *: taken just before the
                             call */
    QLN_INFO_WORDS = 7    /* words in the block */
};

/* The screen picture the engine composes its windows into. Pixels are blue,
 * green, red bytes, rows top-down, `stride` bytes apart. pixels is NULL and
 * the sizes 0 before the screen exists. The engine composes an area anew
 * from the windows whenever one of them changes there, so drawing here lasts
 * only until then: read it, do not rely on writing it. */
struct qln_screen {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t stride;
};

/* The pointer and buttons as a snapshot taken just before the call:
 * client coordinates, buttons 1 while held, the character typed since the
 * previous snapshot (a double-byte character as lead * 256 + trail) or
 * 0xFFFF for none. */
struct qln_input {
    int32_t x;
    int32_t y;
    int32_t left;
    int32_t right;
    int32_t middle;
    int32_t last_character;
};

/* The values a plug-in exchanges with scenarios. The functions take
 * `engine` as their first argument. Numbers out of range name nothing:
 * reads give 0 or NULL, writes are ignored. */
struct qln_tables {
    uint32_t size;         /* sizeof(struct qln_tables) as the engine knows it */
    uint32_t result_count; /* result registers 0 .. result_count - 1 */
    int32_t* results;      /* results[n] is result register n: the bank
                              scenarios see now (interval callbacks have their
                              own). Scenarios cannot write these; plug-ins
                              can. */
    void* engine;
    /* String register n, NULL for n out of range ("" when empty). The text
     * stays valid until the next str_set. */
    const char* (*str_get)(void* engine, int32_t n);
    /* Stores a copy of text (NULL stores "") in string register n. */
    void (*str_set)(void* engine, int32_t n, const char* text);
    /* System string n (directories the scenario set up), as str_get. */
    const char* (*sysstr_get)(void* engine, int32_t n);
    /* Variable (space, index) as scenarios read and write it: spaces 0 to 9,
     * 10 the result registers (read only here), 11 the running scenario's
     * local variables. */
    int32_t (*var_get)(void* engine, int32_t space, int32_t index);
    void (*var_set)(void* engine, int32_t space, int32_t index, int32_t value);
};

typedef int32_t (*qln_export_fn)(int32_t count, const intptr_t* args, const intptr_t* info);

#if defined(_WIN32)
#define QLN_EXPORT_ATTR __declspec(dllexport)
#else
#define QLN_EXPORT_ATTR __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define QLN_EXPORT_LINKAGE extern "C"
#else
#define QLN_EXPORT_LINKAGE
#endif

/* Defines export number n (a decimal literal without leading zeros). */
#define QLN_EXPORT(n)                                                                              \
    QLN_EXPORT_LINKAGE QLN_EXPORT_ATTR int32_t qln_export_##n(int32_t count, const intptr_t* args, \
                                                              const intptr_t* info)

static inline struct qln_screen* qln_info_screen(const intptr_t* info) {
    return (struct qln_screen*)info[QLN_INFO_SCREEN];
}
static inline struct qln_tables* qln_info_tables(const intptr_t* info) {
    return (struct qln_tables*)info[QLN_INFO_TABLES];
}
static inline const struct qln_input* qln_info_input(const intptr_t* info) {
    return (const struct qln_input*)info[QLN_INFO_INPUT];
}
static inline const char* qln_info_title(const intptr_t* info) {
    return (const char*)info[QLN_INFO_TITLE];
}

#ifdef __cplusplus
}
#endif

#endif /* QUILLON_PLUGIN_H */
