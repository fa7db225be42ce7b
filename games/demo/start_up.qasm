; 星見の丘 / Starwatch Hill: the demo game. A title screen with four buttons
; and a twinkling star, a short walk told in Japanese and English, a choice
; between two ways up the hill, an ending that returns to the title, a volume
; screen and a saved place to continue from.
;
; Windows: 1 the full-screen picture (backgrounds, buttons, captions),
; 3 the message window, 4 the choice list, 5 the title's star.
; Data buffers: 20 the title's buttons (21-24 their pictures), 31 the star's
; frames, 32 the caption font, 33 the star's frame script, 40 the volume
; screen's buttons (41-44 their pictures), 50 the choice list's rows, 60 and
; 61 the pictures of a transition, 70 the save, 80 the plug-in.
; Variables (space 3): 1 a save exists, 2 the endings found (bits), 3 the
; button clicked, 4 this ending's bit, 10-19 scratch.

.settings
    title "星見の丘 Starwatch Hill"
    end

.code
    ; Fonts: 1 story text, 2 buttons and choices, 3 the title, 4 headings.
    font_make 1, "IPAMincho", -20, 400, 0, 0
    font_make 2, "IPAPGothic", -16, 400, 0, 0
    font_make 3, "IPAMincho", -52, 700, 0, 0
    font_make 4, "IPAPGothic", -22, 700, 0, 0
    ; Colours (number, blue, red, green): gold, pale, shadow, panel, the
    ; choice highlight, the message window.
    col_set 40, 120, 250, 214
    col_set 41, 214, 236, 232
    col_set 42, 28, 14, 12
    col_set 43, 64, 28, 32
    col_set 44, 40, 90, 70
    col_set 46, 40, 16, 14

    win_open 1, 1, px: 0, py: 0, width: 640, height: 480, fwidth: 0
    pic_fill 1, 0, 0, 639, 479, 42, 0, -1
    win_open 3, 0, px: 16, py: 340, width: 608, height: 128, type: 0x032E, fwidth: 0, transp: 225, tx_px: 22, tx_py: 12, tx_vt: 27, tx_font: 1, tx_ccol: 41, tx_bcol: -1
    win_open 4, 0, px: 88, py: 150, width: 464, height: 88, type: 0x032B, fwidth: 0, transp: 240, bt_buff: 50, tx_px: 8, tx_py: 9, tx_font: 2, tx_ccol: 41, tx_bcol: -1
    win_list_layout 4, 36, 440, 16, 24, 0, 2, 0
    buf_regions 50, 2
    btn_def 50, 0, 1, 8, 8, 448, 36, 1, 44
    btn_def 50, 1, 2, 8, 44, 448, 36, 1, 44

    ; The caption font: codes 0x20 to 0x5F, 18 x 24 cells, own colours.
    buf_read "capfont.tga", 0, 32, 0, -1
    font_pic 1, 32, 18, 24, 16, 18, 0x20, 0x5F, 0
    buf_read "twinkle.tga", 0, 31, 0, -1
    buf_read "twinkle.anm", 0, 33, 0, -1

    ; The title's buttons: a picture of three plates (resting, under the
    ; pointer, pressed) for each, labelled here in the outline font.
    buf_regions 20, 4
    buf_read "tbtn0.g24", 0, 21, 0, -1
    buf_read "tbtn1.g24", 0, 22, 0, -1
    buf_read "tbtn2.g24", 0, 23, 0, -1
    buf_read "tbtn3.g24", 0, 24, 0, -1
    str_let 11, "はじめから New Game"
    call_args 21, 22, 0, 0, label_plates
    str_let 11, "つづきから Continue"
    call_args 22, 26, 0, 0, label_plates
    str_let 11, "音量　Volume"
    call_args 23, 52, 0, 0, label_plates
    str_let 11, "おわる　Quit"
    call_args 24, 58, 0, 0, label_plates
    eval v3[10] = 0
