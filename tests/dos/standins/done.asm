; Run by the test's driver after the script returns: records that it did, the
; cursor position and the text screen, row by row with trailing blanks cut,
; so the test can see what the user saw and that the script reached its end.
        bits 16
        org     100h
        call    log_open
        mov     si, record
        call    log_text
        push    ds
        mov     ax, 40h
        mov     ds, ax
        mov     al, [51h]               ; page 0 cursor row
        mov     ah, [50h]               ; page 0 cursor column
        pop     ds
        mov     [cursor_col], ah
        xor     ah, ah
        call    log_number
        mov     si, field_bar
        call    log_text
        xor     ax, ax
        mov     al, [cursor_col]
        call    log_number
        mov     si, line_end
        call    log_text
        xor     bp, bp                  ; row
.row:
        ; Copy the row's characters out of text memory.
        push    ds
        mov     ax, 0B800h
        mov     ds, ax
        mov     ax, bp
        mov     cx, 160
        mul     cx
        mov     si, ax
        pop     ds
        mov     di, row_text
        mov     cx, 80
.char:
        push    ds
        mov     ax, 0B800h
        mov     ds, ax
        mov     al, [si]
        pop     ds
        mov     [di], al
        inc     di
        add     si, 2
        loop    .char
        ; Cut trailing blanks.
        mov     cx, 80
.trim:
        jcxz    .write
        mov     bx, cx
        cmp     byte [row_text + bx - 1], ' '
        je      .blank
        cmp     byte [row_text + bx - 1], 0
        jne     .write
.blank:
        dec     cx
        jmp     .trim
.write:
        push    cx
        mov     si, row_record
        call    log_text
        pop     cx
        mov     dx, row_text
        call    log_write
        mov     si, line_end
        call    log_text
        inc     bp
        cmp     bp, 25
        jb      .row
        call    log_close
        mov     al, 0
        jmp     quit

record          db 'DONE|', 0
row_record      db 'ROW|', 0
cursor_col      db 0
row_text        times 80 db 0
%include "dosio.inc"
