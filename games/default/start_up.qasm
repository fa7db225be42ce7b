; The bundled game: it draws a screen of three windows with text in them,
; talks through message boxes (printed on standard error when headless), keeps
; a run counter in its settings file, dissolves into a night sky whose star
; twinkles (night.bmp, star.bmp and star.anm, drawn by make_pictures.py at
; build time), and ends a few seconds later or at a click. --dump-screen
; writes its last screen to a bitmap file.

.settings
    title "Quillon"
    end

.code
    ; A dark blue screen with a frame of colour 7 and three overlapping windows.
    pic_fill 0, 0, 0, 639, 479, 4, 0, -1
    pic_fill 0, 8, 8, 631, 471, 7, 0, -1
    pic_fill 0, 12, 12, 627, 467, 4, 0, -1
    win_open 1, 1, px: 60, py: 60, width: 300, height: 200, type: 0x030C
    win_open 2, 1, px: 200, py: 140, width: 300, height: 200, type: 0x030A, transp: 160
    win_open 3, 1, px: 340, py: 220, width: 240, height: 180, type: 0x0309, transp: 200
    ; Stripes in window 1, drawn from a picture buffer of eight colour bands.
    col_set 20, 40, 200, 255
    buf_grab 10, 1, 0, 0, 300, 16
    eval v3[6] = 0
stripe:
    pic_fill 10, 0, 0, 299, 15, 20 + v3[6] % 2 * -5, 1, -1
    win_draw_buf 10, 1, 0, 20 + v3[6] * 24, 0, 255, 0, 0
    eval ++v3[6]
    jump_if v3[6] < 7, stripe

    ; Text: a title with a shadow on the screen, words in the windows.
    text_put "Quillon へようこそ", 0, 24, 24, 18, 0, 15, -1, 8, 2, 2, 0, -1
    text_put "日本語のテキストと ASCII text,@Nwrapped at the window's edge.", 1, 8, 8, 18, 0, 15, -1, 0, 1, 1, 0, -1
    text_put "@C9赤@CFと@CE緑@CFと@CC青", 2, 8, 8, 18, 0, 15, -1, 0, 0, 0, 0, -1

    ; Sum 1..100 in a loop.
    eval v3[0] = 0
    eval v3[1] = 1
sum:
    eval v3[0] += v3[1]
    eval ++v3[1]
    jump_if v3[1] <= 100, sum
    str_expand "The sum of 1 to 100 is @%\"%d\",L0@.", 1
    sys_message s[1]

    ; Count the runs in Quillon.ini beside the game.
    ini_read "game", "runs"
    str_to_num s[0]
    eval v3[2] = r[1] + 1
    str_expand "@%\"%d\",L2@", 2
    ini_write "game", "runs", s[2]
    str_expand "This game has been started @%\"%d\",L2@ time(s) in this folder.", 3
    sys_message s[3]

    sys_time
    eval v3[3] = r[3]
    eval v3[4] = r[2]
    eval v3[5] = r[1]
    str_expand "Today is @%\"%04d\",L3@-@%\"%02d\",L4@-@%\"%02d\",L5@. Goodbye.", 4
    sys_message s[4]
    ; Three seconds to look at the screen, or a click.
    wait 300, 1

    ; Window 4 covers the screen and starts as a copy of it, each window
    ; drawn over the last at its opacity as the screen composes them, so the
    ; dissolve starts from what is shown. The windows below it can then go.
    win_open 4, 0, px: 0, py: 0, width: 640, height: 480, fwidth: 0
    pic_draw 0, 0, 4, 0, 0, 0, 0, 0, 0, 640, 480, 0, 255, 0, 1
    pic_draw 0, 1, 4, 60, 60, 0, 0, 0, 0, 300, 200, 0, 255, 0, 1
    pic_draw 0, 2, 4, 200, 140, 0, 0, 0, 0, 300, 200, 0, 160, 0, 1
    pic_draw 0, 3, 4, 340, 220, 0, 0, 0, 0, 240, 180, 0, 200, 0, 1
    win_show 4
    win_close 1
    win_close 2
    win_close 3
    ; The night comes in diagonally from the top-right corner, 15 diagonals
    ; every 10 ms behind an edge of 32.
    buf_read "night.bmp", 0, 30, 0, -1
    fx_dissolve 30, 4, 0, 0, 32, 1, 1
    buf_release 30
    ; The star over its resting place in the picture (456, 64) twinkles
    ; once a second until the end.
    buf_read "star.bmp", 0, 31, 0, -1
    buf_read "star.anm", 0, 32, 0, -1
    anim_def 1, 4, 456, 64, 31, 32, 0
    anim_start 1
    ; Four and a half seconds to look at the night, or a click; the star is
    ; then at rest, so the last screen is night.bmp itself.
    wait 450, 1
    end
