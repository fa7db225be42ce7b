.strings separate
.settings
    buffers 300
    cmdnames "A,B", 1, 0
    cursor "C.AMP"
    view 320, 240
    record "G", auto
    record 0x51, 99, 1, "x"
    end
    .bytes 0x12
.code
a:  jump_table v1[0] + 1, 0, a, b
    btn_wait -1, 3, 0, [1, 2], [9: 3, 4], [end: 2, 7]
    plugin_call 1, 2, -5, "p", [1: 7, 9], [9:], [0: r[2]], #3, s[l[1]]
    win_set 1, tx_px: 3, 0x40: {0x03 1 0 0 0}, 0: {0x80}(2)
    eval {0x61}(1, 2) || atan(v31[1], 3) ^ ++l[0] - -(7) % rnd(9)
b:  str_cmp "テスト", "\x81\xFF\"\\"
.strtab
    "abc"
    .bytes 0x41 0x42
