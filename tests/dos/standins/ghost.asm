; Ghost.exe stand-in: records its command tail byte for byte with the length
; DOS gave it, so a test can see exactly what the imaging program would get.
%include "mzexe.inc"
        mov     dx, banner
        mov     cx, banner_size
        call    con_write
        call    log_open
        mov     si, record
        call    log_text
        xor     ax, ax
        mov     al, [80h]
        call    log_number
        mov     si, field_bar
        call    log_text
        call    log_tail
        mov     al, 0
        jmp     log_finish

record  db 'GHOST|', 0
banner  db 'Ghost.exe stand-in ran', 13, 10
banner_size equ $ - banner
%include "dosio.inc"
image_size equ $ - image_start
