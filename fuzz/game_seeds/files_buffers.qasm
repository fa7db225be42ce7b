; Files, archives, buffers, strings and variables, nested scenarios.
.settings
    buffers 24
    strings 32
    sysstrings 8
    byte_array 64
    word_array 64
    dword_array 64
    locals 16
    results 16
    errmsgs "QLN_ERRM.TXT", 0
    end
.code
    buf_read "sub.qln", 0, 1, 0, 0
    scn_call_buf 1, 4, 5, 0, 0
    scn_call_file "sub.qln", 0, 0
    buf_read "pics.gpc", 5, 2, 0, 0
    buf_read "packed.bin", 0, 3, 1, 0
    buf_read "more.qsc", 3, 4, 0, 0
    buf_info 3
    buf_alloc 5, 256
    str_to_buf "bytes into a buffer", 5, 4
    var_bind 0, 5, 0
    eval v0[1] = 77
    var_bound 0
    buf_eval 5, 0
    buf_copy 5, 6
    buf_move_bytes 5, 6, 2, 0, 10
    buf_release 6
    str_let 1, "こんにちは"
    str_cat 1, "、世界"
    str_len 1
    str_cmp s[1], "abc"
    str_find s[1], "世界"
    str_mid s[1], 2, 4
    str_splice 1, 2, 2, "XY"
    str_expand "n=@%\"%05d\",L0@ s=@S1", 2
    str_to_num "1234"
    str_clear 2
    ini_read "game", "runs"
    ini_write "game", "runs", "4"
    ini_file "other.ini"
    ini_read "x", "y"
    pic_save_bmp "saved.bmp", 0, 0
    sys_metrics
    sys_time
    eval_alt v3[1] = 3 * 4 + sin(30)
    call_args 1, 2, 3, 4, sum
    call_if 1, sum, 5, 6, 7, 8
    jump_table 1, 0, t0, t1
t0:
t1:
    eval l[1] = r[1]
    hook_set 1, 0, 1
    hook_set_alt 1, 0, 0
    scn_jump_file "sub.qln", 0, 0
    end
sum:
    eval r[1] = r[1] + r[2] + r[3] + r[4]
    return 0
