; Windows, pictures of every format, fonts and text, buttons and effects.
.settings
    buffers 40
    strings 64
    title "seed windows"
    screen 320, 240
    view 320, 240
    cursor "DEFAULT.AMP", 0
    end
.code
    pic_fill 0, 0, 0, 319, 239, 4, 0, -1
    col_set 20, 40, 200, 255
    col_get 20
    win_open 1, 1, px: 10, py: 10, width: 160, height: 120, type: 0x030C
    win_open 2, 1, px: 60, py: 50, width: 160, height: 120, type: 0x030A, transp: 160
    win_load "pic24.gcp", 0, 1, 0, 0, 0, 0, 255, 0, 0
    win_load "pic1.gcp", 0, 1, 40, 0, 0, 0, 255, 0, 0
    win_load "pic24.bmp", 0, 2, 0, 0, 20, 0, 200, 0, 0
    win_load "pic8.bmp", 0, 2, 40, 0, 0, 0, 255, 1, 0
    win_load "pic1.bmp", 0, 2, 0, 30, 0, 0, 255, 0, 0
    win_load "alpha.tga", 0, 2, 40, 30, 0, 0, 255, 0, 1
    win_load "plane.pln", 0, 1, 0, 40, 0, 0, 255, 0, 0
    win_load "pics.gpc", 2, 1, 60, 60, 0, 0, 255, 0, 0
    win_load "more.qsc", 1, 1, 80, 60, 0, 0, 255, 0, 0
    buf_read "pic24.bmp", 0, 5, 0, 0
    buf_read "alpha.tga", 0, 6, 0, 0
    buf_cells 5, 8, 8, 4
    win_draw_cell 5, 3, 1, 2, 2, 255, 0, 0
    buf_grab 7, 1, 0, 0, 32, 16
    win_draw_buf 7, 2, 5, 5, 10, 128, 0, 0
    pic_draw 0, 5, 1, 0, 0, 64, 48, 0, 0, 32, 24, 0, 255, 0, 0
    pic_invert 1, 0, 0, 20, 20, 0
    alpha_key 5, 0, 0
    alpha_load 5, "alpha.tga", 0, 0, 0
    alpha_copy 7, 6, 0
    win_pixel 1, 3, 3
    font_make 3, "ＭＳ 明朝", -20, 700, 1, 0
    font_make 4, "no such face", 12, 400, 0, 12
    font_pic 1, 6, 4, 4, 8, 4, 65, 90, 1
    text_put "日本語のテキスト@Nand ASCII", 1, 4, 4, 18, 0, 15, -1, 8, 1, 1, 0, -1
    text_put "@C9赤@CF@F3太字@F4x@X1ABC", 2, 2, 2, 22, 3, 15, 0, 0, 0, 0, 1, -1
    buf_regions 8, 2
    btn_def 8, 0, 1, 10, 10, 40, 20, 0x10007, 0
    btn_def 8, 1, 2, 60, 10, 40, 20, 0x10007, 0
    win_set 1, bt_buff: 8, bt_num: 2
    win_btn_num 1, 2
    btn_enable 8, 1, 1
    win_move 2, 30, 40
    win_resize 2, 120, 90
    win_transp 2, 100
    win_tile 1, 5
    win_list_layout 1, 16, 60, 2, 2, 0, 4, 4
    win_info 1
    win_pin 2
    win_unpin 2
    win_hide 2
    win_show 2
    win_repaint 1, 0
    pause_pic 5
    sys_display 0
    wait 30, 0
    btn_wait 20, -1, 0, [1, 8]
    win_select 1, done, 0, 0xFFFF, 0xFFFF, -1, 0, ["はい", done, 1], ["いいえ", done, 1]
done:
    win_close 2
    wait 10, 1
    end
