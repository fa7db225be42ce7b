; a small scenario
.settings
    strings 1000
    title "テストゲーム"
    cmdnames "FILE", 0, 1
    errmsgs "A,B", -3
.code
start:
    eval v3[5] = 1
    jump_if v3[5] > 10, done
    str_let 1, "こんにちは"
    str_let 2, "こんにちは"
    str_cat 1, s[v3[5] + 1]
    win_open 1, 0, px: 10, py: 20, width: 300, 23: 5
    win_select 1, done, 0, 0xFFFF, 0xFFFF, -1, 0, ["はい", start, 1], [5: "いいえ", done, v0[1] != 0]
    jump_table v1[0], 1, start, done
    btn_wait -1, -1, 0, [1, 2], [3: 4, 5]
    plugin_call 3, 2, 5, "x", [1: 7], [9:], s[2]
    eval l[0] += -5 * (r[1] - -3) && !v31[l[2]]
    eval ++v3[1]
    eval sin(30) + atan(1, 1) + {0x03 0x05 0x00 0x00 0x00} + {0x3B}(v3[1])
    eval start
done:
    end
