; The bundled game. This version of the engine runs scenarios without a
; window, pictures, text rendering or sound, so the game talks through
; message boxes (printed on standard error when headless) and keeps a run
; counter in its settings file.

.settings
    title "Quillon"
    end

.code
    sys_message "Quillon: this build runs the scenario machine only (no window, pictures, text or sound yet). The bundled game counts, keeps a settings file and reports here."

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
    end