define_title_buttons:
    btn_def 20, v3[10], v3[10] + 1, 220, 272 + 50 * v3[10], 200, 40, 6, 21 + v3[10]
    eval ++v3[10]
    jump_if v3[10] < 4, define_title_buttons

    ; The volume screen's buttons: minus and plus for three lines, then
    ; the fade test and the way back.
    buf_regions 40, 8
    buf_read "sbtn.g24", 0, 41, 0, -1
    buf_copy 41, 42
    buf_read "wbtn.g24", 0, 43, 0, -1
    buf_copy 43, 44
    str_let 11, "－"
    call_args 41, 12, -3, 0, label_plates
    str_let 11, "＋"
    call_args 42, 12, -3, 0, label_plates
    str_let 11, "フェード　Fade"
    call_args 43, 22, -2, 0, label_plates
    str_let 11, "もどる　Back"
    call_args 44, 32, -2, 0, label_plates
    eval v3[10] = 0
define_volume_buttons:
    btn_def 40, v3[10] * 2, v3[10] * 2 + 1, 400, 144 + 55 * v3[10], 40, 32, 6, 41
    btn_def 40, v3[10] * 2 + 1, v3[10] * 2 + 2, 450, 144 + 55 * v3[10], 40, 32, 6, 42
    eval ++v3[10]
    jump_if v3[10] < 3, define_volume_buttons
    btn_def 40, 6, 7, 150, 340, 150, 36, 6, 43
    btn_def 40, 7, 8, 340, 340, 150, 36, 6, 44

; ---------------------------------------------------------------- title
title:
    win_hide 3
    win_set 1, bt_buff: 0, bt_num: 0
    call music_title
    str_let 10, "title.g24"
    call transition_dissolve
    text_put "星見の丘", 1, 216, 104, 60, 3, 40, -1, 42, 3, 3, 0, -1
    text_put "Starwatch Hill", 1, 250, 178, 28, 4, 41, -1, 42, 2, 2, 0, -1
    call save_exists
    eval v3[1] = r[1]
    eval v3[10] = 0
    ; Without a save, Continue is a faint plate that takes no clicks.
    btn_enable 20, 1, !v3[1]
draw_title_buttons:
    win_draw_cell 21 + v3[10], 0, 1, 220, 272 + 50 * v3[10], 255 - (v3[10] == 1) * !v3[1] * 165, 0, 0
    eval ++v3[10]
    jump_if v3[10] < 4, draw_title_buttons
    win_set 1, bt_buff: 20, bt_bpos: 0, bt_num: 4
    call title_animation_start
title_wait:
    btn_wait -1, -1, 0
    eval v3[3] = r[2]
    jump_if r[1] != 1 || r[3] != 1 || v3[3] < 1 || v3[3] > 4, title_wait
    wave_play "chime.wav", 0, 0, 0, -1
    call title_animation_stop
    win_set 1, bt_buff: 0, bt_num: 0
    jump_table v3[3] - 1, 0, new_game, continue_game, volume_screen, quit
    jump title_wait

new_game:
    call music_scene
    jump scene_path

continue_game:
    ; One place to continue from, the walk's choice (save_exists read it).
    call music_scene
    call show_path
    jump path_choice

quit:
    call music_stop
    end

; ---------------------------------------------------------------- the story
scene_path:
    call show_path
    win_message 3, 1, "夕暮れの坂道を、ひとりで登っていく。@N丘の上の古い天文台まで、あと少し。@NAlone, you climb the path as the sun goes down.@NThe old observatory on the hill is not far now.", -1, -1, 0, 0, 0, 0
    win_message 3, 1, "ふと、道の脇の森に小さな灯りがともった。@N誰かを呼んでいるように、ゆらゆらとゆれている。@NA small light glows in the woods beside the path,@Nswaying as if it were calling someone.", -1, -1, 0, 0, 0, 0
    win_message 3, 1, "風が草をなで、遠くで鳥が一声鳴いた。@N空には、もう一番星が光っている。@NThe wind brushes the grass; far off, a bird calls once.@NThe first star is already shining in the sky.", -1, -1, 0, 0, 0, 0
    call save_game
    win_message 3, 1, "（ここまでの道のりを記録しました）@N(Your place on the path has been saved.)", -1, -1, 0, 0, 0, 0
path_choice:
    win_message 3, 0, "どうしよう？@NWhat will you do?", -1, -1, 0, 0, 0, 0
    win_select 4, -1, 0, -1, -1, -1, 0, ["灯りを追って森へ入る　Follow the light into the woods", branch_woods, 1], ["このまま丘の上へ　Keep climbing to the hilltop", branch_hilltop, 1]

