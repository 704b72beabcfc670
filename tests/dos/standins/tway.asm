; TWAY.EXE stand-in: records that it ran, and with which tail.
%include "mzexe.inc"
        call    log_open
        mov     si, record
        call    log_text
        call    log_tail
        mov     al, 0
        jmp     log_finish

record  db 'TWAY|', 0
%include "dosio.inc"
image_size equ $ - image_start
