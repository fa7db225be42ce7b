.strtab_offset 3
    sys_message #2
    end