show_path:
    win_hide 3
    str_let 10, "path.g24"
    call transition_dissolve
    text_put "@X1CHAPTER 1 - THE HILL PATH", 1, 24, 20, 24, 2, 41, -1, 0, 0, 0, 0, -1
    return 0

branch_woods:
    win_hide 3
    str_let 10, "forest.g24"
    call transition_pattern
    text_put "@X1CHAPTER 2 - THE LANTERN WOODS", 1, 24, 20, 24, 2, 41, -1, 0, 0, 0, 0, -1
    win_message 3, 1, "森の中には、いくつもの灯りが浮かんでいた。@N近づくと、灯りはそっと足もとを照らしてくれた。@NInside the woods, many small lights float.@NAs you come near, they light the ground at your feet.", -1, -1, 0, 0, 0, 0
    win_message 3, 1, "灯りのひとつが、くるりと輪をえがいて先へ進む。@Nついておいで、と言っているようだ。@NOne of the lights turns a little circle and moves ahead.@NIt seems to be saying, \"Follow me.\"", -1, -1, 0, 0, 0, 0
    win_message 3, 1, "灯りに導かれて、森を抜けると丘の頂だった。@NThe lights lead you through the trees,@Nand out onto the top of the hill.", -1, -1, 0, 0, 0, 0
    eval v3[4] = 1
    jump ending

branch_hilltop:
    win_hide 3
    str_let 10, "hilltop.g24"
    call transition_mosaic
    text_put "@X1CHAPTER 2 - THE STARRY TOP", 1, 24, 20, 24, 2, 41, -1, 0, 0, 0, 0, -1
    win_message 3, 1, "丘の上では、空いっぱいに星が広がっていた。@N天文台の望遠鏡が、夜空を向いて待っている。@NOn the hilltop, stars fill the whole sky.@NThe observatory's telescope waits, pointed at the night.", -1, -1, 0, 0, 0, 0
    win_message 3, 1, "古い天文台の扉が、少しだけ開いていた。@N中から、あたたかな灯りがもれている。@NThe door of the old observatory stands a little open,@Nand a warm light spills out from inside.", -1, -1, 0, 0, 0, 0
    win_message 3, 1, "レンズをのぞくと、遠い星がひとつ、またたいた。@NYou look through the lens,@Nand a distant star winks back at you.", -1, -1, 0, 0, 0, 0
    eval v3[4] = 2
    jump ending

ending:
    win_hide 3
    str_let 10, "ending.g24"
    call transition_dissolve
    text_put "@X1THE END", 1, 24, 20, 24, 2, 41, -1, 0, 0, 0, 0, -1
    eval v3[2] |= v3[4]
    call save_game
    win_message 3, 1, "丘をおりる道は、来たときよりも明るく見えた。@NThe path down the hill looks brighter than before.", -1, -1, 0, 0, 0, 0
    call plugin_greeting
    win_message 3, 1, "夜が明けて、新しい一日がはじまる。　おしまい@NNight gives way to morning, and a new day begins.@N@%\"%s\",S12@", -1, -1, 0, 0, 0, 0
    call music_stop
    jump title

; ---------------------------------------------------------------- volume
volume_screen:
    str_let 10, "volume.g24"
    call transition_dissolve
    text_put "音量の設定　Volume", 1, 150, 86, 28, 4, 40, -1, 42, 2, 2, 0, -1
    text_put "音楽　CD music", 1, 150, 150, 24, 2, 41, -1, 42, 1, 1, 0, -1
    text_put "曲　MIDI tune", 1, 150, 205, 24, 2, 41, -1, 42, 1, 1, 0, -1
    text_put "効果音　Sound effects", 1, 150, 260, 24, 2, 41, -1, 42, 1, 1, 0, -1
    eval v3[10] = 0
draw_volume_buttons:
    win_draw_cell 41, 0, 1, 400, 144 + 55 * v3[10], 255, 0, 0
    win_draw_cell 42, 0, 1, 450, 144 + 55 * v3[10], 255, 0, 0
    eval ++v3[10]
    jump_if v3[10] < 3, draw_volume_buttons
    win_draw_cell 43, 0, 1, 150, 340, 255, 0, 0
    win_draw_cell 44, 0, 1, 340, 340, 255, 0, 0
    call draw_volumes
    win_set 1, bt_buff: 40, bt_bpos: 0, bt_num: 8
