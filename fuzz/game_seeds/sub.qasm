; A scenario called from files and buffers: it draws, sets registers and returns.
.code
    eval r[1] = r[1] + r[2] * 3
    str_let 3, "sub ran"
    pic_fill 0, 4, 4, 40, 40, 9, 0, -1
    scn_return r[1]
