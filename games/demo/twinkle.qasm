; The title's twinkling star, one frame per call: an interval callback held in
; data buffer 30 (start_up.qasm, title_animation_start). Frames 0 to 5 of the
; sprite sheet in buffer 31 play, then the smallest star rests until the
; count comes round again. Colour and alpha are both copied (flags 10), so
; the sprite window shows each frame exactly, never one over the last.
.code
    eval v3[20] = (v3[20] + 1) % 20
    win_draw_cell 31, (v3[20] < 6) * v3[20], 5, 0, 0, 255, 0, 10
    end