volume_wait:
    btn_wait -1, -1, 0
    eval v3[3] = r[2]
    jump_if r[1] != 1 || r[3] != 1 || v3[3] < 1, volume_wait
    jump_if v3[3] == 7, volume_fade_test
    jump_if v3[3] == 8, volume_back
    ; Ids 1 to 6: minus and plus of CD (line 3), MIDI (line 2), waves (line 1).
    call_args 3 - (v3[3] - 1) / 2, (v3[3] % 2) * -200 + 100, 0, 0, volume_step
    jump volume_wait

volume_fade_test:
    ; The CD line fades out and back in, as a scene change would.
    vol_get 3
    eval v3[17] = r[2]
    vol_fade 3, 0, 0, 800
    wait 130, 0  ; half a second of silence
    call draw_volumes
    vol_fade 3, v3[17], v3[17], 800
    wait 90, 0
    call draw_volumes
    jump volume_wait

volume_back:
    win_set 1, bt_buff: 0, bt_num: 0
    wave_play "chime.wav", 0, 0, 0, -1
    jump title

; volume_step(line, change): the line's volume moves by change, within 0 to 1000.
volume_step:
    eval v3[13] = r[1]
    eval v3[14] = r[2]
    vol_get v3[13]
    eval v3[15] = (r[2] + 50) / 100 * 100 + v3[14]
    eval v3[15] = v3[15] * (v3[15] > 0)
    eval v3[15] = v3[15] + (v3[15] > 1000) * (1000 - v3[15])
    vol_set v3[13], v3[15], v3[15]
    wave_play "chime.wav", 0, 0, 0, -1
    call draw_volumes
    return 0

; The three lines' volumes in percent, right of their names.
draw_volumes:
    eval v3[10] = 0
draw_volume_line:
    vol_get 3 - v3[10]
    eval v3[16] = (r[2] + 5) / 10
    pic_fill 1, 320, 146 + 55 * v3[10], 390, 172 + 55 * v3[10], 43, 0, -1
    text_put "@%\"%3d\",L16@%", 1, 330, 150 + 55 * v3[10], 24, 2, 40, -1, 42, 1, 1, 0, -1
    eval ++v3[10]
    jump_if v3[10] < 3, draw_volume_line
    return 0

; label_plates(buf_no, x, dy): string register 11 written on each of the
; three plates of a button picture; the pressed one two pixels lower.
label_plates:
    eval v3[11] = r[1]
    eval v3[12] = r[2]
    eval v3[13] = r[3]
    buf_info v3[11]
    eval v3[14] = r[4] / 3
    eval v3[16] = r[3]
    eval v3[15] = (v3[14] - 16) / 2 + v3[13]
    text_put s[11], v3[11], v3[12], v3[15], 20, 2, 41, -1, 42, 1, 1, 1, -1
    text_put s[11], v3[11], v3[12], v3[15] + v3[14], 20, 2, 40, -1, 42, 1, 1, 1, -1
    text_put s[11], v3[11], v3[12] + 1, v3[15] + 2 * v3[14] + 2, 20, 2, 40, -1, 42, 1, 1, 1, -1
    buf_cells v3[11], v3[16], v3[14], 1
    return 0

; ---------------------------------------------------------------- music
music_title:
    mci_send "stop tune"
    mci_send "close tune"
    mci_send "set cdaudio time format tmsf"
    mci_send "play cdaudio from 2 repeat"
    return 0

music_scene:
    mci_send "stop cdaudio"
    mci_send "open tune.mid type sequencer alias tune"
    mci_send "play tune from 0 repeat"
    return 0

music_stop:
    mci_send "stop cdaudio"
    mci_send "stop tune"
    mci_send "close tune"
    return 0

; ---------------------------------------------------------------- transitions
; String register 10 names the picture to show in window 1; buffer 60 holds
; it while it is drawn, 61 the second picture a transition needs.

; The new picture dissolves in from the top-right corner, 15 diagonals a
; pass and a noisy edge of 32 behind them, 10 ms a pass (75 passes).
transition_dissolve:
    buf_read s[10], 0, 60, 0, -1
    fx_dissolve 60, 1, 0, 0, 32, 1, 1
    buf_release 60
    return 0

