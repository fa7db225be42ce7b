; Sound, media strings, volumes, timers, cursors, keys and the mouse.
.settings
    buffers 16
    cmdnames "QLN_CMDN.TXT", 0
    end
.code
    buf_read "sub.qln", 0, 2, 0, 0
    tick_set 1, 2, 20
    tick_on
    wave_play "tone.wav", 0, 0, 0, 0
    buf_read "tone.wav", 0, 3, 0, 0
    wave_play_buf 3, 1, 0, 0
    mci_send "open cdaudio"
    mci_send "status cdaudio number of tracks"
    mci_send "play cdaudio from 1"
    vol_get 0
    vol_set 0, 500, 250
    vol_fade 1, 0, 1000, 50
    vol_fade_end 1
    wave_stop
    buf_read "DEFAULT.AMP", 0, 4, 0, 0
    cursor_set 4
    btn_cursor 1, 4
    cursor_clip 0, 0, 100, 100
    mouse_set_pos 30, 40
    mouse_get
    key_state
    key_read
    key_clear
    clock_reset
    clock_get
    clock_wait 40, 0
    tick_off
    win_open 1, 1, px: 0, py: 0, width: 100, height: 60
    win_message 1, 0, "message@Ntext", 0xFFFF, 0xFFFF, 0, 0, 0, 0
    sys_message "a message box"
    win_notice "notice", 1
    wait 20, 1
    end