; The new picture opens through the wipe pattern's frames 1 to 16, 30 ms
; apart: from the centre of every 16 x 16 tile outwards, dithered.
transition_pattern:
    buf_read s[10], 0, 60, 0, -1
    buf_read "wipe.g24", 0, 61, 0, -1
    eval v3[18] = 0
transition_pattern_frame:
    eval ++v3[18]
    fx_pattern 61, 60, 1, 0, 0, v3[18], 0
    wait 3, 0
    jump_if v3[18] < 16, transition_pattern_frame
    jump transition_end

; The old picture breaks into blocks of 2 to 32 pixels, and the new one
; comes back out of blocks of 32 down to 1 (a plain copy), 40 ms a frame.
transition_mosaic:
    buf_grab 61, 1, 0, 0, 640, 480
    buf_read s[10], 0, 60, 0, -1
    eval v3[18] = 2
transition_mosaic_out:
    fx_mosaic 61, 1, 0, 0, v3[18], v3[18]
    wait 4, 0
    eval v3[18] *= 2
    jump_if v3[18] <= 32, transition_mosaic_out
transition_mosaic_in:
    eval v3[18] /= 2
    fx_mosaic 60, 1, 0, 0, v3[18], v3[18]
    wait 4, 0
    jump_if v3[18] > 1, transition_mosaic_in
transition_end:
    buf_release 60
    buf_release 61
    return 0

; ---------------------------------------------------------------- the star
; The frames of twinkle.tga in the order and times of twinkle.anm (six
; frames of 70 ms, then a rest). Colour and alpha are both copied (flags
; 10), so the sprite window shows each frame exactly, never one over the last.
title_animation_start:
    win_open 5, 1, px: 126, py: 36, width: 48, height: 48, fwidth: 0
    pic_fill 5, 0, 0, 47, 47, 0, 0, -1
    alpha_key 5, 0, 1
    anim_def 1, 5, 0, 0, 31, 33, 10
    anim_start 1
    return 0

title_animation_stop:
    anim_stop 1
    win_close 5
    return 0

; ---------------------------------------------------------------- the save
; starwatch.sav, 12 bytes: "STARWATCH" and its NUL, the place to continue
; from (1: the path's choice) and the endings found (bit 0 the lantern
; woods, bit 1 the starry top). The engine puts what a game writes into the
; save folder; buffer 70 holds it while it is read or written, and space 0
; (bytes) is mapped onto it.

; R1 = 1 when a save exists that reads back whole; v3[2] = its endings.
save_exists:
    eval v3[2] = 0
    file_exists "starwatch.sav"
    jump_if r[1] == 0, save_none
    buf_read "starwatch.sav", 0, 70, 0, -1
    buf_info 70
    jump_if r[1] != 3 || r[2] != 12, save_none  ; raw bytes, 12 of them
    var_bind 4, 70, 0  ; the first string into string register 0
    str_cmp s[0], "STARWATCH"
    jump_if r[1] != 0, save_none
    var_bind 0, 70, 0
    eval v3[2] = v0[11] & 3
    eval v3[19] = v0[10] == 1
    var_bind 0, -1, 0
    buf_release 70
    return v3[19]
save_none:
    buf_release 70
    return 0

save_game:
    buf_alloc 70, 12
    str_to_buf "STARWATCH", 70, 0
    var_bind 0, 70, 0
    eval v0[10] = 1
    eval v0[11] = v3[2]
    var_bind 0, -1, 0
    file_write "starwatch.sav", 70, 12, -1, 0
    buf_release 70
    return 0

; ---------------------------------------------------------------- plug-in
; The ending's last line, in string register 12: written by the example
; plug-in's format export (2) into string register 0 when the plug-in is
; beside the game, else the game's own line.
plugin_greeting:
    str_let 12, "Thank you for playing! (no plug-in found)"
    file_exists "example_plugin.so"
    jump_if r[1] == 0, plugin_greeting_end
    plugin_load "example_plugin.so", 80, -1
    buf_info 80
    jump_if r[1] != 4, plugin_greeting_end  ; refused: a sandboxed run
    plugin_call 80, 2, "Thank you for playing! Endings found: %d of 2", (v3[2] & 1) + (v3[2] & 2) / 2
    str_let 12, s[0]
    buf_release 80
plugin_greeting_end:
    return 0
